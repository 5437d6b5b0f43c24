#include "grid/render/cell_font.h"

#include <algorithm>

namespace kelvora {

void ApplyCellFont(TCellPaintHost& host, const TCellFontRule& rule, int dataCol, int row, bool fixed,
                   TGridDrawState state, TBrush& brush, TFont& font) {
  font = fixed ? *rule.FixedFont : *rule.Font;
  host.ApplyCellColours(dataCol, row, state, brush, font);
  // A zoom out never takes a font below one point: a size of 0 or less would
  // mean the default size, or a height of another kind, and grow the text.
  if (rule.FontSizeOffset != 0) font.SetSize(std::max(font.Size() + rule.FontSizeOffset, 1));
}

}  // namespace kelvora
