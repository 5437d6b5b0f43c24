#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kelvora {

// The rows of a disjoint row selection, in order. The mouse handling fills
// it; painting asks it about every row it paints, so the rows are kept
// sorted for a binary search.
class TRowSelection {
 public:
  bool Contains(int row) const { return std::binary_search(rows_.begin(), rows_.end(), row); }
  void Set(int row, bool selected) {
    const auto at = std::lower_bound(rows_.begin(), rows_.end(), row);
    const bool present = at != rows_.end() && *at == row;
    if (selected && !present) rows_.insert(at, row);
    if (!selected && present) rows_.erase(at);
  }
  void Clear() { rows_.clear(); }
  // The rows keep their marks when rows above them go or come.
  void RowsDeleted(int first, int count) {
    const auto from = std::lower_bound(rows_.begin(), rows_.end(), first);
    const auto to = std::lower_bound(from, rows_.end(), first + count);
    for (auto it = rows_.erase(from, to); it != rows_.end(); ++it) *it -= count;
  }
  void RowsInserted(int at, int count) {
    for (auto it = std::lower_bound(rows_.begin(), rows_.end(), at); it != rows_.end(); ++it) *it += count;
  }
  // A sort moved the rows from `first` on: the row now at first + i was at
  // first + order[i]. The marks go with their rows.
  void RowsPermuted(int first, const std::vector<std::uint32_t>& order) {
    const auto from = std::lower_bound(rows_.begin(), rows_.end(), first);
    const auto to = std::lower_bound(from, rows_.end(), first + static_cast<std::int64_t>(order.size()));
    if (from == to) return;
    std::vector<std::uint32_t> placeNow(order.size());
    for (std::uint32_t i = 0; i < order.size(); ++i) placeNow[order[i]] = i;
    for (auto it = from; it != to; ++it) *it = first + static_cast<int>(placeNow[*it - first]);
    std::sort(from, to);
  }
  bool Empty() const { return rows_.empty(); }

 private:
  std::vector<int> rows_;
};

}  // namespace kelvora
