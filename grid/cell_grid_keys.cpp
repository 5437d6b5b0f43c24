// The grid's own keys, after the base has moved the current cell: Space on
// a check box, the clipboard shortcuts, the zoom, Insert and Delete for rows, and Tab
// past the fixed right columns.
#include "grid/cell_grid.h"
#include "toolkit/keys.h"

namespace kelvora {

void TCellGrid::KeyDown(int& Key, TShiftState Shift) {
  HideHint();
  const TGridRect selectionBefore = Selection();
  const int colBefore = Col();
  TCustomGrid::KeyDown(Key, Shift);
  // The frame runs round the whole selection, so its old place and its new
  // one both need painting, not only the cells the base repaints.
  if (SelectionRectangle() && Selection() != selectionBefore) InvalidateGrid();
  if (Key == VK_SPACE && Options().contains(goEditing)) ToggleCheckBox();
  if (ClipboardShortcut(Key, Shift)) return;
  if (ZoomKey(Key, Shift)) return;
  const bool ctrl = Shift.contains(ssCtrl);
  const bool shift = Shift.contains(ssShift);
  const bool alt = Shift.contains(ssAlt);
  if (Key == VK_INSERT && navigation_.AllowInsertRow && !ctrl && !shift && !alt) InsertRowAtKey();
  if (Key == VK_DELETE && navigation_.AllowDeleteRow && !alt) DeleteCurrentRow();
  if (Key == VK_TAB && !shift && !alt && Options().contains(goTabs) && fixedRightCols_ > 0) WrapTab(colBefore);
}

// --- Check boxes ------------------------------------------------------------------

// A check box is a cell's only while it is drawn.
TCellCheckBox* TCellGrid::CheckBoxAt(int col, int row) const {
  if (!EnableGraphics() || col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return nullptr;
  return dynamic_cast<TCellCheckBox*>(CellGraphic(DisplayToDataColumn(col), row));
}

void TCellGrid::ToggleCheckBox() {
  TCellCheckBox* box = CurrentCheckBox();
  if (!box || !AskCanEditCell(Col(), Row())) return;
  const int dataCol = DisplayToDataColumn(Col());
  const int row = Row();
  box->SetChecked(!box->Checked());
  InvalidateStoredCell(dataCol, row);
  if (OnCheckBoxClick) OnCheckBoxClick(this, dataCol, row, box->Checked());
}

// A click inside the drawn box of the cell it made current.
bool TCellGrid::ClickTogglesCheckBox(int x, int y) {
  int col = -1;
  int row = -1;
  MouseToCell(x, y, col, row);
  const TCellCheckBox* box = col == Col() && row == Row() ? CurrentCheckBox() : nullptr;
  if (!box || !box->BoxRect(CellRect(col, row)).Contains({x, y})) return false;
  ToggleCheckBox();
  return true;
}

// --- Tab --------------------------------------------------------------------------

// The fixed right columns cannot be entered, so the base's Tab stops in the
// last normal column; from there it goes on to the next row, after the last
// normal row back to the first.
void TCellGrid::WrapTab(int colBefore) {
  if (colBefore != LastNormalCol() || NormalRowCount() == 0) return;
  int row = Row() + 1;
  if (!IsNormalRow(row)) row = FixedRows();
  FocusCell(FixedCols(), row, true);
}

}  // namespace kelvora
