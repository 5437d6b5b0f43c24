#include "grid/store/cell_row.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <utility>

namespace kelvora {

namespace {

// A new row reserves room for at least this many columns, so that a row
// written left to right does not grow for each of its first cells. Growth
// keeps the capacity odd (3, 7, 15, ...): a block too big for the pool comes
// from the general heap, and such a wide row's 16-byte header, 8 bytes a cell
// and the allocator's own 8 bytes then fill the heap's 16-byte steps exactly.
constexpr int kMinCapacity = 3;
// The grid's column count is taken as a capacity hint only up to here: a
// row that really has thousands of columns grows to them as they are written.
constexpr int kMaxHintedCapacity = 256;
// Any row may spread its array this wide, however few texts it holds. A
// plain row this narrow keeps no count of its texts: looking at its cells
// answers whether it is empty as quickly as a count would be kept.
constexpr int kSmallRowColumns = 32;
// Past the small width, the array may reach at most this many columns for
// each text the row holds. Sparser texts stay in the side part, so a single
// text far to the right never costs a wide array.
constexpr std::int64_t kArrayColumnsPerText = 4;

int ArrayLimit(std::int64_t liveTexts) {
  const std::int64_t limit = std::max<std::int64_t>(kSmallRowColumns, kArrayColumnsPerText * liveTexts);
  return static_cast<int>(std::min<std::int64_t>(limit, TCellRow::kMaxArrayColumns));
}

}  // namespace

struct TCellRow::Extras {
  std::map<int, TCellText> farTexts;  // columns at or past the array's end
  std::map<int, TCellAttributes> attributes;

