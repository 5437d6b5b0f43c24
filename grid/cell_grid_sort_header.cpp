// Clicks on the sort headers: the fixed row 0 of a grid with SortShow.
#include <algorithm>

#include "grid/cell_grid.h"

namespace kelvora {
namespace {

// A press this close to a column's edge is left to column sizing.
constexpr int kSizingMargin = 3;

}  // namespace

void TCellGrid::SortHeaderClick(int ADataCol, bool addKey) {
  std::vector<TSortKey> keys = sortKeys_;
  const auto found = std::find_if(keys.begin(), keys.end(), [&](const TSortKey& k) { return k.Col == ADataCol; });
  if (!addKey) {
    const bool only = keys.size() == 1 && found != keys.end();
    if (!only) keys = {{ADataCol, sdAscending}};
    else if (found->Direction == sdAscending) found->Direction = sdDescending;
    else keys.clear();
  } else if (found == keys.end()) {
    keys.push_back({ADataCol, sdAscending});
  } else if (found->Direction == sdAscending) {
    found->Direction = sdDescending;
  } else {
    keys.erase(found);
  }
  SetSortColumns(std::move(keys));
}

// The fixed cells of row 0 sort while SortShow is on and the grid has a
// fixed row, the fixed columns too with SortFixedCols. The edges of a
// column stay for sizing it.
bool TCellGrid::SortHeaderAt(int x, int y, int& dataCol) const {
  if (!SortShow() || FixedRows() == 0) return false;
  int col = -1;
  int row = -1;
  MouseToCell(x, y, col, row);
  if (row != 0 || col < 0 || col >= ColCount()) return false;
  if (col < FixedCols() && !SortFixedCols()) return false;
  const TRect cell = CellRect(col, row);
  const bool nearEdge = x < cell.Left + kSizingMargin || x >= cell.Right - kSizingMargin;
  if (nearEdge && Options().contains(goColSizing)) return false;
  dataCol = DisplayToDataColumn(col);
  return true;
}

}  // namespace kelvora
