#include "toolkit/screen_cursor.h"

#include <QApplication>
#include <QCursor>

namespace kelvora {
namespace {

Qt::CursorShape ShapeOf(TCursor cursor) {
  switch (cursor) {
    case crIBeam: return Qt::IBeamCursor;
    case crHourGlass: return Qt::WaitCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crDefault:
    case crArrow: break;
  }
  return Qt::ArrowCursor;
}

}  // namespace

// Qt keeps override cursors on a stack. The program holds at most one entry
// on it and changes that entry in place, so no sequence of calls can leave
// a forgotten hourglass further down the stack.
void TScreen::SetCursor(TCursor cursor) {
  cursor_ = cursor;
  if (cursor == crDefault) {
    if (override_set_) QApplication::restoreOverrideCursor();
    override_set_ = false;
    return;
  }
  if (override_set_) {
    QApplication::changeOverrideCursor(QCursor(ShapeOf(cursor)));
  } else {
    QApplication::setOverrideCursor(QCursor(ShapeOf(cursor)));
    override_set_ = true;
  }
}

TScreen& Screen() {
  static TScreen screen;
  return screen;
}

TCursorGuard::TCursorGuard(TCursor cursor) : previous_(Screen().Cursor()) {
  Screen().SetCursor(cursor);
}

TCursorGuard::~TCursorGuard() { Screen().SetCursor(previous_); }

}  // namespace kelvora
