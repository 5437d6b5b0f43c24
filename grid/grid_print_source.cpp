#include "grid/grid_print_source.h"

#include "grid/cell_grid.h"

namespace kelvora {

namespace {

// On paper nothing is selected, focused, blinking off or zoomed, and the
// current row has no marker.
TCellPaintSettings PaperSettings(TCellPaintSettings s, const TPrintSettings& print, const TFont& font,
                                 const TFont& fixedFont) {
  s.Font = &font;
  s.FixedFont = &fixedFont;
  s.Selection = {-1, -1, -1, -1};
  s.GridFocused = false;
  s.EditorShowing = false;
  s.HideFocusRect = false;
  s.SelectionRectangle = false;
  s.DisjunctRowSelect = false;
  s.RowIndicator = nullptr;
  s.FontSizeOffset = 0;
  s.BlinkPhase = true;
  if (!print.Colors) {
    s.Color = s.FixedColor = clWhite;
    s.Bands.Active = false;
    s.BackGround.Bitmap = nullptr;
  }
  return s;
}

}  // namespace

TGridPrintSource::TGridPrintSource(TCellGrid& grid, const TPrintSettings& settings)
    : grid_(grid),
      print_(settings),
      font_(settings.Font.value_or(grid.Font())),
      fixedFont_(settings.FixedFont.value_or(grid.FixedFont())),
      settings_(PaperSettings(grid.PaintSettings(), settings, font_, fixedFont_)) {}

// The grid base's own counts: they make a cell fixed on the screen.
int TGridPrintSource::ColCount() const { return grid_.ColCount(); }
int TGridPrintSource::RowCount() const { return grid_.RowCount(); }
int TGridPrintSource::FixedCols() const { return grid_.TCustomGrid::FixedCols(); }
int TGridPrintSource::FixedRows() const { return grid_.TCustomGrid::FixedRows(); }
int TGridPrintSource::ColWidth(int col) const { return grid_.ColWidths(col); }
int TGridPrintSource::RowHeight(int row) const { return grid_.RowHeights(row); }
int TGridPrintSource::GridLineWidth() const { return grid_.GridLineWidth(); }
TGridOptions TGridPrintSource::Options() const { return grid_.Options(); }

TColor TGridPrintSource::LineColor(bool fixedArea) const {
  if (fixedArea) return clBlack;
  return ColorToRGB(settings_.Color) == clSilver ? clGray : clSilver;
}

// As the grid base does: the cell filled in its state's colour in the
// grid's font, then the cell painting, then the raised edge of a fixed cell.
void TGridPrintSource::PaintCell(TCanvas& canvas, int col, int row, const TRect& rect, const TRect& area) {
  const bool fixed = col < FixedCols() || row < FixedRows();
  canvas.Font() = font_;
  canvas.Brush() = TBrush{fixed ? settings_.FixedColor : settings_.Color, bsSolid};
  if (grid_.DefaultDrawing()) canvas.FillRect(rect);
  canvas_ = &canvas;
  const TCellPaintContext context{canvas, settings_, *this, text_, area};
  kelvora::PaintCell(context, {col, grid_.DisplayToDataColumn(col), row, rect, fixed ? TGridDrawState{gdFixed} : TGridDrawState{}});
  canvas_ = nullptr;
  if (fixed && !grid_.Flat() && print_.Colors) DrawFixedEdges(canvas, rect);
}

void TGridPrintSource::DrawFixedEdges(TCanvas& canvas, const TRect& rect) {
  TEdgeSides sides;
  if (Options().contains(goFixedVertLine)) sides.insert(esLeft).insert(esRight);
  if (Options().contains(goFixedHorzLine)) sides.insert(esTop).insert(esBottom);
  if (!sides.empty()) canvas.DrawEdge(rect, sides);
}

std::string_view TGridPrintSource::StoredText(int ACol, int ARow) const { return grid_.store_.TextView(ACol, ARow); }

bool TGridPrintSource::IsExtraFixedCell(int ACol, int ARow) { return grid_.IsExtraFixedCell(ACol, ARow); }

void TGridPrintSource::ApplyCellColours(int ACol, int ARow, TGridDrawState AState, TBrush& ABrush, TFont& AFont) {
  grid_.ApplyCellColours(ACol, ARow, AState, ABrush, AFont);
  if (print_.Colors) return;
  ABrush.Color = clWhite;
  AFont.Color = clBlack;
}

TAlignment TGridPrintSource::CellAlignment(int ACol, int ARow) { return grid_.CellAlignment(ACol, ARow); }
bool TGridPrintSource::IsPasswordCell(int ACol, int ARow) { return grid_.IsPasswordCell(ACol, ARow); }
void TGridPrintSource::CalcFormula(int ACol, int ARow, std::string& Text) { grid_.CalcFormula(ACol, ARow, Text); }
TCellBorders TGridPrintSource::CellBorders(int ACol, int ARow, TPen& APen) { return grid_.CellBorders(ACol, ARow, APen); }
bool TGridPrintSource::CellGraphicFillsCell(int ACol, int ARow) { return grid_.CellGraphicFillsCell(ACol, ARow); }

void TGridPrintSource::DrawCellGraphic(int ACol, int ARow, const TRect& ARect) {
  if (TCellGraphic* graphic = grid_.CellGraphic(ACol, ARow); graphic && canvas_) graphic->Draw(*canvas_, ARect);
}

}  // namespace kelvora
