// Editing in place, seen from the grid: when a cell may become current and
// be edited, what the edit box starts with, and how an edit is committed,
// validated and reverted. The edit box's side is TCellInplaceEdit.
#include "grid/cell_edit_validation.h"
#include "grid/cell_grid.h"
#include "grid/cell_inplace_edit.h"
#include "grid/edit_box_rules.h"

namespace kelvora {

// --- The edit box --------------------------------------------------------------

TInplaceEdit* TCellGrid::CreateEditor() { return new TCellInplaceEdit(this); }

TCellInplaceEdit* TCellGrid::CellEditor() const { return dynamic_cast<TCellInplaceEdit*>(InplaceEditor()); }

// Runs each time the base is about to show the edit box or move it to
// another cell.
bool TCellGrid::CanEditShow() {
  if (edit_.Validating || !TCustomGrid::CanEditShow()) return false;
  if (CheckBoxTakesSpace()) {
    HideEditor();
    return false;
  }
  // Showing the box again over an edit still open must not take the user's
  // typing for the text to go back to.
  if (!EditInProgressAt(DisplayToDataColumn(Col()), Row())) TakeRevertText(Col(), Row());
  if (!ChooseEditorKind()) {
    // A special editor would open here; there are none, so nothing opens.
    edit_.EditPending = true;
    return false;
  }
  FollowEditCell();
  edit_.EditPending = true;
  edit_.ValidationArmed = true;
  return true;
}

bool TCellGrid::ChooseEditorKind() {
  edit_.EditorKind = ekText;
  if (OnGetEditorType) OnGetEditorType(this, DisplayToDataColumn(Col()), Row(), edit_.EditorKind);
  return IsTextBoxKind(edit_.EditorKind);
}

std::string TCellGrid::GetEditText(int ACol, int ARow) {
  const int dataCol = DisplayToDataColumn(ACol);
  if (TCellInplaceEdit* edit = CellEditor())
    edit->Prepare(CellAlignment(dataCol, ARow) == taRightJustify, WordWrap(), edit_.EditorKind);
  return Cells(dataCol, ARow);
}

// A keystroke writes one cell. It is marked for repainting at once, not
// gathered like a program's writes, so that it paints in the same pass as
// the edit box.
void TCellGrid::SetEditText(int ACol, int ARow, const std::string& Value) {
  const int dataCol = DisplayToDataColumn(ACol);
  CheckAddress(dataCol, ARow);
  store_.SetText(dataCol, ARow, Value);
  InvalidateCell(ACol, ARow);
}

// The box got the focus back (from another window or a box of the program's
// own): what is typed from now on is validated again.
void TCellGrid::EditBoxFocused() {
  if (EditorShowing() && !edit_.Validating) edit_.ValidationArmed = true;
}

// --- Selecting a cell ------------------------------------------------------------

// What the move does to the editing state happens only once every handler
// has agreed and the edit left behind is validated, so a refused move or a
// handler that throws leaves everything as it was.
bool TCellGrid::SelectCell(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0 || !CellChangeAllowed(ACol, ARow)) return false;
  const bool canEdit = AskCanEditCell(ACol, ARow);
  if (IsFixedTarget(ACol, ARow) || !TCustomGrid::SelectCell(ACol, ARow)) return false;
  if (edit_.ValidationArmed) CommitCellEdit();
  TakeRevertText(ACol, ARow);
  SetEditingOption(canEdit);
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

// An edit whose validation failed, by its verdict or by a handler that
// threw, goes on waiting for validation while its box is still in use; once
// the focus has left, it is not tried again.
bool TCellGrid::CommitCellEdit() {
  if (!edit_.ValidationArmed) return true;
  edit_.ValidationArmed = false;
  edit_.Validating = true;
  bool valid = true;
  try {
    valid = ValidateSnapshotCell();
    RememberEditCell(Col(), Row());
  } catch (...) {
    edit_.Validating = false;
    if (EditBoxInUse()) edit_.ValidationArmed = true;
    throw;
  }
  edit_.Validating = false;
  if (!valid && EditBoxInUse()) edit_.ValidationArmed = true;
  return valid;
}

bool TCellGrid::EditBoxInUse() const { return EditorShowing() && GridHasFocus(); }

// The handler works on copies: it may write cells itself, which moves
// the store's texts about.
bool TCellGrid::ValidateSnapshotCell() {
  const TGridCoord cell = edit_.SnapshotCell;
  if (cell.X < 0 || cell.Y < 0 || cell.Y >= RowCount()) return true;
  if (CellText(cell.X, cell.Y) == edit_.SnapshotText) return true;
  TEditValidator validator;
  if (OnCellValidate)
    validator = [this, cell](std::string& Value, bool& Valid) { OnCellValidate(this, cell.X, cell.Y, Value, Valid); };
  const TEditVerdict verdict = ValidateEdit(edit_.SnapshotText, Cells(cell.X, cell.Y), validator);
  if (verdict.Store) StoreCell(cell.X, cell.Y, *verdict.Store);
  return verdict.Valid;
}

void TCellGrid::RememberEditCell(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) {
    edit_.SnapshotCell = {-1, -1};
    edit_.SnapshotText.clear();
    return;
  }
  const int dataCol = DisplayToDataColumn(ACol);
  edit_.SnapshotCell = {dataCol, ARow};
  edit_.SnapshotText = Cells(dataCol, ARow);
}

