#pragma once

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "grid/store/cell_row.h"
#include "toolkit/color.h"

namespace kelvora {

// The cells of the grid, addressed (column, row) from zero. Each cell has a
// text of any bytes, and may have an object (a cell graphic, never freed here
// unless a visitor is handed one) and a colour (clNone when it has none).
// A cell that was never written reads as empty, without object or colour, and
// a cell is kept whatever the grid's counts are.
//
// Rows from 0 up to a dense end sit in a vector indexed by row, so the grid's
// usual million rows read in constant time and a removed row is one slot
// moved. Rows written far beyond all others go to an ordered map instead,
// and join the vector once enough rows are stored to make its empty slots
// cheap; a single cell at row 2147483646 thus costs one map node.
//
// Indices are checked by the grid before they get here: both are between 0
// and kMaxIndex.
class TCellStore {
 public:
  static constexpr int kMaxIndex = 2147483646;

  TCellStore() = default;
  ~TCellStore();
  TCellStore(const TCellStore&) = delete;
  TCellStore& operator=(const TCellStore&) = delete;

  // Trades every cell with the other store, in constant time: a file read
  // into a store of its own takes the grid's place only once it is whole.
  void Swap(TCellStore& other) noexcept {
    pool_.Swap(other.pool_);
    dense_.swap(other.dense_);
    far_.swap(other.far_);
    std::swap(storedRows_, other.storedRows_);
    std::swap(columnHint_, other.columnHint_);
  }

  // Rows created from now on reserve room for this many columns (the grid's
  // column count), up to a modest width.
  void SetColumnCapacityHint(int columns) { columnHint_ = columns; }

  // The view stays valid until the store is next changed.
  std::string_view TextView(int col, int row) const {
    const TCellRow cells = FindRow(row);
    return cells ? cells.Text(col) : std::string_view();
  }
  // The texts of columns fromCol..toCol of one row, looked up once for the
  // row: for writers that walk whole rows. Views as for TextView.
  void RowTextViews(int row, int fromCol, int toCol, std::string_view* out) const {
    const TCellRow cells = FindRow(row);
    for (int col = fromCol; col <= toCol; ++col) *out++ = cells ? cells.Text(col) : std::string_view();
  }
  // The same as packed texts (TPackedText); false when a text among them is
  // a long one.
  bool RowInlineWords(int row, int fromCol, int toCol, std::uint64_t* out) const {
    const TCellRow cells = FindRow(row);
    if (cells) return cells.InlineWords(fromCol, toCol, out);
    std::fill(out, out + (toCol - fromCol + 1), TCellText::kEmptyWord);
    return true;
  }
  // Starts bringing the cell toward the processor, for a walk down a column
  // that will read it shortly; changes nothing.
  void PrefetchCell(int col, int row) const {
    if (InDense(row)) dense_[row].Prefetch(col);
  }
  std::string Text(int col, int row) const { return std::string(TextView(col, row)); }
  bool HasText(int col, int row) const { return !TextView(col, row).empty(); }
  // The text may be a view of a cell of this store, even of the same cell.
  void SetText(int col, int row, std::string_view text) {
    assert(col >= 0 && col <= kMaxIndex && row >= 0 && row <= kMaxIndex);
    if (InDense(row) && dense_[row] && dense_[row].SetTextInPlace(col, text)) return;
    SetTextChangingRow(col, row, text);
  }

  void* Object(int col, int row) const;
  void SetObject(int col, int row, void* object);
  TColor Color(int col, int row) const;
  // Whether any cell of the row has an object or a colour.
  bool RowHasAttributes(int row) const {
    const TCellRow cells = FindRow(row);
    return cells && cells.HasAttributes();
  }
  void SetColor(int col, int row, TColor color);

