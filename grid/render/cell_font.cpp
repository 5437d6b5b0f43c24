#include "grid/render/cell_font.h"

namespace kelvora {

void ApplyCellFont(TCellPaintHost& host, const TCellFontRule& rule, int dataCol, int row, bool fixed,
                   TGridDrawState state, TBrush& brush, TFont& font) {
  font = fixed ? *rule.FixedFont : *rule.Font;
  host.ApplyCellColours(dataCol, row, state, brush, font);
  if (rule.FontSizeOffset != 0) font.SetSize(font.Size() + rule.FontSizeOffset);
}

}  // namespace kelvora
