#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "grid/render/cell_extent.h"
#include "toolkit/canvas.h"
#include "toolkit/font.h"

namespace kelvora {

// Remembers the extent of each text measured in each font, so that a column
// of a million cells holding a few hundred different texts costs a few
// hundred measurements. The answers are those of CellTextExtent itself: the
// extent depends on nothing but the text, the font's metrics and the options.
// Long texts, and texts past a bound, are measured every time, so the memo
// never grows with the grid.
//
// Short texts, the bulk of a grid of dates, are looked up by a key made of
// their bytes in an open table, without hashing or comparing strings.
class TTextExtentMemo {
 public:
  explicit TTextExtentMemo(const TCellTextOptions& options) : options_(options) {}

  // The canvas's font changed: later texts are remembered for this font. The
  // colour of a font does not change its metrics.
  void UseFont(const TFont& font);
  // The extent of the text in the canvas's current font, which must be the
  // one last given to UseFont.
  TSize Measure(TCanvas& canvas, std::string_view text);
  // The same for a short text in its packed form (TPackedText), which the
  // memo's keys are: a text it knows costs one lookup.
  TSize MeasurePacked(TCanvas& canvas, std::uint64_t word);

 private:
  static constexpr std::size_t kLongestRemembered = 64;
  static constexpr std::size_t kMostRemembered = std::size_t{1} << 16;

  // Texts of up to seven bytes packed into one word with their length, so
  // that two texts share a key only when they are equal. No key is 0.
  class TShortTable {
   public:
    static constexpr std::size_t kLongestKeyed = 7;
    static std::uint64_t Key(std::string_view text);
    const TSize* Find(std::uint64_t key) const;
    void Insert(std::uint64_t key, TSize extent);
    std::size_t Size() const { return size_; }

   private:
    struct Slot {
      std::uint64_t key = 0;
      TSize extent;
    };
    std::size_t SlotOf(std::uint64_t key) const;
    void Grow();

    std::vector<Slot> slots_;
    std::size_t size_ = 0;
  };

  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  struct FontTable {
    TFont font;
    TShortTable shortTexts;
    std::unordered_map<std::string, TSize, Hash, std::equal_to<>> longerTexts;
  };

  TSize Remembered(TCanvas& canvas, FontTable& table, std::string_view text);

  TCellTextOptions options_;
  std::vector<FontTable> tables_;
  std::size_t current_ = 0;
};

}  // namespace kelvora
