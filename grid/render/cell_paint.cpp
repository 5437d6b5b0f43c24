// Painting one cell: the font, the colours, the row indicator, then the
// content, borders and edges, the cell graphic, the user's draw event and the
// focus rectangle, in that order.
#include "grid/render/cell_paint.h"

#include <algorithm>

#include "grid/render/cell_painter.h"

namespace kelvora {
namespace {

TRect Intersect(const TRect& a, const TRect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
}

}  // namespace

void PaintCell(const TCellPaintContext& context, const TCellToPaint& cell) {
  TCellPainter(context, cell).Paint();
}

TColor BandColour(const TBandColours& bands, int row, int fixedRows) {
  if (!bands.Active) return clNone;
  const std::int64_t cycle = std::int64_t{bands.PrimaryLength} + bands.SecondaryLength;
  if (cycle <= 0) return clNone;
  const std::int64_t offset = ((std::int64_t{row} - fixedRows) % cycle + cycle) % cycle;
  return offset < bands.PrimaryLength ? bands.PrimaryColor : bands.SecondaryColor;
}

bool IsSortHeader(const TCellPaintSettings& settings, int dataCol, int row) {
  const TCellAreas& areas = settings.Areas;
  return settings.SortShow && row == 0 && areas.RowCount > 2 && areas.FixedRows > 0 &&
         (dataCol == settings.SortColumn || FindSortMark(settings, dataCol)) &&
         (dataCol >= areas.FixedCols || settings.SortFixedCols);
}

const TSortMark* FindSortMark(const TCellPaintSettings& settings, int dataCol) {
  for (const TSortMark& mark : settings.SortMarks) {
    if (mark.Col == dataCol) return &mark;
  }
  return nullptr;
}

TCellClip::TCellClip(TCanvas& canvas, const TRect& cell, const TRect& paintArea)
    : canvas_(canvas), paintArea_(paintArea) {
  canvas_.SetClipRect(Intersect(cell, paintArea));
}

TCellClip::~TCellClip() { canvas_.SetClipRect(paintArea_); }

TCellPainter::TCellPainter(const TCellPaintContext& context, const TCellToPaint& cell)
    : canvas_(context.Canvas),
      settings_(context.Settings),
      host_(context.Host),
      context_(context),
      cell_(cell),
      rect_(cell.Rect),
      state_(cell.State),
      linkColor_(context.Settings.URLColor),
      text_(context.Text),
      surfaceKeeper_(context.Canvas, {cpPen, cpTransparentText}) {}

void TCellPainter::Paint() {
  MarkExtraFixed();
  ApplyFontAndColours();
  DrawRowIndicator();
  PaintContent();
  PaintBorders();
  PaintFixedEdges();
  DrawGraphic();
  FireDrawCell();
  CancelFocusRect();
}

void TCellPainter::MarkExtraFixed() {
  extraFixed_ = host_.IsExtraFixedCell(cell_.DataCol, cell_.Row);
  if (!extraFixed_) return;
  canvas_.Brush().Color = settings_.FixedColor;
  state_ = {gdFixed};
}

// Fixed by the stored column, as everything else in painting is decided
// (column fitting decides by the displayed column it sizes; the two differ
// only for a hidden column among the fixed ones).
void TCellPainter::ApplyFontAndColours() {
  const TCellAreas& areas = settings_.Areas;
  const bool fixed = cell_.DataCol < areas.FixedCols || cell_.Row < areas.FixedRows;
  const TCellFontRule rule{settings_.Font, settings_.FixedFont, settings_.FontSizeOffset};
  ApplyCellFont(host_, rule, cell_.DataCol, cell_.Row, fixed, state_, canvas_.Brush(), canvas_.Font());
  if (state_.contains(gdSelected) && !state_.contains(gdFocused) && settings_.SelectionColor == clNone)
    canvas_.Brush().Color = clHighlight;
}

// The marker sits at the left of the current row's first cell, centred in
// its height, and the rest of the cell moves right to make room for it. A
// marker larger than the cell is cut to it.
void TCellPainter::DrawRowIndicator() {
  const TBitmap* marker = settings_.RowIndicator;
  if (cell_.DataCol != 0 || cell_.Row != settings_.CurrentRow || settings_.Areas.FixedCols <= 0 || !marker ||
      marker->Empty())
    return;
  const int right = static_cast<int>(std::min<std::int64_t>(std::int64_t{rect_.Left} + marker->Width(), rect_.Right));
  const TRect strip{rect_.Left, rect_.Top, right, rect_.Bottom};
  canvas_.FillRect(strip);
  {
    const TCellClip clip(canvas_, strip, context_.PaintArea);
    canvas_.Draw(rect_.Left, rect_.Top + std::max(0, (rect_.Height() - marker->Height()) / 2), *marker);
  }
  rect_.Left = right;
}

void TCellPainter::DrawGraphic() {
  if (settings_.EnableGraphics) host_.DrawCellGraphic(cell_.DataCol, cell_.Row, rect_);
}

void TCellPainter::FireDrawCell() { host_.DrawCellEvent(cell_.DataCol, cell_.Row, rect_, state_); }

// The grid base draws its focus rectangle after the cell; drawn here first,
// exclusive-or, it cancels that one out. While the edit window shows, the
// base draws none, and neither does this.
void TCellPainter::CancelFocusRect() {
  if (settings_.HideFocusRect && state_.contains(gdFocused) && !settings_.Options.contains(goRowSelect) &&
      !settings_.EditorShowing)
    canvas_.DrawFocusRect(cell_.Rect);
}

}  // namespace kelvora
