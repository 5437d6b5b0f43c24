#include "toolkit/window_timer.h"

#include <QTimerEvent>

#include <algorithm>

#include "toolkit/application.h"

namespace kelvora {

TWindowTimer::TWindowTimer(QObject* parent) : QObject(parent) {}

void TWindowTimer::SetInterval(int milliseconds) {
  interval_ = std::max(milliseconds, 1);
  if (timer_.isActive()) timer_.start(interval_, this);
}

void TWindowTimer::SetEnabled(bool enabled) {
  if (enabled == timer_.isActive()) return;
  if (enabled)
    timer_.start(interval_, this);
  else
    timer_.stop();
}

void TWindowTimer::timerEvent(QTimerEvent* event) {
  if (event->timerId() != timer_.timerId()) {
    QObject::timerEvent(event);
    return;
  }
  // The handler may delete this timer or replace OnTimer; it runs from a
  // copy so that it never destroys the function it is running in. It runs
  // guarded, so that its exception ends in the error box here.
  if (!OnTimer) return;
  const std::function<void()> handler = OnTimer;
  RunGuarded(handler);
}

}  // namespace kelvora
