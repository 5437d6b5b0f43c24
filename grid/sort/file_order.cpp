#include "grid/sort/file_order.h"

#include <algorithm>
#include <numeric>

namespace kelvora {

void TFileOrder::Extend(std::size_t rows) {
  if (ranks_.size() >= rows) return;
  const std::uint32_t next = ranks_.empty() ? 0 : *std::max_element(ranks_.begin(), ranks_.end()) + 1;
  const std::size_t old = ranks_.size();
  ranks_.resize(rows);
  std::iota(ranks_.begin() + static_cast<std::ptrdiff_t>(old), ranks_.end(), next);
}

void TFileOrder::Reordered(std::vector<std::uint32_t>&& order) {
  if (ranks_.empty()) {
    ranks_ = std::move(order);
    return;
  }
  Extend(order.size());
  PermuteInPlace(ranks_.data(), order);
}

// Each rank above its place in one word: a plain sort of the words is a
// stable sort of the places by rank.
std::vector<std::uint32_t> TFileOrder::RestoringOrder(std::size_t rows) const {
  std::vector<std::uint64_t> words(rows);
  const std::uint64_t newer = ranks_.empty() ? 0 : *std::max_element(ranks_.begin(), ranks_.end()) + std::uint64_t{1};
  for (std::size_t place = 0; place < words.size(); ++place) {
    const std::uint64_t rank = place < ranks_.size() ? ranks_[place] : newer + place;
    words[place] = rank << 32 | place;
  }
  std::sort(words.begin(), words.end());
  std::vector<std::uint32_t> order(words.size());
  for (std::size_t place = 0; place < words.size(); ++place) order[place] = static_cast<std::uint32_t>(words[place]);
  return order;
}

void TFileOrder::RowsDeleted(std::int64_t at, std::int64_t count) {
  if (ranks_.empty() || at >= static_cast<std::int64_t>(ranks_.size()) || count <= 0) return;
  const std::int64_t first = std::max<std::int64_t>(at, 0);
  const std::int64_t last = std::min<std::int64_t>(at + count, static_cast<std::int64_t>(ranks_.size()));
  if (last <= first) return;
  ranks_.erase(ranks_.begin() + first, ranks_.begin() + last);
}

void TFileOrder::RowsInserted(std::int64_t at, std::int64_t count) {
  if (ranks_.empty() || at > static_cast<std::int64_t>(ranks_.size()) || count <= 0) return;
  const std::int64_t place = std::max<std::int64_t>(at, 0);
  const std::uint32_t rank = place > 0 ? ranks_[place - 1] : 0;
  ranks_.insert(ranks_.begin() + place, static_cast<std::size_t>(count), rank);
}

void TFileOrder::RowMoved(std::int64_t from, std::int64_t to) {
  const auto size = static_cast<std::int64_t>(ranks_.size());
  if (ranks_.empty() || from == to || from < 0 || to < 0) return;
  if (from < 0 || to < 0 || from >= size || to >= size) {
    Extend(static_cast<std::size_t>(std::max(from, to) + 1));
  }
  const auto base = ranks_.begin();
  if (from < to) std::rotate(base + from, base + from + 1, base + to + 1);
  else std::rotate(base + to, base + from, base + from + 1);
}

}  // namespace kelvora
