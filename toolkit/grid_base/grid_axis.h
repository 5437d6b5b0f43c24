#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kelvora {

// The geometry of one axis of a grid: how many rows (or columns) there are and
// how tall (or wide) each one is. Every item has the default size unless it
// was given its own, and only those exceptions are stored, so a hundred
// million rows cost nothing and every position is computed by arithmetic over
// the exceptions alone. Each item is followed by a gap of Gap() pixels (the
// grid line). Offsets are 64-bit: a long grid is taller than 2^31 pixels.
//
// Indexes are trusted here; the grid validates them at its public face.
class TGridAxis {
 public:
  // No item is larger than this, so that a cell rectangle always fits an int.
  static constexpr int kMaxSize = 1'000'000;

  int Count() const { return count_; }
  // Clamped at 0. Items past the new count lose their own sizes.
  void SetCount(int count);

  int DefaultSize() const { return defaultSize_; }
  // Clamped to 1..kMaxSize. Every item takes the new default, as a grid does
  // when its default width changes.
  void SetDefaultSize(int size);

  int Gap() const { return gap_; }
  void SetGap(int gap);  // clamped to 0..kMaxSize

  // The default size for an index outside 0..Count()-1.
  int Size(int index) const;
  // Clamped to 0..kMaxSize.
  void SetSize(int index, int size);
  std::int64_t Extent(int index) const { return std::int64_t{Size(index)} + gap_; }

  // Where item `index` starts (0..Count(); Offset(Count()) is the total).
  std::int64_t Offset(int index) const;
  std::int64_t Total() const { return Offset(count_); }
  // The item that holds pixel `offset`: -1 before the first, Count() past
  // the last. Items of no extent hold no pixel.
  int IndexAt(std::int64_t offset) const;

  // Structural changes keep every size with its item.
  void Delete(int index);  // 0..Count()-1
  void Insert(int index);  // 0..Count(); the new item has the default size
  // The same for `count` items at once, from `index` on (1 or more, all
  // inside the count for Delete).
  void Delete(int index, int count);
  void Insert(int index, int count);
  void Move(int from, int to);  // both 0..Count()-1; `from` ends at `to`
  // The items from `first` on were reordered: the one now at first + i was
  // at first + order[i]. Their own sizes go with them.
  void Permute(int first, std::span<const std::uint32_t> order);

  int OwnSizeCount() const { return static_cast<int>(entries_.size()); }
  // True when the stored exceptions are sorted, inside the count and differ
  // from the default.
  bool CheckConsistency() const;

 private:
  struct Entry {
    int Index;
    int Size;
  };

  std::vector<Entry>::iterator Find(int index);
  std::vector<Entry>::const_iterator Find(int index) const;
  std::int64_t DefaultExtent() const { return std::int64_t{defaultSize_} + gap_; }
  // Sum of (size - default) over the first `entryCount` exceptions.
  std::int64_t DeltaBefore(std::size_t entryCount) const;
  std::int64_t EntryStart(std::size_t entry) const;
  void EnsurePrefix() const;

  int count_ = 0;
  int defaultSize_ = 24;
  int gap_ = 0;
  std::vector<Entry> entries_;  // sorted by index, sizes differ from the default
  // prefix_[p] = sum of deltas of entries_[0..p); rebuilt when stale.
  mutable std::vector<std::int64_t> prefix_{0};
  mutable bool prefixValid_ = true;
};

}  // namespace kelvora
