#include "grid/text_extent_memo.h"

#include <bit>

#include "grid/store/packed_text.h"

namespace kelvora {
namespace {

bool SameMetrics(const TFont& a, const TFont& b) {
  return a.Height == b.Height && a.Style == b.Style && a.Orientation == b.Orientation &&
         a.Name == b.Name;
}

}  // namespace

// ---- Short texts -------------------------------------------------------------

std::uint64_t TTextExtentMemo::TShortTable::Key(std::string_view text) { return TPackedText::Pack(text); }

// Fibonacci hashing spreads keys that differ only in their high bytes.
std::size_t TTextExtentMemo::TShortTable::SlotOf(std::uint64_t key) const {
  const int shift = 64 - std::countr_zero(slots_.size());
  return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> shift);
}

const TSize* TTextExtentMemo::TShortTable::Find(std::uint64_t key) const {
  if (slots_.empty()) return nullptr;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = SlotOf(key);; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (slot.key == key) return &slot.extent;
    if (slot.key == 0) return nullptr;
  }
}

void TTextExtentMemo::TShortTable::Insert(std::uint64_t key, TSize extent) {
  if (2 * (size_ + 1) > slots_.size()) Grow();
  const std::size_t mask = slots_.size() - 1;
  std::size_t at = SlotOf(key);
  while (slots_[at].key != 0 && slots_[at].key != key) at = (at + 1) & mask;
  if (slots_[at].key == 0) ++size_;
  slots_[at] = {key, extent};
}

void TTextExtentMemo::TShortTable::Grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? 64 : 2 * old.size(), Slot{});
  size_ = 0;
  for (const Slot& slot : old)
    if (slot.key != 0) Insert(slot.key, slot.extent);
}

// ---- Fonts and texts -----------------------------------------------------------

void TTextExtentMemo::UseFont(const TFont& font) {
  if (current_ < tables_.size() && SameMetrics(tables_[current_].font, font)) return;
  for (current_ = 0; current_ < tables_.size(); ++current_)
    if (SameMetrics(tables_[current_].font, font)) return;
  tables_.push_back(FontTable{font, {}, {}});
}

TSize TTextExtentMemo::Measure(TCanvas& canvas, std::string_view text) {
  if (text.size() > kLongestRemembered) return CellTextExtent(canvas, text, options_);
  if (current_ >= tables_.size()) UseFont(canvas.Font());
  return Remembered(canvas, tables_[current_], text);
}

TSize TTextExtentMemo::MeasurePacked(TCanvas& canvas, std::uint64_t word) {
  if (current_ >= tables_.size()) UseFont(canvas.Font());
  FontTable& table = tables_[current_];
  if (const TSize* known = table.shortTexts.Find(word)) return *known;
  char text[TPackedText::kCapacity];
  const std::size_t length = TPackedText::Length(word);
  for (std::size_t i = 0; i < length; ++i) text[i] = static_cast<char>(TPackedText::Bytes(word) >> (8 * i));
  return Remembered(canvas, table, {text, length});
}

TSize TTextExtentMemo::Remembered(TCanvas& canvas, FontTable& table, std::string_view text) {
  if (text.size() <= TShortTable::kLongestKeyed) {
    const std::uint64_t key = TShortTable::Key(text);
    if (const TSize* known = table.shortTexts.Find(key)) return *known;
    const TSize extent = CellTextExtent(canvas, text, options_);
    if (table.shortTexts.Size() < kMostRemembered) table.shortTexts.Insert(key, extent);
    return extent;
  }
  const auto found = table.longerTexts.find(text);
  if (found != table.longerTexts.end()) return found->second;
  const TSize extent = CellTextExtent(canvas, text, options_);
  if (table.longerTexts.size() < kMostRemembered) table.longerTexts.emplace(text, extent);
  return extent;
}

}  // namespace kelvora
