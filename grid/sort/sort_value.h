#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "grid/sort/sort_keys.h"

namespace kelvora {

// What a column holds, for comparing its cells by value. A column's kind is
// chosen once per sort from all its cells (ChooseColumnKind); a cell the
// kind cannot read is compared as text after the cells it can.
enum class TValueKind : std::uint8_t { vkInteger, vkDecimal, vkTime, vkDate, vkMonth, vkWeekday, vkText };
inline constexpr int kValueKindCount = 7;

// The cell's value as a number that orders like the value: integers as
// themselves, decimals (point or comma) through their double, times as
// seconds of the day, dates as seconds since 1970 in UTC, month and weekday
// names as their place in the year or week. Empty when the text is not of
// the kind; vkText reads nothing.
std::optional<std::int64_t> ReadSortValue(TValueKind kind, std::string_view text);

// Which kinds can read the text, one bit per kind (bit 1 << kind).
unsigned ReadableKinds(std::string_view text);

// Counts of cells per kind, fed one non-empty cell at a time; the kind
// chosen is the one that reads most cells, the narrower one on a tie
// (integer before decimal), and text when none reads at least half of them.
class TKindTally {
 public:
  void Add(std::string_view text);
  // A cell whose kinds are known already (ReadableKinds).
  void AddKinds(unsigned kinds);
  TValueKind Chosen() const;

 private:
  std::int64_t counts_[kValueKindCount - 1] = {};
  std::int64_t cells_ = 0;
};

// The kind a tally of the column's non-empty cells chooses.
TValueKind ColumnKind(const TRowSource& source, int col);

// Case-blind byte order (ASCII letters folded), for texts of any bytes.
int CompareTextIgnoringCase(std::string_view a, std::string_view b);

}  // namespace kelvora
