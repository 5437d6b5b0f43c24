#pragma once

#include "grid/render/cell_paint.h"

namespace kelvora {

// What chooses a cell's font besides the cell itself.
struct TCellFontRule {
  const TFont* Font = nullptr;
  const TFont* FixedFont = nullptr;
  int FontSizeOffset = 0;  // the zoom, in points
};

// The font a cell is drawn in: a copy of the fixed font for a cell in a
// fixed column or row, of the grid's font otherwise; then the cell-colour
// hook, which may change the brush and the font; then the zoom. `state` is
// the cell's draw state, which an extra fixed cell has as the fixed flag
// alone. Painting draws in this font and column fitting measures in it, so
// a fitted column is as wide as its widest painted text.
void ApplyCellFont(TCellPaintHost& host, const TCellFontRule& rule, int dataCol, int row, bool fixed,
                   TGridDrawState state, TBrush& brush, TFont& font);

}  // namespace kelvora
