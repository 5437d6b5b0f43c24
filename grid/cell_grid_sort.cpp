// Sorting the normal rows by the list of sort columns, and putting them
// back in file order.
#include <algorithm>
#include <string>

#include "grid/cell_grid.h"
#include "grid/sort/row_sort.h"
#include "grid/store_row_source.h"
#include "toolkit/free_memory.h"
#include "toolkit/screen_cursor.h"

namespace kelvora {
void TCellGrid::SetSortColumns(std::vector<TSortKey> keys) {
  CheckSortKeys(keys);
  if (keys.empty()) {
    RestoreFileOrder();
    return;
  }
  if (!ReadyToSort()) return;
  bool doSort = true;
  if (OnCanSort) OnCanSort(this, keys.front().Col, doSort);
  if (!doSort) return;
  const TSortRange range = SortRange();
  std::vector<std::uint32_t> order;
  {
    const TCursorGuard hourglass(crHourGlass);
    order = SortedRowOrder(TStoreRowSource(store_, range.First, range.Count), keys, SortAutoFormat());
  }
  sortKeys_ = std::move(keys);
  SetSortColumn(sortKeys_.front().Col);
  UpdateSortMarks();
  ApplyRowOrder(range, std::move(order), true);
  ReturnFreedMemory();
}

void TCellGrid::Sort() {
  if (!sortKeys_.empty()) SetSortColumns(sortKeys_);
}

void TCellGrid::RestoreFileOrder() {
  sortKeys_.clear();
  UpdateSortMarks();
  if (!fileOrder_.Active()) return InvalidateGrid();
  if (!ReadyToSort()) return;
  const TSortRange range = SortRange();
  std::vector<std::uint32_t> order = fileOrder_.RestoringOrder(static_cast<std::size_t>(range.Count));
  // While a filter hides rows the shown ones go back in order among
  // themselves, and the file order stays for the rows still hidden.
  const bool keep = filtered_.Active;
  ApplyRowOrder(range, std::move(order), keep);
  if (!keep) fileOrder_.Clear();
}

void TCellGrid::CheckSortKeys(const std::vector<TSortKey>& keys) const {
  const std::int64_t lastCol = std::int64_t{ColCount()} - 1 + hiddenColumnCount_;
  for (const TSortKey& key : keys) {
    if (key.Col < 0 || key.Col > lastCol)
      throw ECellGridError("Cannot sort by column " + std::to_string(key.Col) + ": the grid's columns count from 0 to " +
                           std::to_string(lastCol));
  }
}

// An open edit is the user's: it is validated and kept before rows move,
// and a refused one keeps the rows where they are.
bool TCellGrid::ReadyToSort() {
  if (!CommitCellEdit()) return false;
  if (EditorMode()) HideEditor();
  return true;
}

// The normal rows up to the last stored one: rows past it hold nothing and
// would stay last anyway, so a grid of 10^8 mostly empty rows sorts only
// what it stores. Rows remembered for the file order stay in the range.
TCellGrid::TSortRange TCellGrid::SortRange() const {
  const int first = FixedRows();
  const std::int64_t normalEnd = std::int64_t{RowCount()} - fixedFooters_;
  std::int64_t end = std::min<std::int64_t>(normalEnd, store_.RowEnd());
  end = std::max<std::int64_t>(end, std::min<std::int64_t>(normalEnd, first + static_cast<std::int64_t>(fileOrder_.Size())));
  return {first, static_cast<int>(std::max<std::int64_t>(end - first, 0))};
}

void TCellGrid::ApplyRowOrder(const TSortRange& range, std::vector<std::uint32_t>&& order, bool remember) {
  if (order.empty()) return InvalidateGrid();
  ++rowChanges_;
  store_.PermuteRows(range.First, order);
  RowsReordered(range.First, order);
  if (!SortFull()) KeepFixedColumnCells(range, order);
  FollowRowsAfterSort(range, order);
  if (remember) fileOrder_.Reordered(std::move(order));
  InvalidateGrid();
}

// Without SortFull the fixed columns label places, not rows: their cells go
// back to the places they had.
void TCellGrid::KeepFixedColumnCells(const TSortRange& range, const std::vector<std::uint32_t>& order) {
  for (int col = 0; col < FixedCols(); ++col) {
    const int dataCol = DisplayToDataColumn(col);
    std::vector<std::string> moved(order.size());
    for (std::size_t place = 0; place < order.size(); ++place)
      moved[place] = store_.Text(dataCol, range.First + static_cast<int>(place));
    for (std::size_t place = 0; place < order.size(); ++place)
      store_.SetText(dataCol, range.First + static_cast<int>(order[place]), moved[place]);
  }
}

// The current cell stays on its row wherever the row went. A selection of
// one row goes with it; a selection of several rows cannot follow rows that
// part, so it shrinks to the current cell rather than cover other rows.
// Rows marked one by one keep their marks.
void TCellGrid::FollowRowsAfterSort(const TSortRange& range, const std::vector<std::uint32_t>& order) {
  rowSelection_.RowsPermuted(range.First, order);
  const int current = Row();
  const TGridRect selection = Selection();
  if (current < range.First || current >= range.First + range.Count) return;
  const auto found = std::find(order.begin(), order.end(), static_cast<std::uint32_t>(current - range.First));
  const int row = range.First + static_cast<int>(found - order.begin());
  session_.RowsReordered(range.First, range.Count, current, row);
  // Set as a program sets it: no handler may keep the cell on a row that
  // now holds other data.
  const bool wholeRow = selection.Top == selection.Bottom && selection.Left == Col();
  SetSelection({Col(), row, wholeRow ? selection.Right : Col(), row});
}

void TCellGrid::UpdateSortMarks() {
  sortMarks_.clear();
  for (std::size_t i = 0; i < sortKeys_.size(); ++i)
    sortMarks_.push_back({sortKeys_[i].Col, static_cast<int>(i) + 1, sortKeys_[i].Direction == sdDescending});
  InvalidateGrid();
}

}  // namespace kelvora
