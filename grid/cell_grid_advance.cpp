// Moving on to the next cell after Enter, and back for the edit box's Left.
#include <algorithm>
#include <cstdint>

#include "grid/cell_grid.h"

namespace kelvora {
namespace {

// Where one step goes; past the last cell the grid may have to grow first.
enum class TStep { Moved, PastTheEnd };

TStep StepLeftRight(TGridCoord& cell, const TGridRect& normal) {
  if (cell.X < normal.Right) ++cell.X;
  else if (cell.Y < normal.Bottom) cell = {normal.Left, cell.Y + 1};
  else return TStep::PastTheEnd;
  return TStep::Moved;
}

TStep StepTopBottom(TGridCoord& cell, const TGridRect& normal) {
  if (cell.Y < normal.Bottom) ++cell.Y;
  else if (cell.X < normal.Right) cell = {cell.X + 1, normal.Top};
  else return TStep::PastTheEnd;
  return TStep::Moved;
}

// Backwards runs left along the row and up to the end of the row above,
// from the first cell to the last, whichever direction Enter advances in:
// Left in the edit box means the cell to the left.
void StepBackward(TGridCoord& cell, const TGridRect& normal) {
  if (cell.X > normal.Left) --cell.X;
  else cell = {normal.Right, cell.Y > normal.Top ? cell.Y - 1 : normal.Bottom};
}

}  // namespace

TGridRect TCellGrid::NormalCells() const {
  return TGridRect{FixedCols(), FixedRows(), ColCount() - 1 - fixedRightCols_, RowCount() - 1 - fixedFooters_};
}

// A cell that may not be edited is passed over. When every cell refuses,
// the walk gives up after one round of the grid, where it started, and at
// most one row or column is added for it, so that a grid that refuses
// everything neither hangs nor grows without end.
void TCellGrid::AdvanceCell(int ACol, int ARow, bool Forward, bool OpenEditor, bool Force) {
  if (!navigation_.AdvanceOnEnter && !Force) return;
  const TGridRect normal = NormalCells();
  if (normal.Left > normal.Right || normal.Top > normal.Bottom) return;
  const std::int64_t round =
      (std::int64_t{normal.Right} - normal.Left + 1) * (std::int64_t{normal.Bottom} - normal.Top + 1);
  // A start outside the normal cells (a program's call) starts from the
  // nearest normal one.
  TGridCoord cell{std::clamp(ACol, normal.Left, normal.Right), std::clamp(ARow, normal.Top, normal.Bottom)};
  bool grown = false;
  for (std::int64_t step = 0; step < round; ++step) {
    if (!StepAdvance(cell, Forward, grown)) return;
    // The walk starts from a cell being edited, so a cell may be edited
    // unless the handler says otherwise.
    bool canEdit = true;
    if (OnCanEditCell) OnCanEditCell(this, cell.Y, DisplayToDataColumn(cell.X), canEdit);
    if (!canEdit) continue;
    if (cell != TGridCoord{Col(), Row()} && !FocusCell(cell.X, cell.Y, true)) return;
    // A check box is ready to be worked as soon as it is reached.
    if (OpenEditor || CheckBoxAt(cell.X, cell.Y)) ShowEditor();
    return;
  }
}

// One step; false when the walk cannot go on: an addition refused, or a
// second one wanted.
bool TCellGrid::StepAdvance(TGridCoord& cell, bool forward, bool& grown) {
  const TGridRect normal = NormalCells();
  if (!forward) {
    StepBackward(cell, normal);
    return true;
  }
  const bool topBottom = navigation_.AdvanceDirection == adTopBottom;
  if ((topBottom ? StepTopBottom(cell, normal) : StepLeftRight(cell, normal)) == TStep::Moved) return true;
  if (navigation_.AdvanceInsert) {
    if (grown) return false;
    grown = true;
    if (topBottom ? AddColForAdvance(cell) : AddRowForAdvance(cell)) return true;
    if (!topBottom) return false;
  }
  cell = {normal.Left, normal.Top};
  if (topBottom) InvalidateGrid();
  return true;
}

// The new row goes in before the footer rows, which stay at the bottom.
bool TCellGrid::AddRowForAdvance(TGridCoord& cell) {
  bool canAdd = true;
  if (OnCanAddRow) OnCanAddRow(this, canAdd);
  if (!canAdd || RowCount() > TCellStore::kMaxIndex) return false;
  const int row = RowCount() - fixedFooters_;
  InsertRow(row);
  cell = {NormalCells().Left, row};
  if (OnAutoAddRow) OnAutoAddRow(this, row);
  return true;
}

// A column can only be added after the last one: with fixed right columns
// there is no room before them, and the walk wraps to the first cell.
bool TCellGrid::AddColForAdvance(TGridCoord& cell) {
  if (fixedRightCols_ > 0 || std::int64_t{ColCount()} + hiddenColumnCount_ > TCellStore::kMaxIndex) return false;
  const int col = ColCount();
  SetColCount(col + 1);
  cell = {col, NormalCells().Top};
  InvalidateGrid();
  if (OnAutoInsertCol) OnAutoInsertCol(this, col);
  return true;
}

}  // namespace kelvora
