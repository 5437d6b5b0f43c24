#include "grid/text_extent_memo.h"

namespace kelvora {
namespace {

// The colour of a font does not change its metrics.
bool SameMetrics(const TFont& a, const TFont& b) {
  return a.Height == b.Height && a.Style == b.Style && a.Orientation == b.Orientation &&
         a.Name == b.Name;
}

}  // namespace

TTextExtentMemo::FontTable& TTextExtentMemo::TableFor(const TFont& font) {
  if (current_ < tables_.size() && SameMetrics(tables_[current_].font, font))
    return tables_[current_];
  for (current_ = 0; current_ < tables_.size(); ++current_)
    if (SameMetrics(tables_[current_].font, font)) return tables_[current_];
  tables_.push_back(FontTable{font, {}});
  return tables_.back();
}

TSize TTextExtentMemo::Measure(TCanvas& canvas, std::string_view text) {
  if (text.size() > kLongestRemembered) return CellTextExtent(canvas, text, options_);
  FontTable& table = TableFor(canvas.Font());
  const auto found = table.extents.find(text);
  if (found != table.extents.end()) return found->second;
  const TSize extent = CellTextExtent(canvas, text, options_);
  if (table.extents.size() < kMostRemembered) table.extents.emplace(text, extent);
  return extent;
}

}  // namespace kelvora
