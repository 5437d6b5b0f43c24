#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvora {

// How one cell is turned into CSV text.
struct TCsvCellRules {
  char Delimiter = ',';
  // Empty cells become "^"; cells that need protection get their carriage
  // returns as "~" and lose their line feeds instead of being quoted.
  bool CaretTildeEncoding = false;
  // A carriage return in a cell then needs protection like a delimiter does.
  bool Multilinecells = false;
};

// The delimiter actually written: an unset one (byte 0) means a comma.
char EffectiveDelimiter(char fieldDelimiter);

// True when the text must be protected (quoted, or encoded with carets and
// tildes) so that it stays one field.
bool CsvCellNeedsProtection(std::string_view text, const TCsvCellRules& rules);

// Any cell, the slower way; AppendCsvCell leaves it the cells its inline
// test does not settle: empty ones, long ones and those that need protection.
void AppendUnusualCsvCell(std::string& out, std::string_view text, const TCsvCellRules& rules);

// True for the usual cell, written exactly as stored: a few bytes with no
// delimiter and no line break that needs protection. Decided inline, because
// a file of a million rows has millions of such cells.
inline bool IsPlainCsvCell(std::string_view text, const TCsvCellRules& rules) {
  constexpr std::size_t kShortText = 8;
  if (text.empty() || text.size() > kShortText) return false;
  const char lineBreak = rules.Multilinecells ? '\r' : rules.Delimiter;
  for (char c : text)
    if (c == rules.Delimiter || c == lineBreak) return false;
  return true;
}

// Appends the cell as it appears between two delimiters. Quotes inside a
// quoted cell are written as they are, not doubled: apart from the quotes
// around it and dropped carriage returns, a cell's bytes reach the file
// unchanged.
inline void AppendCsvCell(std::string& out, std::string_view text, const TCsvCellRules& rules) {
  if (IsPlainCsvCell(text, rules)) {
    out.append(text);
  } else {
    AppendUnusualCsvCell(out, text, rules);
  }
}

}  // namespace kelvora
