// The grid as an HTML table: in a file, and beside the text on the clipboard.
#include <algorithm>

#include "grid/cell_grid.h"
#include "grid/render/cell_content.h"
#include "grid/render/markup_html.h"
#include "grid/render/strip_markup.h"
#include "grid/textio/html_export.h"
#include "toolkit/html_text.h"

namespace kelvora {
namespace {

THtmlAlign HtmlAlign(TAlignment alignment) {
  switch (alignment) {
    case taRightJustify: return haRight;
    case taCenter: return haCenter;
    default: return haLeft;
  }
}

// Each cell as painting sees it: the fixed or normal colours and font, then
// the cell-colour and alignment hooks. Only what differs from the table's
// own look is written with the cell.
class TGridHtmlSource : public THtmlCellSource {
 public:
  TGridHtmlSource(TCellGrid& grid, bool keepMarkup) : grid_(grid), keepMarkup_(keepMarkup) {}

  // Without hidden columns each displayed column is its stored column.
  bool RowPlainTexts(int row, int first, int last, std::uint64_t* out) override {
    return grid_.HiddenColumnCount() == 0 && grid_.RowPlainCellWords(row, first, last, out);
  }

  void Cell(int col, int row, THtmlCell& cell) override {
    const int dataCol = grid_.DisplayToDataColumn(col);
    cell.Header = col < grid_.FixedCols() || row < grid_.FixedRows() || grid_.IsExtraFixedCell(dataCol, row);
    TBrush brush;
    brush.Color = cell.Header ? grid_.FixedColor() : grid_.Color();
    const TFont& base = cell.Header ? grid_.FixedFont() : grid_.Font();
    font_ = base;
    TGridDrawState state;
    if (cell.Header) state.insert(gdFixed);
    grid_.ApplyCellColours(dataCol, row, state, brush, font_);
    if (brush.Color != (cell.Header ? grid_.FixedColor() : grid_.Color())) cell.Background = brush.Color;
    if (font_.Color != base.Color) cell.FontColor = font_.Color;
    cell.Style = font_.Style;
    cell.Align = HtmlAlign(grid_.CellAlignment(dataCol, row));
    AppendBody(cell.Body, grid_.CellText(dataCol, row));
  }

 private:
  void AppendBody(std::string& body, std::string_view text) {
    if (CellContentKind(text, grid_.EnableHTML()) != ckMarkup) return AppendHtmlText(body, text, true);
    if (keepMarkup_) body = MarkupToHtml(text);
    else AppendHtmlText(body, StripMarkup(text), true);
  }

  TCellGrid& grid_;
  bool keepMarkup_;
  TFont font_;
};

THtmlTable Table(const TCellGrid& grid, const TGridRect& block) {
  THtmlTable table;
  table.FirstCol = std::max(block.Left, 0);
  table.FirstRow = std::max(block.Top, 0);
  table.LastCol = std::min(block.Right, grid.ColCount() - 1);
  table.LastRow = std::min(block.Bottom, grid.RowCount() - 1);
  table.CellBackground = grid.Color();
  table.CellColor = grid.Font().Color;
  table.HeaderBackground = grid.FixedColor();
  return table;
}

}  // namespace

// What ApplyCellColours, IsExtraFixedCell and CellAlignment would answer for
// such a cell is the grid's own look, whatever the cell holds.
bool TCellGrid::RowPlainCellWords(int ARow, int fromCol, int toCol, std::uint64_t* out) const {
  if (OnGetCellColor || OnGetAlignment || OnIsFixedCell || bands_.Active() || AutoNumAlign()) return false;
  // A grid of one row or column may keep it fixed although the base does not.
  if (!Font().Style.empty() || RowCount() == 1 || ColCount() == 1) return false;
  const TCellAreas areas = Areas();
  if (!areas.IsNormalDataCell(fromCol, ARow) || areas.IsRightFixedCol(toCol)) return false;
  return !store_.RowHasAttributes(ARow) && RowInlineCellWords(ARow, fromCol, toCol, out);
}

void TCellGrid::WriteHtmlFile(const std::string& FileName) {
  WriteHtmlFile(FileName, TGridRect{0, 0, ColCount() - 1, RowCount() - 1});
}

void TCellGrid::WriteHtmlFile(const std::string& FileName, const TGridRect& Range) {
  TGridHtmlSource source(*this, true);
  THtmlTable table = Table(*this, Range);
  table.WidthPercent = htmlSettings_.Width;
  table.HeaderColor = fixedFont_.Color;
  // A file of a big grid is read by browsers: the optional end tags would
  // make it nearly twice the size.
  table.EndTags = false;
  kelvora::WriteHtmlFile(source, table, FileName);
}

// Mark-up keeps its tags on the clipboard only when the person wants them.
std::string TCellGrid::SelectionAsHtml() {
  TGridHtmlSource source(*this, navigation_.CopyHTMLTagsToClipboard);
  THtmlTable table = Table(*this, Selection());
  table.WidthPercent = htmlSettings_.Width;
  table.HeaderColor = fixedFont_.Color;
  return HtmlDocument(source, table);
}

}  // namespace kelvora
