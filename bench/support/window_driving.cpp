#include "support/window_driving.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPaintEvent>

#include <cstdio>

namespace kelvora::bench {

bool TPaintWatch::eventFilter(QObject*, QEvent* event) {
  if (event->type() == QEvent::Paint) {
    ++Paints;
    Covered |= static_cast<QPaintEvent*>(event)->region().boundingRect();
  }
  return false;
}

bool WaitForPaint(const TPaintWatch& watch, int before) {
  QElapsedTimer waited;
  waited.start();
  while (watch.Paints == before) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (waited.elapsed() > kWindowPatienceMs) return false;
  }
  return true;
}

void ShowFocused(QWidget& widget, int width, int height) {
  widget.resize(width, height);
  widget.show();
  QApplication::setActiveWindow(&widget);
  widget.activateWindow();
  widget.setFocus();
  const auto focused = [&] {
    const QWidget* focus = QApplication::focusWidget();
    return focus && (focus == &widget || widget.isAncestorOf(focus));
  };
  QElapsedTimer waited;
  waited.start();
  while (!focused() && waited.elapsed() < kWindowPatienceMs) QCoreApplication::processEvents();
  if (!focused()) std::fprintf(stderr, "the widget did not get the focus\n");
}

void SendKey(QWidget* target, Qt::Key key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(target, &release);
}

}  // namespace kelvora::bench
