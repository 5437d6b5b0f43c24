#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kelvora {

// Where each row of a sorted range stood before the first sort, so that the
// file order is one step away. Places count from the first sortable row.
// Rows added later take the place of the row above them, so that they come
// back just after it; rows beyond the remembered ones are newer than all.
class TFileOrder {
 public:
  bool Active() const { return !ranks_.empty(); }
  std::size_t Size() const { return ranks_.size(); }
  // The rows at places 0..order.size()-1 were reordered by order (place i
  // took the row from order[i]). The first time, order becomes the ranks.
  void Reordered(std::vector<std::uint32_t>&& order);
  // The order that puts the first `rows` places back in file order among
  // themselves; places past the remembered ones count as the newest.
  std::vector<std::uint32_t> RestoringOrder(std::size_t rows) const;
  void Clear() { std::vector<std::uint32_t>().swap(ranks_); }

  void RowsDeleted(std::int64_t at, std::int64_t count);
  void RowsInserted(std::int64_t at, std::int64_t count);
  void RowMoved(std::int64_t from, std::int64_t to);

 private:
  void Extend(std::size_t rows);
  std::vector<std::uint32_t> ranks_;
};

// Reorders items in place: item i becomes the one that was at order[i].
// One bit a place marks the places already filled.
template <typename T>
void PermuteInPlace(T* items, std::span<const std::uint32_t> order) {
  std::vector<bool> placed(order.size());
  for (std::size_t start = 0; start < order.size(); ++start) {
    if (placed[start]) continue;
    T held = items[start];
    std::size_t at = start;
    while (true) {
      placed[at] = true;
      const std::size_t from = order[at];
      if (from == start) break;
      items[at] = items[from];
      at = from;
    }
    items[at] = held;
  }
}

}  // namespace kelvora
