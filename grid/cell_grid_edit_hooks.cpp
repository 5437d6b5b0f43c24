// The grid's keys, focus and clicks as far as editing needs them.
#include <QMouseEvent>

#include <utility>

#include "grid/cell_grid.h"
#include "grid/cell_inplace_edit.h"
#include "toolkit/application.h"
#include "toolkit/editors/inplace_edit.h"

namespace kelvora {
void TCellGrid::CharMessage(char32_t& Key) {
  const bool opens = Options().contains(goEditing) && (Key == 8 || Key >= 32);
  TEditSession::TOpeningChar opening(session_, opens ? Key : 0);
  TCustomGrid::CharMessage(Key);
}

// Escape reverts, in the edit box or in the grid, and goes no further. Enter
// in the edit box, or on a check box, which is worked without one, moves on
// to the next cell when the grid advances, and then goes on to the base,
// which toggles editor mode. What a grid that is
// not edited gets typed is a search.
void TCellGrid::KeyPress(char32_t& Key) {
  if (Key == 27) {
    if (Options().contains(goEditing)) CancelCellEdit();
    Key = 0;
    return;
  }
  if (Key == 13 && (EditBoxHasFocus() || CurrentCheckBox())) AdvanceCell(Col(), Row(), true, false, false);
  TCustomGrid::KeyPress(Key);
  if (Key != 0 && !Options().contains(goEditing) && navigation_.AutoGotoWhenSorted) IncrementalSearch(Key);
}

bool TCellGrid::EditBoxHasFocus() const {
  const TInplaceEdit* box = InplaceEditor();
  return box && box->Control() && box->Control()->hasFocus();
}

void TCellGrid::DoEnter() {
  TCustomGrid::DoEnter();
  session_.GridEntered(CurrentDataCell());
}

// The base leaves editor mode even when validation throws, so that no edit
// box stays open without the focus.
void TCellGrid::DoExit() {
  try {
    // A special editor losing the focus commits, as the edit box does.
    if (SpecialEditor()) CommitCellEdit();
    else session_.GridLeft(CurrentDataCell());
  } catch (...) {
    TCustomGrid::DoExit();
    throw;
  }
  TCustomGrid::DoExit();
}

void TCellGrid::Click() {
  TCustomGrid::Click();
  session_.Clicked(CurrentDataCell());
}

// A click on a link is the link's: it neither moves the current cell nor
// opens the editor. Any other left click asks whether the cell may be edited.
// Ctrl or Shift with a click on a sort header adds the column to the sort.
void TCellGrid::mousePressEvent(QMouseEvent* event) {
  HideHint();
  caretClick_.reset();
  heldPress_.reset();
  // The click that ends a pan, and the middle button, open no link.
  if (Panning()) return TCustomGrid::mousePressEvent(event);
  bool handled = false;
  RunGuarded([&] {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = event->position().toPoint();
    handled = ClickAnchor(at.x(), at.y()) || HoldPressForDragOut(event);
    int sortCol = -1;
    if (!handled && SortHeaderAt(at.x(), at.y(), sortCol)) {
      handled = true;
      if (!GridHasFocus()) setFocus(Qt::MouseFocusReason);
      SortHeaderClick(sortCol, event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier));
    }
    if (!handled) AskEditOnClick(at.x(), at.y());
  });
  if (handled) return;
  TCustomGrid::mousePressEvent(event);
  const QPoint at = event->position().toPoint();
  if (event->button() != Qt::LeftButton) return;
  RunGuarded([&] {
    if (ClickTogglesCheckBox(at.x(), at.y())) return;
    PressFixedCell(at.x(), at.y());
    const bool extends = (event->modifiers() & Qt::ShiftModifier) && Options().contains(goRangeSelect);
    EditOnFirstClick(at.x(), at.y(), extends);
    if (mouseActions_.CaretPositioning && !Sizing()) {
      const QPoint global = event->globalPosition().toPoint();
      caretClick_ = TPoint{global.x(), global.y()};
    }
  });
}

// A click on the current cell would open its edit box, so the handler is
// asked here; a click on another cell is asked when that cell is selected.
void TCellGrid::AskEditOnClick(int x, int y) {
  int col = -1;
  int row = -1;
  MouseToCell(x, y, col, row);
  if (col != Col() || row != Row() || CheckBoxAt(col, row)) return;
  SetEditingOption(AskCanEditCell(col, row));
}

// With DirectEdit the first click on a cell that may be edited opens its
// box. By now the click has made the cell current (a fixed cell never
// becomes current) and OnCanEditCell has answered into goEditing. The
// pixels beside a column's border are where the base grabs a border to
// size the column, so a click there only selects. While editor mode is on
// the box follows the click anyway.
void TCellGrid::EditOnFirstClick(int x, int y, bool extendsSelection) {
  if (!mouseActions_.DirectEdit || extendsSelection || EditorMode() || Sizing()) return;
  if (!Options().contains(goEditing) || Options().contains(goRowSelect)) return;
  int col = -1;
  int row = -1;
  MouseToCell(x, y, col, row);
  if (col != Col() || row != Row() || CheckBoxAt(col, row)) return;
  constexpr int kBorderReach = 3;
  const TRect cell = CellRect(col, row);
  if (x < cell.Left + kBorderReach || x >= cell.Right - kBorderReach) return;
  ShowEditor();
}

// With CaretPositioning the click that opened the box, or that the box
// followed, puts the caret where it was, instead of the box selecting all.
// The box opens on the press or follows on the release, so this waits for
// the release.
void TCellGrid::PlaceCaretAfterClick() {
  const std::optional<TPoint> at = std::exchange(caretClick_, std::nullopt);
  if (!at || !EditorShowing() || EditorCell() != TGridCoord{Col(), Row()}) return;
  if (TCellInplaceEdit* edit = CellEditor()) edit->PlaceCaretAt(*at);
}

}  // namespace kelvora
