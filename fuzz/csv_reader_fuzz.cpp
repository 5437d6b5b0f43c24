// The CSV reader against the writer's own cell encoder. Any text is read
// whole and again in pieces, with the same result or the same error. Where
// every cell read is one the writer writes without ambiguity, the writer's
// text of those cells reads back as the same cells, and writes again as the
// same bytes: reading and writing are each other's inverse there.

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "grid/textio/csv_cell_encoding.h"
#include "grid/textio/csv_field_reader.h"

namespace {

using kelvora::TCsvReadRules;
using TRows = std::vector<std::vector<std::string>>;

class TRowsSink : public kelvora::TCsvCellSink {
 public:
  TRows rows;
  void Cell(std::int64_t col, std::int64_t row, std::string_view text) override { At(col, row) = text; }
  void RowEnded(std::int64_t row, std::int64_t cols) override {
    if (rows.size() <= static_cast<std::size_t>(row)) rows.resize(static_cast<std::size_t>(row) + 1);
    rows[static_cast<std::size_t>(row)].resize(static_cast<std::size_t>(cols));
  }

 private:
  std::string& At(std::int64_t col, std::int64_t row) {
    if (rows.size() <= static_cast<std::size_t>(row)) rows.resize(static_cast<std::size_t>(row) + 1);
    auto& cells = rows[static_cast<std::size_t>(row)];
    if (cells.size() <= static_cast<std::size_t>(col)) cells.resize(static_cast<std::size_t>(col) + 1);
    return cells[static_cast<std::size_t>(col)];
  }
};

struct TResult {
  TRows rows;
  std::optional<std::int64_t> errorLine;
  bool operator==(const TResult&) const = default;
};

TResult Read(std::string_view text, const TCsvReadRules& rules, std::size_t piece) {
  kelvora::TCsvReadLimits limits;
  limits.MaxCols = 512;
  limits.MaxFieldBytes = 1 << 16;
  TRowsSink sink;
  TResult result;
  try {
    kelvora::TCsvFieldReader reader(rules, limits, sink);
    for (std::size_t at = 0; at < text.size(); at += piece) reader.Feed(text.substr(at, piece));
    reader.Finish();
    result.rows = std::move(sink.rows);
  } catch (const kelvora::TCsvFormatError& error) {
    // What was read before the error depends on the pieces; the error not.
    result.errorLine = error.Line();
  }
  return result;
}

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// What the writer puts inside the quotes: each CR LF a lone LF.
std::string QuotedContent(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
  return out;
}

bool LineBreaksArePairs(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return false;
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
  }
  return true;
}

// The reader's rule for the writer's undoubled quotes, stated on its own: a
// quote inside quotes is taken as text only when neither another quote, a
// delimiter nor a line end follows it; a line feed inside comes back as CR LF.
bool QuotedUnambiguous(std::string_view text, char delimiter) {
  const std::string inside = QuotedContent(text) + '"';
  for (std::size_t i = 0; i + 1 < inside.size(); ++i) {
    if (inside[i] != '"') continue;
    const char next = inside[i + 1];
    if (next == '"' || next == delimiter || next == '\n') return false;
    if (next == '\r' && i + 2 < inside.size() && inside[i + 2] == '\n') return false;
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
    if (text[i] == '\r' && i + 2 < text.size() && text[i + 1] == '\r' && text[i + 2] == '\n') return false;
  }
  return true;
}

bool Unambiguous(std::string_view text, const kelvora::TCsvCellRules& rules) {
  if (text.empty()) return true;
  const bool protect = kelvora::CsvCellNeedsProtection(text, rules);
  if (rules.CaretTildeEncoding) {
    if (text == "^" || Contains(text, std::string_view(&rules.Delimiter, 1))) return false;
    if (rules.Multilinecells) return !Contains(text, "~") && LineBreaksArePairs(text);
    return !Contains(text, "\n");
  }
  if (text.front() == '"') return false;
  return protect ? QuotedUnambiguous(text, rules.Delimiter) : !Contains(text, "\n");
}

TRows Padded(TRows rows) {
  std::size_t widest = 0;
  for (const auto& row : rows) widest = std::max(widest, row.size());
  for (auto& row : rows) row.resize(widest);
  return rows;
}

std::string Written(const TRows& rows, const kelvora::TCsvCellRules& rules) {
  std::string out;
  for (const auto& row : rows) {
    for (std::size_t col = 0; col < row.size(); ++col) {
      if (col != 0) out += rules.Delimiter;
      kelvora::AppendCsvCell(out, row[col], rules);
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  static constexpr char kDelimiters[] = {',', ';', '\t', 'a', ' '};
  TCsvReadRules rules;
  rules.Delimiter = kDelimiters[(data[0] & 0x0F) % sizeof kDelimiters];
  rules.CaretTildeEncoding = (data[0] & 0x40) != 0;
  rules.Multilinecells = (data[0] & 0x80) != 0;
  const std::size_t piece = 1 + data[1] % 17;
  const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);

  const TResult whole = Read(text, rules, text.size() + 1);
  if (Read(text, rules, piece) != whole) std::abort();
  if (whole.errorLine) return 0;

  const kelvora::TCsvCellRules cellRules{rules.Delimiter, rules.CaretTildeEncoding, rules.Multilinecells};
  // A first cell that begins with the bytes of a byte-order mark loses them
  // when read: the writer writes no mark to tell the two apart.
  if (!whole.rows.empty() && !whole.rows[0].empty() && whole.rows[0][0].starts_with("\xEF\xBB\xBF")) return 0;
  for (const auto& row : whole.rows)
    for (const auto& cell : row)
      if (!Unambiguous(cell, cellRules)) return 0;
  const TRows rows = Padded(whole.rows);
  const std::string written = Written(rows, cellRules);
  const TResult back = Read(written, rules, piece);
  if (back.errorLine || back.rows != rows) std::abort();
  if (Written(back.rows, cellRules) != written) std::abort();
  return 0;
}
