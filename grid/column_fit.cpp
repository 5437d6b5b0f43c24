#include <algorithm>

#include "grid/cell_grid.h"
#include "grid/text_extent_memo.h"

namespace kelvora {

namespace {
// Room beside the widest text, so that it does not touch the grid line.
constexpr int kFitMargin = 4;
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

// Every row is measured, fixed rows included, each in the font it is drawn
// with: the fixed font or the grid's, as the colour hook leaves it, enlarged
// by the zoom.
void TCellGrid::FitColumnWidth(int ACol, bool OnlyGrow) {
  TCanvas& canvas = Canvas();
  TTextExtentMemo memo(CellTextOptions());
  const int dataCol = DisplayToDataColumn(ACol);
  const bool fixedCol = ACol < FixedCols();
  const int fixedRows = FixedRows();
  TBrush brush;
  TFont cellFont;
  int widest = 0;
  for (int row = 0; row < RowCount(); ++row) {
    const bool fixed = fixedCol || row < fixedRows;
    cellFont = fixed ? fixedFont_ : Font();
    ApplyCellColours(dataCol, row, fixed ? TGridDrawState{gdFixed} : TGridDrawState{}, brush,
                     cellFont);
    if (fontSizeOffset_ != 0) cellFont.SetSize(cellFont.Size() + fontSizeOffset_);
    if (!(canvas.Font() == cellFont)) canvas.SetFont(cellFont);
    int width = memo.Measure(canvas, store_.TextView(dataCol, row)).cx;
    if (EnableGraphics()) {
      if (const TCellGraphic* graphic = CellGraphic(dataCol, row)) width += graphic->Width();
    }
    widest = std::max(widest, width);
  }
  const int newWidth = widest + kFitMargin;
  if (!OnlyGrow || ColWidths(ACol) < newWidth) SetColWidths(ACol, newWidth);
}

TSize TCellGrid::CellTextExtent(int ACol, int ARow) {
  return kelvora::CellTextExtent(Canvas(), CellText(ACol, ARow), CellTextOptions());
}

TCellTextOptions TCellGrid::CellTextOptions() const {
  return {EnableHTML(), Multilinecells(), URLShow(), URLFull()};
}

// Band colours and the cells' own colours join here once cells are painted
// with them; until then the handler alone has its say.
void TCellGrid::ApplyCellColours(int ACol, int ARow, TGridDrawState AState, TBrush& ABrush,
                                 TFont& AFont) {
  if (OnGetCellColor) OnGetCellColor(this, ARow, ACol, AState, ABrush, AFont);
}

}  // namespace kelvora
