#include <algorithm>

#include "grid/cell_grid.h"
#include "grid/render/cell_font.h"
#include "grid/text_extent_memo.h"
#include "toolkit/canvas_keeper.h"

namespace kelvora {

namespace {

// A column of a million rows is read from far beyond the caches, one row's
// block after another; the cell this many rows ahead is asked for while the
// rows between are measured, so that its fetch is no longer waited on.
constexpr int kPrefetchRows = 32;

// What measuring one column needs from the grid.
struct TColumnFit {
  const TCellGrid& grid;
  TCellPaintHost& host;
  const TCellStore& store;
  TCanvas& canvas;
  TTextExtentMemo& memo;
  TCellFontRule rule;
  int dataCol;
  bool fixedCol;  // the displayed column is a fixed one
};

// The brush is the colour hook's to read and change, and goes on from cell
// to cell as painting's does.
void UseCellFont(const TColumnFit& fit, int row, bool fixed, bool drawnFixed, TBrush& brush, TFont& font) {
  ApplyCellFont(fit.host, fit.rule, fit.dataCol, row, fixed, drawnFixed ? TGridDrawState{gdFixed} : TGridDrawState{},
                brush, font);
}

// The widest text of rows fromRow..toRow - 1, all in the canvas's font.
// Short texts go to the memo in the store's packed form as they stand, so a
// column of a million dates costs a million lookups and little besides.
int WidestInRows(const TColumnFit& fit, int fromRow, int toRow) {
  int widest = 0;
  for (int row = fromRow; row < toRow; ++row) {
    if (toRow - row > kPrefetchRows) fit.store.PrefetchCell(fit.dataCol, row + kPrefetchRows);
    std::uint64_t word;
    const TSize extent = fit.store.RowInlineWords(row, fit.dataCol, fit.dataCol, &word)
                             ? fit.memo.MeasurePacked(fit.canvas, word)
                             : fit.memo.Measure(fit.canvas, fit.store.TextView(fit.dataCol, row));
    widest = std::max(widest, extent.cx);
  }
  return widest;
}

// Without a handler that may change a cell's font or call a cell fixed, and
// without graphics, a cell's font is the fixed one in the fixed rows (in a
// fixed column, in every row) and the grid's own below them; the column is
// measured in these two bands, each in its one font.
int WidestByBand(const TColumnFit& fit, int fixedRows, int rowCount) {
  const int fixedEnd = fit.fixedCol ? rowCount : std::min(fixedRows, rowCount);
  int widest = 0;
  const auto band = [&](int fromRow, int toRow, bool fixed) {
    if (fromRow >= toRow) return;
    TBrush brush;
    TFont font;
    UseCellFont(fit, fromRow, fixed, fixed, brush, font);
    fit.canvas.SetFont(font);
    fit.memo.UseFont(font);
    widest = std::max(widest, WidestInRows(fit, fromRow, toRow));
  };
  band(0, fixedEnd, true);
  band(fixedEnd, rowCount, false);
  return widest;
}

// Cell by cell, each in the font its handlers give it, graphics included.
int WidestByCell(const TColumnFit& fit, int fixedRows, int rowCount, bool withGraphics) {
  TBrush brush;
  TFont font;
  int widest = 0;
  for (int row = 0; row < rowCount; ++row) {
    const bool fixed = fit.fixedCol || row < fixedRows;
    UseCellFont(fit, row, fixed, fixed || fit.host.IsExtraFixedCell(fit.dataCol, row), brush, font);
    if (row == 0 || !(fit.canvas.Font() == font)) {
      fit.canvas.SetFont(font);
      fit.memo.UseFont(font);
    }
    int width = fit.memo.Measure(fit.canvas, fit.store.TextView(fit.dataCol, row)).cx;
    if (withGraphics) {
      if (const TCellGraphic* graphic = fit.grid.CellGraphic(fit.dataCol, row)) width += graphic->Width();
    }
    widest = std::max(widest, width);
  }
  return widest;
}

}  // namespace

void TCellGrid::FitColumnsToText(bool IncludeFixed, int ExtraWidth) {
  const auto fit = [&](int col) {
    if (col >= ColCount()) return;
    FitColumnToText(col);
    if (ExtraWidth != 0) SetColWidths(col, ColWidths(col) + ExtraWidth);
  };
  if (IncludeFixed)
    for (int col = 0; col < FixedCols(); ++col) fit(col);
  for (int col = FixedCols(); col < ColCount(); ++col) fit(col);
}

void TCellGrid::FitColumnToText(int ACol) { FitColumnWidth(ACol, false); }

void TCellGrid::CheckFitColumn(int ACol) const {
  if (ACol >= 0 && ACol < ColCount()) return;
  throw ECellGridError("Column " + std::to_string(ACol) + " cannot be sized to its text: the grid has " +
                       std::to_string(ColCount()) + " columns");
}

// Every row is measured, fixed rows included, each in the font painting
// draws it in (ApplyCellFont). A text met again in the same font is not
// measured again; the memo answers exactly what measuring would. The fixed
// font goes by the displayed column being sized (painting, deciding all by
// stored columns, differs only for a hidden column among the fixed ones).
void TCellGrid::FitColumnWidth(int ACol, bool OnlyGrow) {
  CheckFitColumn(ACol);
  TCanvas& canvas = Canvas();
  // Fitting sets the surface's font cell by cell; whoever measures or paints
  // next finds the font it left there.
  const TCanvasKeeper keeper(canvas, {cpFont});
  TTextExtentMemo memo(CellTextOptions());
  const TColumnFit fit{*this, *this, store_, canvas, memo, {&Font(), &fixedFont_, fontSizeOffset_},
                       DisplayToDataColumn(ACol), ACol < FixedCols()};
  const bool byBand = !OnGetCellColor && !OnIsFixedCell && !EnableGraphics();
  const int widest = byBand ? WidestByBand(fit, FixedRows(), RowCount())
                            : WidestByCell(fit, FixedRows(), RowCount(), EnableGraphics());
  const int newWidth = widest + kTextFitMargin;
  if (!OnlyGrow || ColWidths(ACol) < newWidth) SetColWidths(ACol, newWidth);
}

TSize TCellGrid::CellTextExtent(int ACol, int ARow) {
  return kelvora::CellTextExtent(Canvas(), CellText(ACol, ARow), CellTextOptions());
}

TCellTextOptions TCellGrid::CellTextOptions() const {
  return {EnableHTML(), Multilinecells(), URLShow(), URLFull(), GridImages()};
}

}  // namespace kelvora
