#include "grid/store/cell_row.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <utility>

namespace kelvora {

namespace {

// A new row reserves room for at least this many columns, so that a row
// written left to right does not grow for each of its first cells. Growth
// keeps the capacity odd (3, 7, 15, ...): the 16-byte header, 8 bytes a
// cell and the allocator's own 8 bytes then fill its 16-byte steps exactly,
// so a seven-column row takes 80 bytes however it was written.
constexpr int kMinCapacity = 3;
// The grid's column count is taken as a capacity hint only up to here: a
// row that really has thousands of columns grows to them as they are written.
constexpr int kMaxHintedCapacity = 256;
// Any row may spread its array this wide, however few texts it holds.
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

TCellRow* TCellRow::Create(TRowBlockPool& pool, int capacity) {
  void* block = pool.Allocate(BlockBytes(capacity));
  TCellRow* row = new (block) TCellRow(capacity);
  TCellText* cells = row->Cells();
  for (int col = 0; col < capacity; ++col) new (cells + col) TCellText();
  return row;
}

void TCellRow::Destroy(TRowBlockPool& pool, TCellRow* row) noexcept {
  if (!row) return;
  const int capacity = row->Capacity();
  TCellText* cells = row->Cells();
  for (int col = 0; col < capacity; ++col) cells[col].~TCellText();
  delete row->extras_;
  row->~TCellRow();
  pool.Release(row, BlockBytes(capacity));
}

int TCellRow::InitialCapacity(int col, int capacityHint) {
  if (col >= ArrayLimit(1)) return 0;
  return std::max({col + 1, kMinCapacity, std::clamp(capacityHint, 0, kMaxHintedCapacity)});
}

std::string_view TCellRow::FarText(int col) const {
  const auto found = extras_->farTexts.find(col);
  return found == extras_->farTexts.end() ? std::string_view() : found->second.View();
}

std::int64_t TCellRow::LiveTexts() const {
  return static_cast<std::int64_t>(textCount_) + (extras_ ? extras_->farTexts.size() : 0);
}

TCellRow::Extras& TCellRow::MakeExtras() {
  if (!extras_) extras_ = new Extras();
  return *extras_;
}

void TCellRow::DropExtrasIfEmpty() noexcept {
  if (extras_ && extras_->Empty()) {
    delete extras_;
    extras_ = nullptr;
  }
}

void TCellRow::SetText(TRowBlockPool& pool, TCellRow*& row, int col, std::string_view text,
                       int capacityHint) {
  if (col < row->Capacity()) {
    row->AssignInArray(col, text);
  } else if (text.empty()) {
    row->EraseFarText(col);
    return;
  } else if (col < ArrayLimit(row->LiveTexts() + 1)) {
    // Growing moves the block, and with it any short text the view may
    // point into; long texts keep their own block and stay where they are.
    char shortCopy[TCellText::kInlineCapacity];
    if (text.size() <= sizeof shortCopy) {
      std::copy(text.begin(), text.end(), shortCopy);
      text = std::string_view(shortCopy, text.size());
    }
    Grow(pool, row, GrownCapacity(*row, col + 1, capacityHint));
    row->AssignInArray(col, text);
  } else {
    Extras& extras = row->MakeExtras();
    try {
      extras.farTexts[col].Assign(text);
    } catch (...) {
      extras.farTexts.erase(col);
      row->DropExtrasIfEmpty();
      throw;
    }
  }
  if (!text.empty()) AbsorbFarTexts(pool, row, capacityHint);
}

void TCellRow::EraseFarText(int col) {
  if (!extras_) return;
  extras_->farTexts.erase(col);
  DropExtrasIfEmpty();
}

int TCellRow::GrownCapacity(const TCellRow& row, int needed, int capacityHint) {
  const std::int64_t doubled = 2 * static_cast<std::int64_t>(row.Capacity()) + 1;
  const std::int64_t wanted = std::max<std::int64_t>(
      {needed, doubled, kMinCapacity, std::clamp(capacityHint, 0, kMaxHintedCapacity)});
  return static_cast<int>(std::min<std::int64_t>(wanted, kMaxArrayColumns));
}

void TCellRow::Grow(TRowBlockPool& pool, TCellRow*& row, int capacity) {
  TCellRow* grown = Create(pool, capacity);
  TCellText* from = row->Cells();
  TCellText* to = grown->Cells();
  for (int col = 0; col < row->Capacity(); ++col) to[col] = std::move(from[col]);
  grown->textCount_ = std::exchange(row->textCount_, 0);
  grown->extras_ = std::exchange(row->extras_, nullptr);
  Destroy(pool, row);
  row = grown;
  row->MoveFarTextsIntoArray();
}

void TCellRow::MoveFarTextsIntoArray() noexcept {
  if (!extras_) return;
  auto& far = extras_->farTexts;
  const auto end = far.lower_bound(Capacity());
  for (auto it = far.begin(); it != end; ++it) {
    Cells()[it->first] = std::move(it->second);
    ++textCount_;
  }
  far.erase(far.begin(), end);
  DropExtrasIfEmpty();
}

// Once a row holds enough texts, the side-part columns within its array
// limit join the array, so a row written right to left ends up as cheap to
// read as one written left to right.
void TCellRow::AbsorbFarTexts(TRowBlockPool& pool, TCellRow*& row, int capacityHint) {
  if (!row->extras_ || row->extras_->farTexts.empty()) return;
  const auto& far = row->extras_->farTexts;
  const auto past = far.lower_bound(ArrayLimit(row->LiveTexts()));
  if (past == far.begin()) return;
  Grow(pool, row, GrownCapacity(*row, std::prev(past)->first + 1, capacityHint));
}

TCellAttributes TCellRow::Attributes(int col) const {
  if (!extras_) return {};
  const auto found = extras_->attributes.find(col);
  return found == extras_->attributes.end() ? TCellAttributes() : found->second;
}

void TCellRow::SetObject(int col, void* object) {
  if (!object && !extras_) return;
  auto& attributes = MakeExtras().attributes;
  TCellAttributes& cell = attributes[col];
  cell.Object = object;
  if (cell.Plain()) attributes.erase(col);
  DropExtrasIfEmpty();
}

void TCellRow::SetColor(int col, TColor color) {
  if (color == clNone && !extras_) return;
  auto& attributes = MakeExtras().attributes;
  TCellAttributes& cell = attributes[col];
  cell.Color = color;
  if (cell.Plain()) attributes.erase(col);
  DropExtrasIfEmpty();
}

void TCellRow::EraseColumns(int fromCol, int toCol, int rowIndex, const TCellObjectVisitor& releaseObject) {
  TCellText* cells = Cells();
  const int arrayEnd = std::min(toCol, Capacity() - 1);
  for (int col = fromCol; textCount_ > 0 && col <= arrayEnd; ++col) {
    if (cells[col].Empty()) continue;
    cells[col].Clear();
    --textCount_;
  }
  if (!extras_) return;
  auto& far = extras_->farTexts;
  far.erase(far.lower_bound(fromCol), far.upper_bound(toCol));
  if (releaseObject) {
    auto& attributes = extras_->attributes;
    for (auto it = attributes.lower_bound(fromCol); it != attributes.end() && it->first <= toCol;) {
      if (it->second.Object && releaseObject(it->first, rowIndex, it->second.Object)) it->second.Object = nullptr;
      it = it->second.Plain() ? attributes.erase(it) : std::next(it);
    }
  }
  DropExtrasIfEmpty();
}

void TCellRow::VisitObjects(int rowIndex, const TCellObjectVisitor& visit) const {
  if (!extras_) return;
  for (const auto& [col, attributes] : extras_->attributes) {
    if (attributes.Object) visit(col, rowIndex, attributes.Object);
  }
}

void TCellRow::ForEachText(const TCellTextVisitor& visit) const {
  const TCellText* cells = Cells();
  for (int col = 0; col < Capacity(); ++col) {
    if (!cells[col].Empty()) visit(col, cells[col].View());
  }
  if (!extras_) return;
  for (const auto& [col, text] : extras_->farTexts) visit(col, text.View());
}

std::string TCellRow::CheckConsistency() const {
  if (Capacity() > kMaxArrayColumns) return "the array is wider than its limit";
  std::uint32_t nonEmpty = 0;
  for (int col = 0; col < Capacity(); ++col) {
    if (!Cells()[col].WellFormed()) return "column " + std::to_string(col) + " is not a well-formed text";
    nonEmpty += Cells()[col].Empty() ? 0 : 1;
  }
  if (nonEmpty != textCount_) return "the count of texts in the array is wrong";
  if (!extras_) return {};
  if (extras_->Empty()) return "an empty side part was kept";
  const int limit = std::max(Capacity(), ArrayLimit(LiveTexts()));
  for (const auto& [col, text] : extras_->farTexts) {
    if (col < limit) return "column " + std::to_string(col) + " belongs in the array";
    if (text.Empty() || !text.WellFormed()) return "far column " + std::to_string(col) + " holds no proper text";
  }
  for (const auto& [col, attributes] : extras_->attributes) {
    if (col < 0) return "a negative column has attributes";
    if (attributes.Plain()) return "column " + std::to_string(col) + " keeps plain attributes";
  }
  return {};
}

}  // namespace kelvora
