// The grid's own paint step: after the base has painted the cells and its
// lines, black lines set the cells that only this grid treats as fixed apart
// from the rest, as the base does for its own fixed cells.
#include "grid/cell_grid.h"
#include "toolkit/canvas_keeper.h"

namespace kelvora {
namespace {

void Line(TCanvas& canvas, int x0, int y0, int x1, int y1) {
  canvas.MoveTo(x0, y0);
  canvas.LineTo(x1, y1);
}

}  // namespace

// An error here stops only the lines; it is shown once, like a cell's.
void TCellGrid::Paint() {
  TCustomGrid::Paint();
  if (!HasExtraFixedCells()) return;
  try {
    PaintExtraFixedLines(Canvas());
  } catch (...) {
    paintErrors_.Report();
  }
}

// Without footers, right fixed columns, a fixed row or column kept on, or a
// handler that could name one, no cell is extra fixed and nothing is asked.
bool TCellGrid::HasExtraFixedCells() const {
  return fixedFooters_ > 0 || fixedRightCols_ > 0 || fixedRowAlways_ || fixedColAlways_ || OnIsFixedCell;
}

// The cells from the first scrolling column and row up to the last visible
// ones before the right fixed columns and the footers; then the right fixed
// columns in every row in view; then the footer rows.
void TCellGrid::PaintExtraFixedLines(TCanvas& canvas) {
  const TCanvasKeeper keeper(canvas, {cpPen});
  canvas.Pen() = TPen{clBlack, 1, psSolid};
  const TCellAreas areas = Areas();
  const int firstCol = LeftCol(), lastCol = LastVisibleCol();
  const int firstRow = TopRow(), lastRow = LastVisibleRow();
  for (int row = firstRow; row <= lastRow && !areas.IsFooterRow(row); ++row) {
    for (int col = firstCol; col <= lastCol; ++col) {
      const int dataCol = DisplayToDataColumn(col);
      if (!areas.IsRightFixedCol(dataCol) && IsExtraFixedCell(dataCol, row))
        PaintExtraFixedCellLines(canvas, CellRect(col, row));
    }
  }
  const auto paintRightFixed = [&](int row) {
    for (int col = firstCol; col <= lastCol; ++col)
      if (areas.IsRightFixedCol(DisplayToDataColumn(col))) PaintExtraFixedCellLines(canvas, CellRect(col, row));
  };
  for (int row = 0; row < TCustomGrid::FixedRows(); ++row) paintRightFixed(row);
  for (int row = firstRow; row <= lastRow; ++row) paintRightFixed(row);
  for (int row = firstRow; row <= lastRow; ++row)
    if (areas.IsFooterRow(row)) PaintFooterLines(canvas, row, firstCol, lastCol);
}

void TCellGrid::PaintExtraFixedCellLines(TCanvas& canvas, const TRect& cell) {
  if (cell.IsEmpty()) return;
  if (Options().contains(goFixedHorzLine)) Line(canvas, cell.Left, cell.Bottom, cell.Right, cell.Bottom);
  if (Options().contains(goFixedVertLine)) {
    Line(canvas, cell.Right, cell.Top, cell.Right, cell.Bottom);
    Line(canvas, cell.Left - 1, cell.Top, cell.Left - 1, cell.Bottom);
  }
}

// A footer row gets lines above and below it across its whole width, and one
// after each of its columns, the fixed ones too.
void TCellGrid::PaintFooterLines(TCanvas& canvas, int row, int firstCol, int lastCol) {
  const TRect last = CellRect(lastCol, row);
  if (last.IsEmpty()) return;
  if (Options().contains(goFixedHorzLine)) {
    Line(canvas, 0, last.Top - 1, last.Right, last.Top - 1);
    Line(canvas, 0, last.Bottom, last.Right, last.Bottom);
  }
  if (!Options().contains(goFixedVertLine)) return;
  const auto columnLine = [&](int col) {
    const TRect cell = CellRect(col, row);
    if (!cell.IsEmpty()) Line(canvas, cell.Right, cell.Top, cell.Right, cell.Bottom);
  };
  for (int col = 0; col < TCustomGrid::FixedCols(); ++col) columnLine(col);
  for (int col = firstCol; col <= lastCol; ++col) columnLine(col);
}

}  // namespace kelvora
