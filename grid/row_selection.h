#pragma once

#include <algorithm>
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
  bool Empty() const { return rows_.empty(); }

 private:
  std::vector<int> rows_;
};

}  // namespace kelvora
