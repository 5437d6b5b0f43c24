#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QObject>

#include <climits>

#include "common/patience.h"

namespace kelvora::testing {

// Runs the event loop until it has nothing left to deliver: everything
// posted so far has arrived, and so has everything that posted in turn. A
// test that claims a change does not repaint can then look, knowing that a
// repaint the change asked for would have happened. False when the loop
// never came to rest within the patience.
//
// A round posts a marker behind every other event and runs the loop until
// the marker arrives; the loop is at rest after a round in which nothing
// else arrived.
inline bool DrainEvents() {
  class TMarker : public QObject {
   public:
    bool Arrived = false;
    bool event(QEvent* event) override {
      if (event->type() != QEvent::User) return QObject::event(event);
      Arrived = true;
      return true;
    }
  };
  class TDeliveryCount : public QObject {
   public:
    explicit TDeliveryCount(const QObject* marker) : marker_(marker) { QCoreApplication::instance()->installEventFilter(this); }
    int Delivered = 0;
    bool eventFilter(QObject* receiver, QEvent*) override {
      if (receiver != marker_) ++Delivered;
      return false;
    }

   private:
    const QObject* marker_;
  };

  TMarker marker;
  TDeliveryCount count(&marker);
  const QDeadlineTimer deadline(kPatience);
  for (;;) {
    marker.Arrived = false;
    count.Delivered = 0;
    QCoreApplication::postEvent(&marker, new QEvent(QEvent::User), INT_MIN);
    while (!marker.Arrived) {
      if (deadline.hasExpired()) return false;
      QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    if (count.Delivered == 0) return true;
  }
}

}  // namespace kelvora::testing
