// Finding a row by typing the start of its text in the sort column.
#include <algorithm>

#include "grid/cell_grid.h"

namespace kelvora {
namespace {

// Rows are visited a block at a time, so that the search stops soon after
// the first match however many rows follow.
constexpr int kSearchBlock = 4096;

}  // namespace

// A control character other than Backspace (Ctrl with a letter) searches
// for nothing and leaves the search as it was.
void TCellGrid::IncrementalSearch(char32_t Key) {
  if (!search_.Type(Key, navigation_.AutoGotoIncremental)) return;
  const TGridRect normal = NormalCells();
  const int dataCol = SortColumn();  // a stored column, as the sort keys are
  const int col = dataCol >= 0 ? DataToDisplayColumn(dataCol) : -1;
  if (col < normal.Left || col > normal.Right || normal.Top > normal.Bottom) return;
  int found = -1;
  for (int from = normal.Top; found < 0 && from <= normal.Bottom; from += kSearchBlock) {
    const int to = static_cast<int>(std::min<std::int64_t>(std::int64_t{from} + kSearchBlock - 1, normal.Bottom));
    store_.ForEachTextInColumn(dataCol, from, to, [&](int row, std::string_view text) {
      if (found < 0 && search_.Matches(text)) found = row;
    });
    if (to == normal.Bottom) break;
  }
  if (found >= 0 && found != Row()) FocusCell(Col(), found, true);
}

}  // namespace kelvora
