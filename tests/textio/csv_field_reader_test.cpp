#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/textio/csv_field_reader.h"

namespace kelvora {
namespace {

using namespace std::string_literals;
using TRows = std::vector<std::vector<std::string>>;

// Keeps every field, empty ones included, so that a test sees the shape.
class TRowsSink : public TCsvCellSink {
 public:
  TRows rows;
  void Cell(std::int64_t col, std::int64_t row, std::string_view text) override {
    Reach(col, row);
    rows[row][col] = text;
  }
  void RowEnded(std::int64_t row, std::int64_t cols) override { Reach(cols - 1, row); }

 private:
  void Reach(std::int64_t col, std::int64_t row) {
    if (rows.size() <= static_cast<std::size_t>(row)) rows.resize(row + 1);
    if (col >= 0 && rows[row].size() <= static_cast<std::size_t>(col)) rows[row].resize(col + 1);
  }
};

// Fed in pieces of `piece` bytes, so that records and quotes cross blocks.
TRows Read(const std::string& text, const TCsvReadRules& rules = {}, std::size_t piece = 0,
           const TCsvReadLimits& limits = {}) {
  TRowsSink sink;
  TCsvFieldReader reader(rules, limits, sink);
  if (piece == 0) piece = text.size() + 1;
  for (std::size_t at = 0; at < text.size(); at += piece) reader.Feed(std::string_view(text).substr(at, piece));
  reader.Finish();
  return sink.rows;
}

struct TCase {
  const char* name;
  std::string text;
  TRows rows;
};

// Spreadsheet files, and the grid writer's own dialect where it differs.
// The last ones are the rule for what the writer leaves ambiguous: two
// quotes are one quote, and a quote before a delimiter or a line end closes
// the cell.
const TCase kQuotedCases[] = {
    {"plain", "Mon,1,Jan\r\n", {{"Mon", "1", "Jan"}}},
    {"lf_only_and_no_last_end", "a,b\nc,d", {{"a", "b"}, {"c", "d"}}},
    {"byte_order_mark", "\xEF\xBB\xBFx,y\r\n", {{"x", "y"}}},
    {"empty_fields", ",,\r\n", {{"", "", ""}}},
    {"quoted_empty", "\"\",a\r\n", {{"", "a"}}},
    {"quoted_delimiter", "\"Smith, J.\",42\r\n", {{"Smith, J.", "42"}}},
    {"doubled_quotes", "\"say \"\"hi\"\"\",x\r\n", {{"say \"hi\"", "x"}}},
    {"writer_undoubled_quotes", "\"a,\"b\" c\",x\r\n", {{"a,\"b\" c", "x"}}},
    {"quotes_inside_plain_cell", "say \"hi\",x\r\n", {{"say \"hi\"", "x"}}},
    {"line_feed_in_quotes_becomes_crlf", "\"one\ntwo\",x\n", {{"one\r\ntwo", "x"}}},
    {"crlf_in_quotes_kept", "\"one\r\ntwo\"\r\n", {{"one\r\ntwo"}}},
    {"lone_cr_is_text", "a\rb,c\r\n", {{"a\rb", "c"}}},
    {"quote_then_lone_cr_stays_inside", "\"a\"\rb,\"\r\n", {{"a\"\rb,"}}},
    {"empty_line_is_an_empty_row", "a\r\n\r\nb\r\n", {{"a"}, {""}, {"b"}}},
    {"ambiguous_quote_before_delimiter_closes", "\"a\",b\"\r\n", {{"a", "b\""}}},
    {"ambiguous_leading_quotes_are_quoting", "\"hi\"\r\n", {{"hi"}}},
    {"ambiguous_two_quotes_are_empty", "\"\"\r\n", {{""}}},
};

class CsvFieldReaderQuoted : public testing::TestWithParam<TCase> {};

TEST_P(CsvFieldReaderQuoted, ReadsTheRowsWholeAndAcrossBlocks) {
  const TCase& c = GetParam();
  EXPECT_EQ(Read(c.text), c.rows);
  EXPECT_EQ(Read(c.text, {}, 1), c.rows);
  EXPECT_EQ(Read(c.text, {}, 3), c.rows);
}

INSTANTIATE_TEST_SUITE_P(Cases, CsvFieldReaderQuoted, testing::ValuesIn(kQuotedCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CsvFieldReader, CaretTildeHasNoQuotesAndMarksEmptyCellsAndLineBreaks) {
  TCsvReadRules rules;
  rules.CaretTildeEncoding = true;
  EXPECT_EQ(Read("^,\"q\",a~b\r\n", rules), (TRows{{"", "\"q\"", "a~b"}}));
  rules.Multilinecells = true;
  EXPECT_EQ(Read("^,a~b\r\n", rules, 2), (TRows{{"", "a\r\nb"}}));
}

TEST(CsvFieldReader, OemCellsComeBackAsUtf8AndOtherDelimitersSplit) {
  TCsvReadRules rules;
  rules.OemConvert = true;
  rules.Delimiter = ';';
  EXPECT_EQ(Read("caf\x82;a,b\r\n", rules), (TRows{{"caf\xC3\xA9", "a,b"}}));
}

struct TBadCase {
  const char* name;
  std::string text;
  std::int64_t line;
  const char* says;
};

const TBadCase kBadCases[] = {
    {"unclosed_quote", "a\r\nb,\"open\r\nmore\r\n", 2, "never closed"},
    {"nul_byte", "a\r\nb\r\nc\0d"s, 3, "NUL"},
    {"too_many_columns", std::string(9, ','), 1, "more than 8 cells"},
    {"too_long_cell", "ok\r\n" + std::string(2 << 20, 'x') + "y", 2, "longer than"},
    {"too_long_quoted_cell", "\"" + std::string(2 << 20, 'x') + "\"", 1, "longer than"},
};

class CsvFieldReaderBad : public testing::TestWithParam<TBadCase> {};

TEST_P(CsvFieldReaderBad, StopsNamingTheLine) {
  const TBadCase& c = GetParam();
  TCsvReadLimits limits;
  limits.MaxCols = 8;
  limits.MaxFieldBytes = std::size_t{1} << 20;
  for (std::size_t piece : {std::size_t{0}, std::size_t{4096}}) {
    try {
      Read(c.text, {}, piece, limits);
      ADD_FAILURE() << "no error";
    } catch (const TCsvFormatError& error) {
      EXPECT_EQ(error.Line(), c.line);
      EXPECT_NE(std::string(error.what()).find(c.says), std::string::npos) << error.what();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, CsvFieldReaderBad, testing::ValuesIn(kBadCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelvora
