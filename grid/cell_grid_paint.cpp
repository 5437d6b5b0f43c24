#include "grid/cell_grid.h"
#include "grid/render/cell_content.h"
#include "grid/render/markup.h"

namespace kelvora {

void TCellGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  PaintCell(ACol, ARow, ARect, AState);
}

// Plain painting: the cell's font and colours, its background, and the first
// line of its text inset by two pixels. Mark-up, rich text, bands, borders
// and the rest of the cell look join this as the renderer grows.
void TCellGrid::PaintCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  TCanvas& canvas = Canvas();
  const int dataCol = DisplayToDataColumn(ACol);
  const bool fixed = ACol < FixedCols() || ARow < FixedRows();
  const TColor baseColor = canvas.Font().Color;
  TFont font = fixed ? fixedFont_ : Font();
  font.Color = AState.contains(gdSelected) && !AState.contains(gdFocused) ? baseColor : font.Color;
  ApplyCellColours(dataCol, ARow, AState, canvas.Brush(), font);
  if (fontSizeOffset_ != 0) font.SetSize(font.Size() + fontSizeOffset_);
  canvas.SetFont(font);
  canvas.FillRect(ARect);
  const std::string_view text = store_.TextView(dataCol, ARow);
  if (CellContentKind(text, EnableHTML()) == ckMarkup) {
    TMarkupInput markup;
    markup.Text = text;
    markup.Rect = MarkupTextRect(ARect);
    markup.Images = GridImages();
    markup.LinkColor = URLColor();
    markup.BlinkPhase = blinkPhase_;
    DrawMarkup(canvas, markup);
    if (OnDrawCell) OnDrawCell(this, dataCol, ARow, ARect, AState);
    return;
  }
  TRect textRect{ARect.Left + 2, ARect.Top + 2, ARect.Right - 2, ARect.Bottom};
  TTextFlags flags{tfSingleLine, tfNoPrefix, tfExpandTabs};
  if (VAlignment() == vtaCenter) flags.insert(tfVCenter);
  if (VAlignment() == vtaBottom) flags.insert(tfBottom);
  canvas.DrawText(FirstDisplayLine(store_.TextView(dataCol, ARow), CellTextOptions()), textRect,
                  flags);
  if (OnDrawCell) OnDrawCell(this, dataCol, ARow, ARect, AState);
}

}  // namespace kelvora
