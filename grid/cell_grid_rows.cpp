// Deleting and inserting rows: the Delete and Insert keys, and the
// RemoveRows and InsertRows that they and a program use.
#include <cstdint>
#include <string>

#include "grid/cell_grid.h"

namespace kelvora {
namespace {

std::string RowRangeText(int last) {
  return last < 0 ? std::string("the grid has no rows") : "rows count from 0 to " + std::to_string(last);
}

}  // namespace

// --- The Delete key -----------------------------------------------------------------

// A handler that moved rows itself may have moved the row it was asked
// about, so the grid then deletes nothing rather than some other row.
void TCellGrid::DeleteCurrentRow() {
  const int row = Row();
  if (NormalRowCount() == 0 || !IsNormalRow(row)) return;
  bool canDelete = true;
  const unsigned changes = rowChanges_;
  if (OnCanDeleteRow) OnCanDeleteRow(this, row, canDelete);
  if (!canDelete || rowChanges_ != changes || Row() != row || !IsNormalRow(row)) return;
  // The last normal row stays, so that the grid keeps a row to type in.
  if (NormalRowCount() == 1) EraseRowRange(row, 1);
  else RemoveRows(row, 1);
  if (OnAutoDeleteRow) OnAutoDeleteRow(this, row);
}

// --- The Insert key -----------------------------------------------------------------

// The new row becomes current either way, so that typing goes into it.
void TCellGrid::InsertRowAtKey() {
  const int row = Row();
  bool canInsert = true;
  const unsigned changes = rowChanges_;
  if (OnCanInsertRow) OnCanInsertRow(this, row, canInsert);
  if (!canInsert || rowChanges_ != changes || Row() != row) return;
  const bool after = navigation_.InsertPosition == pInsertAfter && RowCount() > 0;
  const int at = after ? row + 1 : row;
  InsertRows(at, 1);
  if (OnAutoInsertRow) OnAutoInsertRow(this, at);
  if (at != Row() && at < RowCount()) FocusCell(Col(), at, true);
}

// --- Removing rows -------------------------------------------------------------------

// Qt gathers every repaint asked for until the event loop runs, so the
// deletions paint once however many rows go, and only from the first
// removed row down: the rows above it are as they were. Hidden columns need
// no showing: a row leaves the store whole, hidden cells and all.
void TCellGrid::RemoveRows(int ARow, int ACount) {
  if (ARow < 0 || ARow >= RowCount())
    throw ECellGridError("Cannot remove rows from row " + std::to_string(ARow) + ": " + RowRangeText(RowCount() - 1));
  if (ACount <= 0) return;
  const int current = Row();
  const int top = TopRow();
  TEditSession::THoldFocusLoss hold(session_);
  DeleteRowRange(ARow, ACount);
  RestoreCurrentAfterRemoval(current, top);
  InvalidateRowsFrom(ARow);
}

// The current row keeps its index while that is still a normal row, so the
// row below a deleted one takes its place; past the end the last normal
// row is current. With no normal row left there is nothing to edit.
void TCellGrid::RestoreCurrentAfterRemoval(int current, int top) {
  if (NormalRowCount() == 0) {
    HideEditor();
    return;
  }
  const int lastNormal = RowCount() - fixedFooters_ - 1;
  const bool stays = current <= lastNormal;
  const int row = stays ? std::max(current, FixedRows()) : lastNormal;
  if (row != Row()) FocusCell(Col(), row, true);
  if (stays) SetTopRow(top);
}

// --- Inserting rows ------------------------------------------------------------------

void TCellGrid::InsertRows(int ARow, int ACount) {
  if (ARow < 0 || ARow > RowCount())
    throw ECellGridError("Cannot insert rows at row " + std::to_string(ARow) + ": rows go in at 0 up to " +
                         std::to_string(RowCount()));
  if (ACount <= 0) return;
  if (std::int64_t{RowCount()} + ACount > std::int64_t{TCellStore::kMaxIndex} + 1)
    throw ECellGridError("Cannot insert " + std::to_string(ACount) + " rows: the grid holds at most " +
                         std::to_string(std::int64_t{TCellStore::kMaxIndex} + 1) + " rows");
  const int storedEnd = store_.RowEnd();
  if (storedEnd > ARow && std::int64_t{storedEnd} - 1 + ACount > TCellStore::kMaxIndex)
    throw ECellGridError("Cannot insert " + std::to_string(ACount) + " rows at row " + std::to_string(ARow) +
                         ": the cells of row " + std::to_string(storedEnd - 1) + " would move past the last row (" +
                         std::to_string(TCellStore::kMaxIndex) + ")");
  TEditSession::THoldFocusLoss hold(session_);
  InsertRowRange(ARow, ACount);
}

}  // namespace kelvora
