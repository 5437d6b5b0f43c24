#include "toolkit/grid_base/grid_panner.h"

#include <QApplication>
#include <QEvent>

#include <utility>

namespace kelvora {

TGridPanner::TGridPanner(QWidget* viewport, TScroll scroll)
    : viewport_(viewport), scroll_(std::move(scroll)), arrows_(viewport) {
  timer_.SetInterval(kInterval);
  timer_.OnTimer = [this] { Step(static_cast<int>(clock_.restart())); };
}

TGridPanner::~TGridPanner() {
  End();
}

void TGridPanner::Start(QPoint origin, TPanAxes axes) {
  motion_.Start({origin.x(), origin.y()}, axes);
  active_ = true;
  arrows_.Hide();
  arrows_.Show(origin, axes);
  viewport_->setCursor(axes.Vertical && axes.Horizontal ? Qt::SizeAllCursor
                       : axes.Vertical                  ? Qt::SizeVerCursor
                                                        : Qt::SizeHorCursor);
  if (viewport_->isVisible()) viewport_->grabMouse();
  qApp->installEventFilter(this);
  clock_.start();
  timer_.Start();
}

void TGridPanner::Released() {
  if (active_ && motion_.Moved()) End();
}

void TGridPanner::End() {
  if (!active_) return;
  active_ = false;
  timer_.Stop();
  qApp->removeEventFilter(this);
  if (QWidget::mouseGrabber() == viewport_) viewport_->releaseMouse();
  viewport_->unsetCursor();
  arrows_.Hide();
}

void TGridPanner::Step(int milliseconds) {
  if (!active_) return;
  const TPoint lines = motion_.Advance(milliseconds);
  if (lines.X != 0 || lines.Y != 0) scroll_(lines.X, lines.Y);
}

// Any key ends the pan and goes no further, so that Escape ends the pan
// without also reverting an edit that is open. The window losing the
// keyboard ends it too, so that no pan is left holding the mouse.
bool TGridPanner::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride:  // taken, so that no menu shortcut runs either
      event->accept();
      return true;
    case QEvent::KeyPress:
      End();
      return true;
    case QEvent::KeyRelease: return true;
    case QEvent::WindowDeactivate:
    case QEvent::ApplicationDeactivate:
      if (watched == viewport_->window() || event->type() == QEvent::ApplicationDeactivate) End();
      return false;
    default: return false;
  }
}

}  // namespace kelvora
