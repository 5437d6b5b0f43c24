#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>

#include <functional>

#include "toolkit/grid_base/pan_arrows.h"
#include "toolkit/grid_base/pan_motion.h"
#include "toolkit/window_timer.h"

namespace kelvora {

// A middle-button pan over a grid's viewport: the press marks the origin
// and shows the arrows, a timer scrolls by whole rows at the speed the
// mouse's distance asks for, and the pan ends on the release after a drag,
// on the next click after a click, on any key, and when the window loses
// the keyboard. While it runs the viewport holds the mouse, so the mouse
// may wander past the grid's edges.
class TGridPanner : public QObject {
 public:
  using TScroll = std::function<void(int cols, int rows)>;
  static constexpr int kInterval = 15;  // milliseconds between steps

  TGridPanner(QWidget* viewport, TScroll scroll);
  ~TGridPanner() override;

  bool Active() const { return active_; }
  void Start(QPoint origin, TPanAxes axes);
  void MoveTo(QPoint mouse) { motion_.MoveTo({mouse.x(), mouse.y()}); }
  // The middle button came up: a drag ends here, a click goes on panning.
  void Released();
  void End();
  // One step, `milliseconds` after the one before; the timer calls it.
  void Step(int milliseconds);
  const TPanArrows& Arrows() const { return arrows_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* viewport_;
  TScroll scroll_;
  TPanMotion motion_;
  TPanArrows arrows_;
  TWindowTimer timer_;
  QElapsedTimer clock_;
  bool active_ = false;
};

}  // namespace kelvora
