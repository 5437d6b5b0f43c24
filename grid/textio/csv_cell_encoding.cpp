#include "grid/textio/csv_cell_encoding.h"

namespace kelvora {
namespace {

constexpr std::string_view kQuotedEmptyCell = "\"\"";
constexpr std::string_view kCaretEmptyCell = "^";

// A carriage return directly followed by a line feed is dropped, so each
// CR LF inside the quotes becomes a lone LF.
void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool crBeforeLf = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
    if (!crBeforeLf) out += text[i];
  }
  out += '"';
}

void AppendCaretTilde(std::string& out, std::string_view text) {
  for (char c : text) {
    if (c == '\r') {
      out += '~';
    } else if (c != '\n') {
      out += c;
    }
  }
}

}  // namespace

char EffectiveDelimiter(char fieldDelimiter) {
  return fieldDelimiter == '\0' ? ',' : fieldDelimiter;
}

bool CsvCellNeedsProtection(std::string_view text, const TCsvCellRules& rules) {
  if (text.find(rules.Delimiter) != std::string_view::npos) return true;
  return rules.Multilinecells && text.find('\r') != std::string_view::npos;
}

void AppendUnusualCsvCell(std::string& out, std::string_view text, const TCsvCellRules& rules) {
  // The empty-cell marker goes through the same test as any text: with an
  // unusual delimiter it can itself need protection.
  if (text.empty()) text = rules.CaretTildeEncoding ? kCaretEmptyCell : kQuotedEmptyCell;
  if (!CsvCellNeedsProtection(text, rules)) {
    out.append(text);
  } else if (rules.CaretTildeEncoding) {
    AppendCaretTilde(out, text);
  } else {
    AppendQuoted(out, text);
  }
}

}  // namespace kelvora
