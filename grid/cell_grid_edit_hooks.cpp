// The grid's keys, focus and clicks as far as editing needs them.
#include <QMouseEvent>

#include "grid/cell_grid.h"
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
  // The click that ends a pan, and the middle button, open no link.
  if (Panning()) return TCustomGrid::mousePressEvent(event);
  bool handled = false;
  RunGuarded([&] {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = event->position().toPoint();
    handled = ClickAnchor(at.x(), at.y());
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
  if (event->button() == Qt::LeftButton)
    RunGuarded([&] {
      if (!ClickTogglesCheckBox(at.x(), at.y())) PressFixedCell(at.x(), at.y());
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

}  // namespace kelvora