// The snapshot follows the current cell, except while the current cell's own
// edit waits for validation: it keeps the text that edit started from. An
// edit waiting elsewhere is validated first.
void TCellGrid::FollowEditCell() {
  if (EditInProgressAt(DisplayToDataColumn(Col()), Row())) return;
  if (edit_.ValidationArmed) CommitCellEdit();
  else RememberEditCell(Col(), Row());
}

bool TCellGrid::EditInProgressAt(int dataCol, int row) const {
  return edit_.ValidationArmed && edit_.SnapshotCell == TGridCoord{dataCol, row};
}

void TCellGrid::TakeRevertText(int ACol, int ARow) {
  const int dataCol = DisplayToDataColumn(ACol);
  edit_.RevertCell = {dataCol, ARow};
  edit_.RevertText = Cells(dataCol, ARow);
}

// The revert text is the current cell's own; when the program has moved the
// current cell without selecting it, there is nothing to go back to. The
// text put back is no edit of the user's and is not validated.
void TCellGrid::CancelCellEdit() {
  if (Col() >= ColCount() || Row() >= RowCount()) return;
  const int dataCol = DisplayToDataColumn(Col());
  if (edit_.RevertCell != TGridCoord{dataCol, Row()}) {
    TakeRevertText(Col(), Row());
    return;
  }
  StoreCell(dataCol, Row(), edit_.RevertText);
  RememberEditCell(Col(), Row());
  TCellInplaceEdit* edit = CellEditor();
  if (edit && EditorShowing()) edit->ReloadCellText(true);
}

// --- The program's writes ------------------------------------------------------------

void TCellGrid::KeepEditTexts(int ACol, int ARow, std::string_view text) {
  const TGridCoord cell{ACol, ARow};
  if (edit_.RevertCell == cell) edit_.RevertText = text;
  if (edit_.SnapshotCell == cell) edit_.SnapshotText = text;
}

void TCellGrid::NoteProgramErase(int FromCol, int FromRow, int ToCol, int ToRow) {
  const TGridRect block{FromCol, FromRow, ToCol, ToRow};
  if (block.Contains(edit_.RevertCell.X, edit_.RevertCell.Y)) edit_.RevertText.clear();
  if (block.Contains(edit_.SnapshotCell.X, edit_.SnapshotCell.Y)) edit_.SnapshotText.clear();
}

// The remembered cells move with their rows; a cell whose row is gone is
// forgotten.
void TCellGrid::EditRowDeleted(int ARow) {
  for (TGridCoord* cell : {&edit_.RevertCell, &edit_.SnapshotCell}) {
    if (cell->Y == ARow) *cell = {-1, -1};
    else if (cell->Y > ARow) --cell->Y;
  }
}

void TCellGrid::EditRowInserted(int ARow) {
  for (TGridCoord* cell : {&edit_.RevertCell, &edit_.SnapshotCell})
    if (cell->Y >= ARow) ++cell->Y;
}

void TCellGrid::EditRowMoved(int FromIndex, int ToIndex) {
  for (TGridCoord* cell : {&edit_.RevertCell, &edit_.SnapshotCell}) {
    if (cell->Y < 0) continue;
    if (cell->Y == FromIndex) cell->Y = ToIndex;
    else if (FromIndex < ToIndex && cell->Y > FromIndex && cell->Y <= ToIndex) --cell->Y;
    else if (FromIndex > ToIndex && cell->Y >= ToIndex && cell->Y < FromIndex) ++cell->Y;
  }
}

}  // namespace kelvora
