#include <QString>

#include "grid/cell_grid.h"
#include "grid/render/cell_content.h"
#include "grid/render/rich_text.h"
#include "grid/render/strip_markup.h"
#include "toolkit/byte_text.h"

namespace kelvora {
namespace {

// The character a password cell shows in place of each of its own.
constexpr char kPasswordMask = '*';

}  // namespace

// A reader speaks what a person sees: the words of a mark-up or rich-text
// cell without their tags, and of a password cell nothing but its mask.
std::string TCellGrid::AccessibleCellText(int ACol, int ARow) {
  const int dataCol = DisplayToDataColumn(ACol);
  const std::string_view text = CellText(dataCol, ARow);
  bool password = false;
  if (OnIsPasswordCell) OnIsPasswordCell(this, ARow, dataCol, password);
  if (password) return std::string(static_cast<std::size_t>(DisplayText(text).toUcs4().size()), kPasswordMask);
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
