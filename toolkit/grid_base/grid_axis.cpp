#include "toolkit/grid_base/grid_axis.h"

#include <algorithm>

namespace kelvora {
namespace {

int Clamp(int value, int low, int high) { return std::min(std::max(value, low), high); }

}  // namespace

void TGridAxis::SetCount(int count) {
  count_ = std::max(count, 0);
  const auto firstGone = std::lower_bound(entries_.begin(), entries_.end(), count_,
                                          [](const Entry& e, int i) { return e.Index < i; });
  if (firstGone == entries_.end()) return;
  entries_.erase(firstGone, entries_.end());
  prefixValid_ = false;
}

void TGridAxis::SetDefaultSize(int size) {
  defaultSize_ = Clamp(size, 1, kMaxSize);
  entries_.clear();
  prefixValid_ = false;
}

void TGridAxis::SetGap(int gap) { gap_ = Clamp(gap, 0, kMaxSize); }

std::vector<TGridAxis::Entry>::iterator TGridAxis::Find(int index) {
  return std::lower_bound(entries_.begin(), entries_.end(), index,
                          [](const Entry& e, int i) { return e.Index < i; });
}

std::vector<TGridAxis::Entry>::const_iterator TGridAxis::Find(int index) const {
  return std::lower_bound(entries_.begin(), entries_.end(), index,
                          [](const Entry& e, int i) { return e.Index < i; });
}

int TGridAxis::Size(int index) const {
  const auto it = Find(index);
  return (it != entries_.end() && it->Index == index) ? it->Size : defaultSize_;
}

void TGridAxis::SetSize(int index, int size) {
  size = Clamp(size, 0, kMaxSize);
  const auto it = Find(index);
  const bool present = it != entries_.end() && it->Index == index;
  if (present && size == defaultSize_) {
    entries_.erase(it);
  } else if (present) {
    it->Size = size;
  } else if (size != defaultSize_) {
    const bool appended = it == entries_.end();
    entries_.insert(it, Entry{index, size});
    // Filling sizes from the first item to the last is the common case; it
    // extends the running sums instead of rebuilding them.
    if (appended && prefixValid_) {
      prefix_.push_back(prefix_.back() + (size - defaultSize_));
      return;
    }
  } else {
    return;
  }
  prefixValid_ = false;
}

void TGridAxis::EnsurePrefix() const {
  if (prefixValid_) return;
  prefix_.assign(entries_.size() + 1, 0);
  for (std::size_t p = 0; p < entries_.size(); ++p)
    prefix_[p + 1] = prefix_[p] + (entries_[p].Size - defaultSize_);
  prefixValid_ = true;
}

std::int64_t TGridAxis::DeltaBefore(std::size_t entryCount) const {
  EnsurePrefix();
  return prefix_[entryCount];
}

std::int64_t TGridAxis::EntryStart(std::size_t entry) const {
  return entries_[entry].Index * DefaultExtent() + DeltaBefore(entry);
}

std::int64_t TGridAxis::Offset(int index) const {
  index = Clamp(index, 0, count_);
  const auto before = static_cast<std::size_t>(Find(index) - entries_.begin());
  return index * DefaultExtent() + DeltaBefore(before);
}

int TGridAxis::IndexAt(std::int64_t offset) const {
  if (offset < 0) return -1;
  if (offset >= Total()) return count_;
  // The last exception that starts at or before the offset; the items after
  // it up to the next exception all have the default extent.
  std::size_t low = 0;
  std::size_t high = entries_.size();
  while (low < high) {
    const std::size_t mid = low + (high - low) / 2;
    if (EntryStart(mid) <= offset) low = mid + 1;
    else high = mid;
  }
  if (low == 0) return static_cast<int>(offset / DefaultExtent());
  const std::size_t p = low - 1;
  const std::int64_t end = EntryStart(p) + entries_[p].Size + gap_;
  if (offset < end) return entries_[p].Index;
  return static_cast<int>(entries_[p].Index + 1 + (offset - end) / DefaultExtent());
}

void TGridAxis::Delete(int index) { Delete(index, 1); }

// The own sizes of the deleted items go; the later ones close up behind them.
void TGridAxis::Delete(int index, int count) {
  const auto first = Find(index);
  const auto last = Find(index + count);
  if (first != last) prefixValid_ = false;
  for (auto it = entries_.erase(first, last); it != entries_.end(); ++it) it->Index -= count;
  count_ -= count;
}

void TGridAxis::Insert(int index) { Insert(index, 1); }

void TGridAxis::Insert(int index, int count) {
  for (auto it = Find(index); it != entries_.end(); ++it) it->Index += count;
  count_ += count;
}

void TGridAxis::Move(int from, int to) {
  if (from == to) return;
  const int size = Size(from);
  Delete(from);
  Insert(to);
  SetSize(to, size);
}

void TGridAxis::Permute(int first, std::span<const std::uint32_t> order) {
  const auto from = Find(first);
  const auto to = Find(static_cast<int>(std::min<std::int64_t>(first + static_cast<std::int64_t>(order.size()), count_)));
  if (from == to) return;
  std::vector<std::uint32_t> placeNow(order.size());
  for (std::uint32_t place = 0; place < order.size(); ++place) placeNow[order[place]] = place;
  for (auto it = from; it != to; ++it) it->Index = first + static_cast<int>(placeNow[it->Index - first]);
  std::sort(from, to, [](const Entry& a, const Entry& b) { return a.Index < b.Index; });
  prefixValid_ = false;
}

bool TGridAxis::CheckConsistency() const {
  for (std::size_t p = 0; p < entries_.size(); ++p) {
    const Entry& e = entries_[p];
    if (e.Index < 0 || e.Index >= count_) return false;
    if (e.Size == defaultSize_ || e.Size < 0 || e.Size > kMaxSize) return false;
    if (p > 0 && entries_[p - 1].Index >= e.Index) return false;
  }
  return true;
}

}  // namespace kelvora