  // The rows below move up by count; texts, objects and colours move with them.
  // Objects of the removed rows are not freed: the grid erases them first.
  void RemoveRows(int first, int count);
  // The rows from `at` on move down by count. False, changing nothing, when
  // a stored row would move past kMaxIndex.
  [[nodiscard]] bool InsertRows(int at, int count);
  // The row at `from` goes to `to`; the rows in between close up behind it.
  void MoveRow(int from, int to);
  // Rows first .. first + order.size() - 1 are reordered: the row at
  // first + order[i] goes to first + i, whole, with texts, objects and
  // colours. `order` must be a permutation of 0 .. size - 1. A failure to
  // allocate leaves the rows as they were.
  void PermuteRows(int first, std::span<const std::uint32_t> order);
  // Empties every text in the range (both ends included) and shows each
  // object in it to the visitor, which may release it. Without a visitor,
  // objects stay. An empty range does nothing.
  void EraseRange(int fromCol, int fromRow, int toCol, int toRow,
                  const TCellObjectVisitor& releaseObject = {});
  // Drops every cell, after showing each object to the visitor when there is one.
  void Clear(const TCellObjectVisitor& releaseObject = {});

  bool Empty() const { return storedRows_ == 0; }
  std::int64_t StoredRowCount() const { return storedRows_; }
  // Memory held for row blocks, in use or kept for reuse.
  std::size_t RowBlockBytes() const { return pool_.ChunkBytes(); }
  // One past the last row that holds anything; 0 when nothing is stored.
  int RowEnd() const;

  // The non-empty texts of one row, in column order.
  void ForEachTextInRow(int row, const TCellTextVisitor& visit) const;
  // The non-empty texts of one column from fromRow to toRow, in row order.
  // Costs the rows stored in the range, not the width of the range.
  void ForEachTextInColumn(int col, int fromRow, int toRow, const TCellTextVisitor& visit) const;

  // An empty string when every invariant holds, else what is broken.
  std::string CheckConsistency() const;

 private:
  using FarRows = std::map<int, TCellRow>;

  // No row (a false handle) when nothing is stored in the row.
  TCellRow FindRow(int row) const {
    assert(row >= 0 && row <= kMaxIndex);
    if (static_cast<std::size_t>(row) < dense_.size()) return dense_[row];
    return far_.empty() ? TCellRow() : FindFarRow(row);
  }
  TCellRow FindFarRow(int row) const;
  TCellRow* FindSlot(int row);
  bool InDense(int row) const { return static_cast<std::size_t>(row) < dense_.size(); }
  std::int64_t DenseLimit() const;

  void SetTextChangingRow(int col, int row, std::string_view text);
  template <typename Change, typename Capacity>
  void ChangeRow(int row, bool addsContent, Change change, Capacity newRowCapacity);
  void AddRow(int row, TCellRow created);
  void DropRow(int row) noexcept;
  void FreeRows(int first, std::int64_t end) noexcept;
  void CloseGap(int first, std::int64_t count) noexcept;
  void OpenGap(int at, std::int64_t count);
  void OpenSlotInDense(int at) noexcept;
  void ShiftFarRows(int fromRow, std::int64_t delta) noexcept;
  void RotateDense(int from, int to) noexcept;
  void PermuteDense(int first, std::span<const std::uint32_t> order);
  void PermuteAcrossFarRows(int first, std::span<const std::uint32_t> order);
  FarRows::node_type DetachRow(int row);
  void AttachRow(int row, FarRows::node_type node) noexcept;
  // Run after every change: keeps the invariants that CheckConsistency tests.
  void Tidy() noexcept;
  void AbsorbFarRows() noexcept;
  void DestroyAll() noexcept;

  using RowTable = std::vector<TCellRow, TRowTableAllocator<TCellRow>>;

  TRowBlockPool pool_;  // first in, last out: every row's block comes from it
  RowTable dense_;  // no row where nothing is held; never ends in an empty slot
  FarRows far_;                   // keys past the dense rows and past DenseLimit()
  std::int64_t storedRows_ = 0;
  int columnHint_ = 0;
};

}  // namespace kelvora
