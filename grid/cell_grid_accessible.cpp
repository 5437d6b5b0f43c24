#include <QString>

#include "grid/cell_grid.h"
#include "grid/render/cell_content.h"
#include "grid/render/rich_text.h"
#include "grid/render/strip_markup.h"
#include "toolkit/byte_text.h"

namespace kelvora {

// A reader speaks what a person sees: the words of a mark-up or rich-text
// cell without their tags, and of a password cell nothing but its mask.
std::string TCellGrid::AccessibleCellText(int ACol, int ARow) {
  const int dataCol = DisplayToDataColumn(ACol);
  const std::string_view text = CellText(dataCol, ARow);
  // Assistive tools ask from inside Qt's event loop, where a handler's
  // exception must not go; a handler that fails is taken to say "password",
  // so that its text is never read out.
  bool password = false;
  try {
    if (OnIsPasswordCell) OnIsPasswordCell(this, ARow, dataCol, password);
  } catch (...) {
    password = true;
  }
  if (password)
    return std::string(static_cast<std::size_t>(DisplayText(text).toUcs4().size()), PasswordChar());
  switch (CellContentKind(text, EnableHTML())) {
    case ckMarkup: return StripMarkup(text);
    case ckRichText: return RichTextToPlainText(text);
    case ckPlain:
    case ckFormula: break;
  }
  return std::string(text);
}

void TCellGrid::AnnounceCellChange(int dataCol, int row) {
  const int displayCol = hiddenColumnCount_ == 0 ? dataCol : DataToDisplayColumn(dataCol);
  if (displayCol >= 0 && displayCol < ColCount() && row < RowCount()) AccessibleCellChanged(displayCol, row);
}

}  // namespace kelvora
