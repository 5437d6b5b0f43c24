#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "grid/render/cell_extent.h"
#include "toolkit/canvas.h"

namespace kelvora {

// Remembers the extent of each text measured in each font, so that a column
// of a million cells holding a few hundred different texts costs a few
// hundred measurements. The answers are those of CellTextExtent itself. Long
// texts and texts past a bound are measured every time, so the memo never
// grows with the grid.
class TTextExtentMemo {
 public:
  explicit TTextExtentMemo(const TCellTextOptions& options) : options_(options) {}

  TSize Measure(TCanvas& canvas, std::string_view text);

 private:
  static constexpr std::size_t kLongestRemembered = 64;
  static constexpr std::size_t kMostRemembered = 1 << 16;

  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  struct FontTable {
    TFont font;
    std::unordered_map<std::string, TSize, Hash, std::equal_to<>> extents;
  };

  FontTable& TableFor(const TFont& font);

  TCellTextOptions options_;
  std::vector<FontTable> tables_;
  std::size_t current_ = 0;
};

}  // namespace kelvora
