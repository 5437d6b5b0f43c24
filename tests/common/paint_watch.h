#pragma once

// Watching a widget paint: the tests that check what a change repaints, and
// the benches that time a key until the window has painted again.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QObject>
#include <QPaintEvent>
#include <QRegion>
#include <QWidget>

#include <vector>

#include "common/patience.h"

namespace kelvora::testing {

// Counts a widget's paints and keeps what each covered.
class TPaintWatch : public QObject {
 public:
  explicit TPaintWatch(QWidget* widget) { widget->installEventFilter(this); }

  int Paints = 0;
  QRegion Painted;               // all that the paints covered together
  std::vector<QRegion> Regions;  // what each paint covered, in order

  // Forgets what was painted so far; the count goes on.
  void Forget() {
    Painted = QRegion();
    Regions.clear();
  }

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      const QRegion& region = static_cast<QPaintEvent*>(event)->region();
      ++Paints;
      Painted += region;
      Regions.push_back(region);
    }
    return false;
  }
};

// Runs the event loop until the widget has painted more than `before`
// times; false when it did not within the patience. It never sleeps, so
// that a bench's timing ends at the paint and not at the next poll.
inline bool WaitForPaint(const TPaintWatch& watch, int before) {
  const QDeadlineTimer deadline(kPatience);
  while (watch.Paints <= before) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
  return true;
}

}  // namespace kelvora::testing
