#pragma once

#include "grid/render/markup_layout.h"
#include "toolkit/canvas.h"

namespace kelvora {

// What painting needs besides the layout.
struct TMarkupPaintInput {
  TRect Rect;
  TColor EntryBrush = clWhite;  // the cell's background: blinking text takes it while off
  bool BlinkPhase = true;
  TColor ShadowColor = clGray;
  int ShadowOffset = 1;
};

// The last stage of the mark-up renderer: draws a layout, within the
// rectangle only. Texts are drawn transparent; the surface's font, brush and
// pen are left changed.
void PaintMarkup(TCanvas& canvas, const TMarkupLayout& layout, const TMarkupPaintInput& input);

}  // namespace kelvora
