// The CSV cell encoder against the properties its table guarantees, for any
// text under any of its rules: a cell that needs no protection is written as
// it is; a quoted cell is the text between two quotes, with each CR LF made
// a lone LF; a caret-tilde cell is the text with CR as "~" and no LF; an
// empty cell is the marker. Taking the encoding apart again therefore gives
// the text back, less what the table drops. The inline fast path and the
// general one must agree.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "grid/textio/csv_cell_encoding.h"

namespace {

using kelvora::TCsvCellRules;

// The first byte picks the rules: the delimiter and both switches.
TCsvCellRules RulesFrom(std::uint8_t byte) {
  static constexpr char kDelimiters[] = {'\0', ',', ';', '\t', '"', '\r', '\n', '^', '~', 'a'};
  TCsvCellRules rules;
  rules.Delimiter = kelvora::EffectiveDelimiter(kDelimiters[(byte & 0x3F) % sizeof kDelimiters]);
  rules.CaretTildeEncoding = (byte & 0x40) != 0;
  rules.Multilinecells = (byte & 0x80) != 0;
  return rules;
}

bool Contains(std::string_view text, char c) { return text.find(c) != std::string_view::npos; }

std::string WithoutCrBeforeLf(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
  return out;
}

std::string CaretTilde(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\r') out += '~';
    else if (c != '\n') out += c;
  }
  return out;
}

// What the table says the cell becomes.
std::string Expected(std::string_view text, const TCsvCellRules& rules) {
  if (text.empty()) text = rules.CaretTildeEncoding ? "^" : "\"\"";
  const bool protect = Contains(text, rules.Delimiter) || (rules.Multilinecells && Contains(text, '\r'));
  if (kelvora::CsvCellNeedsProtection(text, rules) != protect) std::abort();
  if (!protect) return std::string(text);
  if (rules.CaretTildeEncoding) return CaretTilde(text);
  return "\"" + WithoutCrBeforeLf(text) + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const TCsvCellRules rules = RulesFrom(data[0]);
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  // Appending keeps what the output held before.
  std::string fast = "prefix";
  kelvora::AppendCsvCell(fast, text, rules);
  std::string general = "prefix";
  kelvora::AppendUnusualCsvCell(general, text, rules);
  if (fast != general) std::abort();
  if (fast.compare(0, 6, "prefix") != 0) std::abort();
  const std::string_view cell = std::string_view(fast).substr(6);
  if (cell != Expected(text, rules)) std::abort();

  // Round trip: a quoted cell loses only its quotes and the CR of each CR LF.
  const bool quoted = !rules.CaretTildeEncoding && !text.empty() && kelvora::CsvCellNeedsProtection(text, rules);
  if (quoted && cell.substr(1, cell.size() - 2) != WithoutCrBeforeLf(text)) std::abort();
  // A cell written as it is comes back unchanged and is never empty.
  if (!text.empty() && !kelvora::CsvCellNeedsProtection(text, rules) && cell != text) std::abort();
  // Only caret-tilde encoding can drop a whole cell (one of line feeds).
  if (cell.empty() && !rules.CaretTildeEncoding) std::abort();
  return 0;
}
