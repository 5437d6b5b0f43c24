// Blinking mark-up: each tick of the grid's timer turns the phase and
// repaints the cells in view whose text blinks, and only those.
#include <algorithm>

#include "grid/cell_grid.h"

#include "toolkit/ascii_case.h"

namespace kelvora {
namespace {

// "<BLI" in any letter case.
bool MayBlink(std::string_view text) {
  for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
    if (at + 4 <= text.size() && AsciiUpper(text[at + 1]) == 'B' && AsciiUpper(text[at + 2]) == 'L' &&
        AsciiUpper(text[at + 3]) == 'I')
      return true;
  }
  return false;
}

struct TSpan {
  int First;
  int Last;  // inclusive; empty when below First
};

}  // namespace

// The cells in view: the scrolling rows in the scrolling columns, the fixed
// rows in those columns and the fixed columns in those rows. A tick looks
// at nothing else, however large the grid.
void TCellGrid::RepaintBlinkingCells() {
  const TSpan fixedCols{0, std::min(TCustomGrid::FixedCols(), ColCount()) - 1};
  const TSpan fixedRows{0, std::min(TCustomGrid::FixedRows(), RowCount()) - 1};
  const TSpan cols{std::max(LeftCol(), fixedCols.Last + 1), std::min(LastVisibleCol(), ColCount() - 1)};
  const TSpan rows{std::max(TopRow(), fixedRows.Last + 1), std::min(LastVisibleRow(), RowCount() - 1)};
  const auto repaint = [this](const TSpan& colSpan, const TSpan& rowSpan) {
    for (int row = rowSpan.First; row <= rowSpan.Last; ++row)
      for (int col = colSpan.First; col <= colSpan.Last; ++col)
        if (MayBlink(store_.TextView(DisplayToDataColumn(col), row))) InvalidateCell(col, row);
  };
  repaint(cols, rows);
  repaint(cols, fixedRows);
  repaint(fixedCols, rows);
}

}  // namespace kelvora
