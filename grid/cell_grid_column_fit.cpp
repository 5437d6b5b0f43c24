#include <algorithm>

#include "grid/cell_grid.h"
#include "grid/render/cell_font.h"
#include "grid/text_extent_memo.h"
#include "toolkit/canvas_keeper.h"

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
  const int dataCol = DisplayToDataColumn(ACol);
  const bool fixedCol = ACol < FixedCols();
  const int fixedRows = FixedRows();
  const bool withGraphics = EnableGraphics();
  const TCellFontRule rule{&Font(), &fixedFont_, fontSizeOffset_};
  TBrush brush;
  TFont cellFont;
  int widest = 0;
  for (int row = 0; row < RowCount(); ++row) {
    const bool fixed = fixedCol || row < fixedRows;
    const bool drawnFixed = fixed || IsExtraFixedCell(dataCol, row);
    ApplyCellFont(*this, rule, dataCol, row, fixed, drawnFixed ? TGridDrawState{gdFixed} : TGridDrawState{}, brush,
                  cellFont);
    if (row == 0 || !(canvas.Font() == cellFont)) {
      canvas.SetFont(cellFont);
      memo.UseFont(cellFont);
    }
    int width = memo.Measure(canvas, store_.TextView(dataCol, row)).cx;
    if (withGraphics) {
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
  return {EnableHTML(), Multilinecells(), URLShow(), URLFull(), GridImages()};
}

}  // namespace kelvora
