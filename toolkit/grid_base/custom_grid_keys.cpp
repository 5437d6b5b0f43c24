// The keyboard: one key event becomes KeyDown, then the character hooks; the
// base's own movement keys live in KeyDown and KeyPress.
#include <QKeyEvent>

#include <algorithm>

#include "toolkit/application.h"
#include "toolkit/grid_base/custom_grid.h"
#include "toolkit/keys.h"

namespace kelvora {

// Key handlers run guarded: an exception from a grid's handler ends in the
// error box at this edge instead of unwinding through Qt.
void TCustomGrid::keyPressEvent(QKeyEvent* event) {
  event->accept();
  RunGuarded([&] {
    const TKeyStroke stroke = TranslateKey(*event);
    DispatchKey(stroke.Key, stroke.Shift, stroke.Char);
  });
}

void TCustomGrid::keyReleaseEvent(QKeyEvent* event) {
  event->accept();
  RunGuarded([&] {
    const TKeyStroke stroke = TranslateKey(*event);
    keyShift_ = stroke.Shift;
    int key = stroke.Key;
    if (key != 0) KeyUp(key, stroke.Shift);
  });
}

// The character is delivered even when KeyDown has cleared the key: the key
// and the character it types are separate messages, as handlers expect.
void TCustomGrid::DispatchKey(int key, TShiftState shift, char32_t ch) {
  keyShift_ = shift;
  if (key != 0) KeyDown(key, shift);
  if (ch == 0) return;
  CharMessage(ch);
  if (ch != 0) KeyPress(ch);
}

// Qt moves the focus on Tab before a widget sees the key; with goTabs the
// grid wants Tab for itself.
bool TCustomGrid::event(QEvent* event) {
  if (event->type() == QEvent::KeyPress && options_.contains(goTabs)) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
    if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
      keyPressEvent(key);
      return true;
    }
  }
  return QAbstractScrollArea::event(event);
}

void TCustomGrid::KeyDown(int& Key, TShiftState Shift) {
  if (ColCount() <= fixedCols_ || RowCount() <= fixedRows_) return;
  if (Key == VK_F2) {
    SetEditorMode(true);
    return;
  }
  TGridCoord current = current_;
  TGridCoord topLeft = topLeft_;
  if (!PlanMove(Key, Shift, current, topLeft)) return;
  ApplyMove(current, topLeft, !Shift.contains(ssShift));
}

void TCustomGrid::KeyUp(int&, TShiftState) {}

void TCustomGrid::CharMessage(char32_t& Key) {
  if (options_.contains(goEditing) && (Key == 8 || Key >= 32)) {
    ShowEditorChar(Key);
    Key = 0;
  }
}

void TCustomGrid::KeyPress(char32_t& Key) {
  if (Key == 13 && !options_.contains(goAlwaysShowEditor)) {
    if (editorMode_) HideEditor();
    else ShowEditor();
    Key = 0;
  }
}

// Tab never extends the selection, so it clears Shift once it has read it.
bool TCustomGrid::PlanMove(int key, TShiftState& shift, TGridCoord& current, TGridCoord& topLeft) {
  if (key == VK_TAB) {
    if (!options_.contains(goTabs) || shift.contains(ssAlt)) return false;
    PlanTab(shift.contains(ssShift), current);
    shift.erase(ssShift);
    return true;
  }
  return shift.contains(ssCtrl) ? PlanCtrlMove(key, current, topLeft) : PlanPlainMove(key, current, topLeft);
}

bool TCustomGrid::PlanCtrlMove(int key, TGridCoord& current, TGridCoord& topLeft) {
  const bool rowSelect = options_.contains(goRowSelect);
  const int pageWidth = std::max(VisibleColCount(), 1);
  switch (key) {
    case VK_UP: --topLeft.Y; return true;
    case VK_DOWN: ++topLeft.Y; return true;
    case VK_LEFT:
      if (!rowSelect) current.X -= pageWidth, topLeft.X -= pageWidth;
      return true;
    case VK_RIGHT:
      if (!rowSelect) current.X += pageWidth, topLeft.X += pageWidth;
      return true;
    case VK_PRIOR: current.Y = topLeft_.Y; return true;
    case VK_NEXT: current.Y = std::max(LastFullyVisibleRow(), topLeft_.Y); return true;
    case VK_HOME: current = {fixedCols_, fixedRows_}; return true;
    case VK_END: current = {ColCount() - 1, RowCount() - 1}; return true;
    default: return false;
  }
}

// With goRowSelect the whole row is current, so Left, Right, Home and End
// scroll the row instead of moving within it.
bool TCustomGrid::PlanPlainMove(int key, TGridCoord& current, TGridCoord& topLeft) {
  const bool rowSelect = options_.contains(goRowSelect);
  const int page = std::max(VisibleRowCount(), 1);
  switch (key) {
    case VK_UP: --current.Y; return true;
    case VK_DOWN: ++current.Y; return true;
    case VK_LEFT: (rowSelect ? topLeft.X : current.X) -= 1; return true;
    case VK_RIGHT: (rowSelect ? topLeft.X : current.X) += 1; return true;
    case VK_NEXT: current.Y += page, topLeft.Y += page; return true;
    case VK_PRIOR: current.Y -= page, topLeft.Y -= page; return true;
    case VK_HOME: (rowSelect ? topLeft.X : current.X) = fixedCols_; return true;
    case VK_END: (rowSelect ? topLeft.X : current.X) = ColCount() - 1; return true;
    default: return false;
  }
}

// Tab runs through the cells row by row and wraps from the last cell to the
// first; Shift+Tab runs backwards.
void TCustomGrid::PlanTab(bool backwards, TGridCoord& current) {
  if (backwards) {
    if (--current.X >= fixedCols_) return;
    current.X = ColCount() - 1;
    if (--current.Y < fixedRows_) current.Y = RowCount() - 1;
    return;
  }
  if (++current.X < ColCount()) return;
  current.X = fixedCols_;
  if (++current.Y >= RowCount()) current.Y = fixedRows_;
}

void TCustomGrid::ApplyMove(TGridCoord current, TGridCoord topLeft, bool moveAnchor) {
  // Page keys move the view first, so that the new current cell keeps its
  // place on the screen.
  if (topLeft != topLeft_) MoveTopLeft(topLeft.X, topLeft.Y);
  current.X = std::clamp(current.X, fixedCols_, ColCount() - 1);
  current.Y = std::clamp(current.Y, fixedRows_, RowCount() - 1);
  if (current != current_) FocusCell(current.X, current.Y, moveAnchor);
}

}  // namespace kelvora
