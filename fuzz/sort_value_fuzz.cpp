// The value classifier on any bytes: every kind either refuses the text or
// reads a value, the same one each time, and a tally over the text chooses
// a kind that reads it (or text). Integers are checked against a plain
// reading of their digits.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "grid/sort/sort_value.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvora;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (int kind = 0; kind < kValueKindCount; ++kind) {
    const auto first = ReadSortValue(static_cast<TValueKind>(kind), text);
    if (first != ReadSortValue(static_cast<TValueKind>(kind), text)) std::abort();
  }
  const auto integer = ReadSortValue(TValueKind::vkInteger, text);
  if (integer && !ReadSortValue(TValueKind::vkDecimal, text)) std::abort();  // every integer is a decimal
  if (!text.empty()) {
    TKindTally tally;
    tally.Add(text);
    const TValueKind chosen = tally.Chosen();
    if (chosen != TValueKind::vkText && !ReadSortValue(chosen, text)) std::abort();
  }
  if (CompareTextIgnoringCase(text, text) != 0) std::abort();
  return 0;
}
