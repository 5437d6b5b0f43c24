// Editing in place, seen from the grid: when a cell may become current and
// be edited, what the edit box starts with, and how an edit is committed,
// validated and reverted. The edit box's side is TCellInplaceEdit.
#include "grid/cell_grid.h"
#include "grid/cell_inplace_edit.h"
#include "grid/edit/edit_box_rules.h"
#include "grid/edit/edit_validation.h"

namespace kelvora {

// --- The edit box --------------------------------------------------------------

TInplaceEdit* TCellGrid::CreateEditor() { return new TCellInplaceEdit(this); }

TCellInplaceEdit* TCellGrid::CellEditor() const { return dynamic_cast<TCellInplaceEdit*>(InplaceEditor()); }

// Runs each time the base is about to show the edit box or move it to
// another cell.
bool TCellGrid::CanEditShow() {
  if (!session_.MayOpen() || !TCustomGrid::CanEditShow()) return false;
  // An open special editor is the cell's editor until it closes.
  if (SpecialEditorOpenHere()) {
    PlaceOwnEditor();
    return false;
  }
  // A check box is worked with Space and the mouse, never typed over.
  // Editor mode stays on, so that the cell after it opens its box.
  if (CurrentCheckBox()) {
    HideEditWindow();
    return false;
  }
  session_.Opening(CurrentDataCell());
  const bool box = ChooseEditorKind();
  session_.Opened(CurrentDataCell());
  if (box) {
    CloseSpecialEditor();
    return true;
  }
  HideEditWindow();
  ShowSpecialEditor();
  return false;
}

bool TCellGrid::ChooseEditorKind() {
  TEditorType kind = ekText;
  if (OnGetEditorType) OnGetEditorType(this, DisplayToDataColumn(Col()), Row(), kind);
  session_.SetKind(kind);
  return IsTextBoxKind(kind);
}

std::string TCellGrid::GetEditText(int ACol, int ARow) {
  const int dataCol = DisplayToDataColumn(ACol);
  if (TCellInplaceEdit* edit = CellEditor())
    edit->Prepare(CellAlignment(dataCol, ARow) == taRightJustify, WordWrap(), session_.Kind());
  return Cells(dataCol, ARow);
}

void TCellGrid::SetEditText(int ACol, int ARow, const std::string& Value) {
  const int dataCol = DisplayToDataColumn(ACol);
  CheckAddress(dataCol, ARow);
  session_.Typed({dataCol, ARow}, Value);
}

// The box got the focus back (from another window or a box of the program's
// own): what is typed from now on is validated again.
void TCellGrid::EditBoxFocused() {
  if (EditorShowing()) session_.EditorFocused();
}

// --- Selecting a cell ------------------------------------------------------------

// What the move does to the editing state happens only once every handler
// has agreed and the edit left behind is validated, so a refused move or a
// handler that throws leaves everything as it was.
bool TCellGrid::SelectCell(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0 || !CellChangeAllowed(ACol, ARow)) return false;
  // A check box asks whether it may be edited when it is toggled.
  const bool checkBox = CheckBoxAt(ACol, ARow) != nullptr;
  const bool canEdit = checkBox || AskCanEditCell(ACol, ARow);
  if (IsFixedTarget(ACol, ARow) || !TCustomGrid::SelectCell(ACol, ARow)) return false;
  session_.Moving(CurrentDataCell(), {DisplayToDataColumn(ACol), ARow});
  if (!checkBox) SetEditingOption(canEdit);
  return true;
}

// Every handler is asked, even after one has refused.
bool TCellGrid::CellChangeAllowed(int ACol, int ARow) {
  bool allow = true;
  const bool newRow = ARow != Row();
  const bool newCol = ACol != Col();
  if (newRow && OnRowChanging) OnRowChanging(this, Row(), ARow, allow);
  if (newCol && OnColChanging) OnColChanging(this, Col(), ACol, allow);
  if ((newRow || newCol) && OnCellChanging) OnCellChanging(this, Row(), Col(), ARow, ACol, allow);
  return allow;
}

bool TCellGrid::AskCanEditCell(int ACol, int ARow) {
  bool canEdit = Options().contains(goEditing);
  if (OnCanEditCell) OnCanEditCell(this, ARow, DisplayToDataColumn(ACol), canEdit);
  return canEdit;
}

// The answer stays in Options, so that it is where the next cell's question
// starts from.
void TCellGrid::SetEditingOption(bool on) {
  if (Options().contains(goEditing) == on) return;
  TGridOptions options = Options();
  if (on) options.insert(goEditing);
  else options.erase(goEditing);
  SetOptions(options);
}

bool TCellGrid::IsFixedTarget(int ACol, int ARow) {
  if (fixedFooters_ > 0 && ARow >= RowCount() - fixedFooters_) return true;
  if (fixedRightCols_ > 0 && ACol >= ColCount() - fixedRightCols_) return true;
  bool fixed = false;
  if (OnIsFixedCell) OnIsFixedCell(this, ARow, ACol, fixed);
  return fixed;
}

// --- Committing and reverting -----------------------------------------------------

bool TCellGrid::CommitCellEdit() { return session_.Commit(CurrentDataCell()); }

bool TCellGrid::EditBoxInUse() const { return (EditorShowing() || SpecialEditor()) && GridHasFocus(); }

void TCellGrid::CancelCellEdit() {
  if (Col() >= ColCount() || Row() >= RowCount()) return;
  if (!session_.Revert(CurrentDataCell())) return;
  TCellInplaceEdit* edit = CellEditor();
  if (edit && EditorShowing()) edit->ReloadCellText(true);
}

// --- What the session reads and writes
// ---------------------------------------------

bool TCellGrid::TSessionCells::HasCell(TGridCoord cell) const {
  return cell.Y < grid_.RowCount() && cell.X <= TCellStore::kMaxIndex;
}

std::string TCellGrid::TSessionCells::Text(TGridCoord cell) const { return grid_.Cells(cell.X, cell.Y); }

void TCellGrid::TSessionCells::Store(TGridCoord cell, const std::string& text) {
  grid_.StoreCell(cell.X, cell.Y, text);
}

// A keystroke writes one cell. It is marked for repainting at once, not
// gathered like a program's writes, so that it paints in the same pass as
// the edit box.
void TCellGrid::TSessionCells::Type(TGridCoord cell, const std::string& text) {
  grid_.store_.SetText(cell.X, cell.Y, text);
  grid_.InvalidateCell(grid_.DataToDisplayColumn(cell.X), cell.Y);
}

void TCellGrid::TSessionCells::Validate(TGridCoord cell, std::string& Value, bool& Valid) {
  if (grid_.OnCellValidate) grid_.OnCellValidate(&grid_, cell.X, cell.Y, Value, Valid);
}

bool TCellGrid::TSessionCells::EditorInUse() const { return grid_.EditBoxInUse(); }

}  // namespace kelvora
