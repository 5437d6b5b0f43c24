#include "grid/store/cell_store.h"

#include <algorithm>
#include <iterator>
#include <new>
#include <utility>


namespace kelvora {

namespace {

// The dense part may hold this many slots per stored row, plus a fixed
// allowance. An empty slot costs eight bytes where a far row costs a map
// node of some sixty with the allocator's share, so a vector an eighth full
// costs no more than the map and is much quicker to reach; rows written
// bottom-up thus spend only their first ninth in the map. The fixed
// allowance keeps the first thousand rows plain.
constexpr std::int64_t kDenseSlotsPerRow = 8;
constexpr std::int64_t kDenseAllowance = 1024;

// Where an order made of two rising runs starts its second, as a filter's
// order (kept rows, then the rest) and a rotation are; the order's size
// when it rises throughout (a sort of sorted rows), 0 when it does neither.
std::size_t SecondRisingRun(std::span<const std::uint32_t> order) {
  std::size_t split = 1;
  while (split < order.size() && order[split - 1] < order[split]) ++split;
  if (split == order.size()) return split;
  for (std::size_t place = split + 1; place < order.size(); ++place)
    if (order[place - 1] > order[place]) return 0;
  return split;
}

// Each run's rows keep their order, so the first run can close up forwards
// and the second backwards over the places they leave; only the shorter run
// needs room of its own while the other moves.
void MoveTwoRisingRuns(TCellRow* rows, std::span<const std::uint32_t> order, std::size_t split) {
  const std::size_t size = order.size();
  if (split <= size - split) {
    std::vector<TCellRow> front(split);
    for (std::size_t place = 0; place < split; ++place) front[place] = rows[order[place]];
    for (std::size_t place = size; place-- > split;) rows[place] = rows[order[place]];
    std::copy(front.begin(), front.end(), rows);
  } else {
    std::vector<TCellRow> back(size - split);
    for (std::size_t place = split; place < size; ++place) back[place - split] = rows[order[place]];
    for (std::size_t place = 0; place < split; ++place) rows[place] = rows[order[place]];
    std::copy(back.begin(), back.end(), rows + split);
  }
}

}  // namespace

TCellStore::~TCellStore() { DestroyAll(); }

// ---- Reading ---------------------------------------------------------------

TCellRow TCellStore::FindFarRow(int row) const {
  const auto found = far_.find(row);
  return found == far_.end() ? TCellRow() : found->second;
}

TCellRow* TCellStore::FindSlot(int row) {
  if (InDense(row)) return dense_[row] ? &dense_[row] : nullptr;
  const auto found = far_.find(row);
  return found == far_.end() ? nullptr : &found->second;
}

void* TCellStore::Object(int col, int row) const {
  const TCellRow cells = FindRow(row);
  return cells ? cells.Attributes(col).Object : nullptr;
}

TColor TCellStore::Color(int col, int row) const {
  const TCellRow cells = FindRow(row);
  return cells ? cells.Attributes(col).Color : clNone;
}

int TCellStore::RowEnd() const {
  if (!far_.empty()) return far_.rbegin()->first + 1;
  return static_cast<int>(dense_.size());
}

void TCellStore::ForEachTextInRow(int row, const TCellTextVisitor& visit) const {
  if (const TCellRow cells = FindRow(row)) cells.ForEachText(visit);
}

void TCellStore::ForEachTextInColumn(int col, int fromRow, int toRow, const TCellTextVisitor& visit) const {
  if (toRow < fromRow) return;
  const std::int64_t denseStop = std::min<std::int64_t>(std::int64_t{toRow} + 1, dense_.size());
  for (std::int64_t row = fromRow; row < denseStop; ++row) {
    if (!dense_[row]) continue;
    const std::string_view text = dense_[row].Text(col);
    if (!text.empty()) visit(static_cast<int>(row), text);
  }
  for (auto it = far_.lower_bound(fromRow); it != far_.end() && it->first <= toRow; ++it) {
    const std::string_view text = it->second.Text(col);
    if (!text.empty()) visit(it->first, text);
  }
}

// ---- Writing cells ---------------------------------------------------------

// Any write that may create, grow, shrink or free the row.
void TCellStore::SetTextChangingRow(int col, int row, std::string_view text) {
  ChangeRow(row, !text.empty(), [&](TCellRow& cells) { cells.SetText(pool_, col, text, columnHint_); },
            [&] { return TCellRow::InitialCapacity(col, columnHint_); });
}

void TCellStore::SetObject(int col, int row, void* object) {
  assert(col >= 0 && col <= kMaxIndex);
  ChangeRow(row, object != nullptr, [&](TCellRow& cells) { cells.SetObject(pool_, col, object); }, [] { return 0; });
}

void TCellStore::SetColor(int col, int row, TColor color) {
  assert(col >= 0 && col <= kMaxIndex);
  ChangeRow(row, color != clNone, [&](TCellRow& cells) { cells.SetColor(pool_, col, color); }, [] { return 0; });
}

// A change to a row that holds nothing creates the row only when the change
// stores something, and a row left holding nothing is freed, so emptying
// cells gives their memory back.
template <typename Change, typename Capacity>
void TCellStore::ChangeRow(int row, bool addsContent, Change change, Capacity newRowCapacity) {
  assert(row >= 0 && row <= kMaxIndex);
  if (TCellRow* slot = FindSlot(row)) {
    change(*slot);
    if (slot->Empty()) DropRow(row);
  } else if (addsContent) {
    TCellRow created = TCellRow::Create(pool_, newRowCapacity());
    try {
      change(created);
    } catch (...) {
      TCellRow::Destroy(pool_, created);
      throw;
    }
    AddRow(row, created);
  }
  Tidy();
}

void TCellStore::AddRow(int row, TCellRow created) {
  ++storedRows_;
  try {
    if (InDense(row)) {
      dense_[row] = created;
    } else if (static_cast<std::size_t>(row) == dense_.size() && row < DenseLimit()) {
      dense_.push_back(created);
    } else if (row < DenseLimit()) {
      dense_.resize(static_cast<std::size_t>(row) + 1);
      dense_[row] = created;
    } else {
      far_.emplace(row, created);
    }
  } catch (...) {
    --storedRows_;
    TCellRow::Destroy(pool_, created);
    throw;
  }
}

void TCellStore::DropRow(int row) noexcept {
  if (InDense(row)) {
    TCellRow::Destroy(pool_, std::exchange(dense_[row], TCellRow()));
  } else {
    const auto found = far_.find(row);
    TCellRow::Destroy(pool_, found->second);
    far_.erase(found);
  }
  --storedRows_;
}

// ---- Moving rows -----------------------------------------------------------

void TCellStore::RemoveRows(int first, int count) {
  assert(first >= 0 && first <= kMaxIndex);
  if (count <= 0) return;
  const std::int64_t end = std::min<std::int64_t>(std::int64_t{first} + count, std::int64_t{kMaxIndex} + 1);
  FreeRows(first, end);
  CloseGap(first, end - first);
  Tidy();
}

bool TCellStore::InsertRows(int at, int count) {
  assert(at >= 0 && at <= kMaxIndex);
  if (count <= 0) return true;
  const int end = RowEnd();
  if (end > at && std::int64_t{end} - 1 + count > kMaxIndex) return false;
  OpenGap(at, count);
  Tidy();
  return true;
}

void TCellStore::MoveRow(int from, int to) {
  assert(from >= 0 && from <= kMaxIndex && to >= 0 && to <= kMaxIndex);
  if (from == to) return;
  if (InDense(from) && InDense(to)) {
    RotateDense(from, to);
  } else {
    // Everything that may fail to allocate comes first, so that a failure
    // leaves the rows as they were.
    const std::size_t denseNeeded = to < DenseLimit() ? static_cast<std::size_t>(to) + 1 : 0;
    dense_.reserve(std::max(dense_.size() + 1, denseNeeded));
    FarRows::node_type moving = DetachRow(from);
    CloseGap(from, 1);
    if (InDense(to)) OpenSlotInDense(to);
    ShiftFarRows(to, 1);
    AttachRow(to, std::move(moving));
  }
  Tidy();
}

void TCellStore::PermuteRows(int first, std::span<const std::uint32_t> order) {
  assert(first >= 0 && std::int64_t{first} + static_cast<std::int64_t>(order.size()) <= std::int64_t{kMaxIndex} + 1);
  if (order.empty()) return;
  const std::int64_t end = std::int64_t{first} + static_cast<std::int64_t>(order.size());
  const bool farInRange = !far_.empty() && far_.begin()->first < end && far_.rbegin()->first >= first;
  if (!farInRange && end <= static_cast<std::int64_t>(dense_.size())) PermuteDense(first, order);
  else PermuteAcrossFarRows(first, order);
  Tidy();
}

// Gathered into a second table of the rows, which reads them in the order's
// own sequence, or for two rising runs moved in place beside a copy of the
// shorter run. Without room for either, cycle by cycle in place, one bit a
// row marking the rows already placed.
void TCellStore::PermuteDense(int first, std::span<const std::uint32_t> order) {
  TCellRow* rows = dense_.data() + first;
  try {
    if (const std::size_t split = SecondRisingRun(order)) return MoveTwoRisingRuns(rows, order, split);
    std::vector<TCellRow> gathered(order.size());
    for (std::size_t place = 0; place < order.size(); ++place) gathered[place] = rows[order[place]];
    std::copy(gathered.begin(), gathered.end(), rows);
    return;
  } catch (const std::bad_alloc&) {
  }
  std::vector<bool> placed(order.size());
  for (std::size_t start = 0; start < order.size(); ++start) {
    if (placed[start]) continue;
    const TCellRow held = rows[start];
    std::size_t at = start;
    while (true) {
      placed[at] = true;
      const std::size_t from = order[at];
      if (from == start) break;
      rows[at] = rows[from];
      at = from;
    }
    rows[at] = held;
  }
}

// Some of the rows are far rows, or past the dense ones: every stored row of
// the range is taken out and put back at its new place. The nodes that the
// far places need are made first, so nothing has moved when one fails.
void TCellStore::PermuteAcrossFarRows(int first, std::span<const std::uint32_t> order) {
  const std::int64_t end = std::int64_t{first} + static_cast<std::int64_t>(order.size());
  const auto stored = [&](std::int64_t row) { return static_cast<bool>(FindRow(static_cast<int>(row))); };
  const std::int64_t denseStop = std::min<std::int64_t>(end, static_cast<std::int64_t>(dense_.size()));
  std::vector<TCellRow> taken(order.size());
  FarRows spare;
  for (std::int64_t place = std::max<std::int64_t>(denseStop, first); place < end; ++place) {
    if (stored(first + order[place - first])) spare.emplace(static_cast<int>(place), TCellRow());
  }
  for (std::int64_t row = first; row < denseStop; ++row) taken[row - first] = std::exchange(dense_[row], TCellRow());
  for (auto it = far_.lower_bound(first); it != far_.end() && it->first < end;) {
    taken[it->first - first] = it->second;
    it = far_.erase(it);
  }
  for (std::int64_t place = first; place < denseStop; ++place) dense_[place] = taken[order[place - first]];
  while (!spare.empty()) {
    FarRows::node_type node = spare.extract(spare.begin());
    node.mapped() = taken[order[node.key() - first]];
    far_.insert(std::move(node));
  }
}

void TCellStore::FreeRows(int first, std::int64_t end) noexcept {
  const std::int64_t denseStop = std::min<std::int64_t>(end, dense_.size());
  for (std::int64_t row = first; row < denseStop; ++row) {
    if (!dense_[row]) continue;
    TCellRow::Destroy(pool_, std::exchange(dense_[row], TCellRow()));
    --storedRows_;
  }
  const auto from = far_.lower_bound(first);
  const auto to = end > kMaxIndex ? far_.end() : far_.lower_bound(static_cast<int>(end));
  for (auto it = from; it != to; ++it) {
    TCellRow::Destroy(pool_, it->second);
    --storedRows_;
  }
  far_.erase(from, to);
}

// The rows first .. first + count - 1 hold nothing; the rows below move up over them.
void TCellStore::CloseGap(int first, std::int64_t count) noexcept {
  if (InDense(first)) {
    const std::size_t denseStop = std::min<std::size_t>(first + count, dense_.size());
    dense_.erase(dense_.begin() + first, dense_.begin() + static_cast<std::ptrdiff_t>(denseStop));
  }
  if (std::int64_t{first} + count <= kMaxIndex) ShiftFarRows(static_cast<int>(first + count), -count);
}

// The rows from `at` on move down by count; the caller has made sure none
// moves past kMaxIndex.
void TCellStore::OpenGap(int at, std::int64_t count) {
  if (!InDense(at)) {
    ShiftFarRows(at, count);
    return;
  }
  if (static_cast<std::int64_t>(dense_.size()) + count <= DenseLimit()) {
    dense_.insert(dense_.begin() + at, static_cast<std::size_t>(count), TCellRow());
    ShiftFarRows(at, count);
    return;
  }
  // So many empty rows would make the dense part mostly holes: the rows below
  // the gap become far rows instead. Their nodes are made before anything
  // moves, so a failure to allocate them changes nothing.
  FarRows spilled;
  for (std::size_t row = at; row < dense_.size(); ++row) {
    if (dense_[row]) spilled.emplace_hint(spilled.end(), static_cast<int>(row + count), dense_[row]);
  }
  ShiftFarRows(at, count);
  far_.merge(spilled);
  dense_.resize(at);
}

void TCellStore::OpenSlotInDense(int at) noexcept {
  // MoveRow has reserved the room, so this cannot allocate.
  dense_.insert(dense_.begin() + at, TCellRow());
}

// Adds delta to every far key from fromRow on. The order of the moved keys
// among themselves and against the rest stays the same, so each node goes
// back beside its neighbour without a search and without an allocation.
void TCellStore::ShiftFarRows(int fromRow, std::int64_t delta) noexcept {
  if (delta < 0) {
    for (auto it = far_.lower_bound(fromRow); it != far_.end();) {
      const auto next = std::next(it);
      FarRows::node_type node = far_.extract(it);
      node.key() = static_cast<int>(node.key() + delta);
      far_.insert(next, std::move(node));
      it = next;
    }
    return;
  }
  for (auto it = far_.end(); it != far_.begin();) {
    const auto current = std::prev(it);
    if (current->first < fromRow) break;
    FarRows::node_type node = far_.extract(current);
    node.key() = static_cast<int>(node.key() + delta);
    it = far_.insert(it, std::move(node));
  }
}

void TCellStore::RotateDense(int from, int to) noexcept {
  const auto base = dense_.begin();
  if (from < to) {
    std::rotate(base + from, base + from + 1, base + to + 1);
  } else {
    std::rotate(base + to, base + from, base + from + 1);
  }
}

// Takes the row out of its place, leaving an empty row there. A dense row
// comes back in a map node of its own, so that it can later become a far
// row without an allocation. A row that holds nothing gives an empty handle.
TCellStore::FarRows::node_type TCellStore::DetachRow(int row) {
  if (!InDense(row)) return far_.extract(row);
  if (!dense_[row]) return {};
  FarRows holder;
  holder.emplace(row, dense_[row]);
  dense_[row] = TCellRow();
  return holder.extract(holder.begin());
}

void TCellStore::AttachRow(int row, FarRows::node_type node) noexcept {
  if (node.empty()) return;
  if (InDense(row)) {
    dense_[row] = node.mapped();
  } else if (row < DenseLimit()) {
    // MoveRow has reserved the room, so this cannot allocate.
    dense_.resize(static_cast<std::size_t>(row) + 1);
    dense_[row] = node.mapped();
  } else {
    node.key() = row;
    far_.insert(std::move(node));
  }
}

// ---- Erasing ---------------------------------------------------------------

void TCellStore::EraseRange(int fromCol, int fromRow, int toCol, int toRow, const TCellObjectVisitor& releaseObject) {
  if (toRow < fromRow || toCol < fromCol) return;
  assert(fromCol >= 0 && fromRow >= 0);
  const std::int64_t denseStop = std::min<std::int64_t>(std::int64_t{toRow} + 1, dense_.size());
  for (std::int64_t row = fromRow; row < denseStop; ++row) {
    TCellRow& cells = dense_[row];
    if (!cells) continue;
    cells.EraseColumns(fromCol, toCol, static_cast<int>(row), releaseObject);
    if (!cells.Empty()) continue;
    TCellRow::Destroy(pool_, std::exchange(cells, TCellRow()));
    --storedRows_;
  }
  for (auto it = far_.lower_bound(fromRow); it != far_.end() && it->first <= toRow;) {
    it->second.EraseColumns(fromCol, toCol, it->first, releaseObject);
    if (!it->second.Empty()) {
      ++it;
      continue;
    }
    TCellRow::Destroy(pool_, it->second);
    --storedRows_;
    it = far_.erase(it);
  }
  Tidy();
}

void TCellStore::Clear(const TCellObjectVisitor& releaseObject) {
  if (releaseObject) {
    for (std::size_t row = 0; row < dense_.size(); ++row) {
      if (dense_[row]) dense_[row].VisitObjects(static_cast<int>(row), releaseObject);
    }
    for (const auto& [row, cells] : far_) cells.VisitObjects(row, releaseObject);
  }
  DestroyAll();
}

void TCellStore::DestroyAll() noexcept {
  for (const TCellRow cells : dense_) TCellRow::Destroy(pool_, cells);
  for (const auto& entry : far_) TCellRow::Destroy(pool_, entry.second);
  RowTable().swap(dense_);
  far_.clear();
  storedRows_ = 0;
  pool_.ReleaseAll();
}

// ---- Keeping the shape -----------------------------------------------------

std::int64_t TCellStore::DenseLimit() const {
  return std::min<std::int64_t>(kDenseSlotsPerRow * (storedRows_ + 1) + kDenseAllowance,
                                std::int64_t{kMaxIndex} + 1);
}

void TCellStore::Tidy() noexcept {
  while (!dense_.empty() && !dense_.back()) dense_.pop_back();
  if (!far_.empty()) AbsorbFarRows();
  if (storedRows_ == 0) {
    RowTable().swap(dense_);
    pool_.ReleaseAll();
  }
}

// Far rows that the dense part may now reach join it, so that rows written
// bottom-up end in the vector like rows written top-down. Each row joins at
// most once, which keeps any order of writes linear.
void TCellStore::AbsorbFarRows() noexcept {
  if (far_.empty()) return;
  const auto past = far_.lower_bound(static_cast<int>(DenseLimit()));
  if (past == far_.begin()) return;
  try {
    dense_.resize(static_cast<std::size_t>(std::prev(past)->first) + 1);
  } catch (const std::bad_alloc&) {
    return;  // The rows stay far: slower to move, but every cell is still there.
  }
  for (auto it = far_.begin(); it != past; ++it) dense_[it->first] = it->second;
  far_.erase(far_.begin(), past);
}

std::string TCellStore::CheckConsistency() const {
  if (!dense_.empty() && !dense_.back()) return "the dense rows end in an empty slot";
  std::int64_t held = 0;
  for (std::size_t row = 0; row < dense_.size(); ++row) {
    if (!dense_[row]) continue;
    ++held;
    if (dense_[row].Empty()) return "row " + std::to_string(row) + " is kept but holds nothing";
    const std::string problem = dense_[row].CheckConsistency();
    if (!problem.empty()) return "row " + std::to_string(row) + ": " + problem;
  }
  for (const auto& [row, cells] : far_) {
    ++held;
    if (row < 0 || row > kMaxIndex) return "far row " + std::to_string(row) + " is out of range";
    if (InDense(row)) return "far row " + std::to_string(row) + " overlaps the dense rows";
    if (row < DenseLimit()) return "far row " + std::to_string(row) + " should have joined the dense rows";
    if (!cells || cells.Empty()) return "far row " + std::to_string(row) + " is kept but holds nothing";
    const std::string problem = cells.CheckConsistency();
    if (!problem.empty()) return "far row " + std::to_string(row) + ": " + problem;
  }
  if (held != storedRows_) {
    return "the store counts " + std::to_string(storedRows_) + " rows but holds " + std::to_string(held);
  }
  return {};
}

}  // namespace kelvora