  bool Empty() const { return farTexts.empty() && attributes.empty(); }
};

// ---- The block -------------------------------------------------------------

// A row without an array has nothing but its header, and a wide one keeps
// the count of its texts there.
bool TCellRow::NeedsHeader(int capacity) { return capacity == 0 || capacity > kSmallRowColumns; }

TCellRow TCellRow::Create(TRowBlockPool& pool, int capacity) {
  return Make(pool, capacity, NeedsHeader(capacity));
}

TCellRow TCellRow::Make(TRowBlockPool& pool, int capacity, bool withHeader) {
  const std::size_t bytes = BlockBytes(capacity, withHeader);
  char* block = static_cast<char*>(pool.Allocate(bytes));
  const std::size_t headerBytes = withHeader ? sizeof(THeader) : 0;
  const auto cells = reinterpret_cast<std::uintptr_t>(block + headerBytes);
  // Memory the handle cannot address is as good as none.
  if ((cells & ~kAddressMask) != 0) {
    pool.Release(block, bytes);
    throw std::bad_alloc();
  }
  if (withHeader) new (block) THeader();
  TCellText* texts = reinterpret_cast<TCellText*>(cells);
  for (int col = 0; col < capacity; ++col) new (texts + col) TCellText();
  return TCellRow(cells | (withHeader ? kHeaderTag : 0) |
                  (static_cast<std::uint64_t>(capacity) << kCapacityShift));
}

void TCellRow::Destroy(TRowBlockPool& pool, TCellRow row) noexcept {
  if (!row) return;
  const int capacity = row.Capacity();
  TCellText* cells = row.Cells();
  for (int col = 0; col < capacity; ++col) cells[col].~TCellText();
  if (row.HasHeader()) {
    delete row.Header().extras;
    row.Header().~THeader();
  }
  pool.Release(row.Block(), BlockBytes(capacity, row.HasHeader()));
}

// A new block of the given width takes over the cells, the count and the side
// part; the old block goes. A failure to allocate leaves the row as it was.
void TCellRow::Rebuild(TRowBlockPool& pool, int capacity, bool withHeader) {
  TCellRow rebuilt = Make(pool, capacity, withHeader || SideExtras());
  if (rebuilt.HasHeader()) {
    THeader& header = rebuilt.Header();
    header.textCount = static_cast<std::uint32_t>(ArrayTexts());
    if (HasHeader()) header.extras = std::exchange(Header().extras, nullptr);
  }
  TCellText* from = Cells();
  TCellText* to = rebuilt.Cells();
  for (int col = 0; col < Capacity(); ++col) to[col] = std::move(from[col]);
  Destroy(pool, *this);
  *this = rebuilt;
}

int TCellRow::InitialCapacity(int col, int capacityHint) {
  if (col >= ArrayLimit(1)) return 0;
  return std::max({col + 1, kMinCapacity, std::clamp(capacityHint, 0, kMaxHintedCapacity)});
}

// ---- Texts -----------------------------------------------------------------

std::string_view TCellRow::FarText(const Extras& extras, int col) {
  const auto found = extras.farTexts.find(col);
  return found == extras.farTexts.end() ? std::string_view() : found->second.View();
}

bool TCellRow::AnyTextInArray() const noexcept {
  const TCellText* cells = Cells();
  return std::any_of(cells, cells + Capacity(), [](const TCellText& cell) { return !cell.Empty(); });
}

std::int64_t TCellRow::ArrayTexts() const noexcept {
  if (HasHeader()) return Header().textCount;
  const TCellText* cells = Cells();
  return std::count_if(cells, cells + Capacity(), [](const TCellText& cell) { return !cell.Empty(); });
}

std::int64_t TCellRow::LiveTexts() const {
  const Extras* extras = SideExtras();
  return ArrayTexts() + (extras ? static_cast<std::int64_t>(extras->farTexts.size()) : 0);
}

TCellRow::Extras& TCellRow::MakeExtras(TRowBlockPool& pool) {
  if (!HasHeader()) Rebuild(pool, Capacity(), true);
  THeader& header = Header();
  if (!header.extras) header.extras = new Extras();
  return *header.extras;
}

// The header stays: a row that had a side part once may well have one again.
void TCellRow::DropExtrasIfEmpty() noexcept {
  Extras* extras = SideExtras();
  if (extras && extras->Empty()) {
    delete extras;
    Header().extras = nullptr;
  }
}

void TCellRow::SetText(TRowBlockPool& pool, int col, std::string_view text, int capacityHint) {
  if (col < Capacity()) {
    AssignInArray(col, text);
  } else if (text.empty()) {
    EraseFarText(col);
    return;
  } else {
    // Growing, or taking a header for the side part, moves the block, and
    // with it any short text the view may point into; long texts keep their
    // own block and stay where they are.
    char shortCopy[TCellText::kInlineCapacity];
    if (text.size() <= sizeof shortCopy) {
      std::copy(text.begin(), text.end(), shortCopy);
      text = std::string_view(shortCopy, text.size());
    }
    if (col < ArrayLimit(LiveTexts() + 1)) {
      Grow(pool, GrownCapacity(col + 1, capacityHint));
      AssignInArray(col, text);
    } else {
      Extras& extras = MakeExtras(pool);
      try {
        extras.farTexts[col].Assign(text);
      } catch (...) {
        extras.farTexts.erase(col);
        DropExtrasIfEmpty();
        throw;
      }
    }
  }
  if (!text.empty()) AbsorbFarTexts(pool, capacityHint);
}

void TCellRow::EraseFarText(int col) {
  Extras* extras = SideExtras();
  if (!extras) return;
  extras->farTexts.erase(col);
  DropExtrasIfEmpty();
}

int TCellRow::GrownCapacity(int needed, int capacityHint) const {
  const std::int64_t doubled = 2 * static_cast<std::int64_t>(Capacity()) + 1;
  const std::int64_t wanted = std::max<std::int64_t>(
      {needed, doubled, kMinCapacity, std::clamp(capacityHint, 0, kMaxHintedCapacity)});
  return static_cast<int>(std::min<std::int64_t>(wanted, kMaxArrayColumns));
}

void TCellRow::Grow(TRowBlockPool& pool, int capacity) {
  Rebuild(pool, capacity, NeedsHeader(capacity));
  MoveFarTextsIntoArray();
}

void TCellRow::MoveFarTextsIntoArray() noexcept {
  Extras* extras = SideExtras();
  if (!extras) return;
  auto& far = extras->farTexts;
  const auto end = far.lower_bound(Capacity());
  for (auto it = far.begin(); it != end; ++it) {
    Cells()[it->first] = std::move(it->second);
    ++Header().textCount;
  }
  far.erase(far.begin(), end);
  DropExtrasIfEmpty();
}

// Once a row holds enough texts, the side-part columns within its array
// limit join the array, so a row written right to left ends up as cheap to
// read as one written left to right.
void TCellRow::AbsorbFarTexts(TRowBlockPool& pool, int capacityHint) {
  const Extras* extras = SideExtras();
  if (!extras || extras->farTexts.empty()) return;
  const auto& far = extras->farTexts;
  const auto past = far.lower_bound(ArrayLimit(LiveTexts()));
  if (past == far.begin()) return;
  Grow(pool, GrownCapacity(std::prev(past)->first + 1, capacityHint));
}

// ---- Objects and colours -----------------------------------------------------

bool TCellRow::AnyAttributes(const Extras& extras) noexcept { return !extras.attributes.empty(); }

TCellAttributes TCellRow::Attributes(int col) const {
  const Extras* extras = SideExtras();
  if (!extras) return {};
  const auto found = extras->attributes.find(col);
  return found == extras->attributes.end() ? TCellAttributes() : found->second;
}

template <typename Change>
void TCellRow::ChangeAttributes(TRowBlockPool& pool, int col, Change change) {
  auto& attributes = MakeExtras(pool).attributes;
  try {
    TCellAttributes& cell = attributes[col];
    change(cell);
    if (cell.Plain()) attributes.erase(col);
  } catch (...) {
    DropExtrasIfEmpty();
    throw;
  }
  DropExtrasIfEmpty();
}

void TCellRow::SetObject(TRowBlockPool& pool, int col, void* object) {
  if (!object && !SideExtras()) return;
  ChangeAttributes(pool, col, [&](TCellAttributes& cell) { cell.Object = object; });
}

void TCellRow::SetColor(TRowBlockPool& pool, int col, TColor color) {
  if (color == clNone && !SideExtras()) return;
  ChangeAttributes(pool, col, [&](TCellAttributes& cell) { cell.Color = color; });
}

// ---- Erasing and visiting ------------------------------------------------------

void TCellRow::EraseColumns(int fromCol, int toCol, int rowIndex, const TCellObjectVisitor& releaseObject) {
  TCellText* cells = Cells();
  const int arrayEnd = std::min(toCol, Capacity() - 1);
  if (!HasHeader()) {
    for (int col = fromCol; col <= arrayEnd; ++col) cells[col].Clear();
    return;
  }
  THeader& header = Header();
  for (int col = fromCol; header.textCount > 0 && col <= arrayEnd; ++col) {
    if (cells[col].Empty()) continue;
    cells[col].Clear();
    --header.textCount;
  }
  if (!header.extras) return;
  auto& far = header.extras->farTexts;
  far.erase(far.lower_bound(fromCol), far.upper_bound(toCol));
  if (releaseObject) {
    auto& attributes = header.extras->attributes;
    for (auto it = attributes.lower_bound(fromCol); it != attributes.end() && it->first <= toCol;) {
      if (it->second.Object && releaseObject(it->first, rowIndex, it->second.Object)) it->second.Object = nullptr;
      it = it->second.Plain() ? attributes.erase(it) : std::next(it);
    }
  }
  DropExtrasIfEmpty();
}

void TCellRow::VisitObjects(int rowIndex, const TCellObjectVisitor& visit) const {
  const Extras* extras = SideExtras();
  if (!extras) return;
  for (const auto& [col, attributes] : extras->attributes) {
    if (attributes.Object) visit(col, rowIndex, attributes.Object);
  }
}

void TCellRow::ForEachText(const TCellTextVisitor& visit) const {
  const TCellText* cells = Cells();
  for (int col = 0; col < Capacity(); ++col) {
    if (!cells[col].Empty()) visit(col, cells[col].View());
  }
  const Extras* extras = SideExtras();
  if (!extras) return;
  for (const auto& [col, text] : extras->farTexts) visit(col, text.View());
}

std::string TCellRow::CheckConsistency() const {
  if (!HasHeader() && NeedsHeader(Capacity())) return "a row of " + std::to_string(Capacity()) + " columns lacks its header";
  std::uint32_t nonEmpty = 0;
  for (int col = 0; col < Capacity(); ++col) {
    if (!Cells()[col].WellFormed()) return "column " + std::to_string(col) + " is not a well-formed text";
    nonEmpty += Cells()[col].Empty() ? 0 : 1;
  }
  if (!HasHeader()) return {};
  if (nonEmpty != Header().textCount) return "the count of texts in the array is wrong";
  const Extras* extras = Header().extras;
  if (!extras) return {};
  if (extras->Empty()) return "an empty side part was kept";
  const int limit = std::max(Capacity(), ArrayLimit(LiveTexts()));
  for (const auto& [col, text] : extras->farTexts) {
    if (col < limit) return "column " + std::to_string(col) + " belongs in the array";
    if (text.Empty() || !text.WellFormed()) return "far column " + std::to_string(col) + " holds no proper text";
  }
  for (const auto& [col, attributes] : extras->attributes) {
    if (col < 0) return "a negative column has attributes";
    if (attributes.Plain()) return "column " + std::to_string(col) + " keeps plain attributes";
  }
  return {};
}

}  // namespace kelvora
