#include "grid/textio/csv_cell_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvora {
namespace {

using namespace std::string_literals;

struct EncodingCase {
  std::string text;
  char delimiter;
  bool multiline;
  std::string quoted;      // with CaretTildeEncoding off
  std::string caretTilde;  // with CaretTildeEncoding on
};

std::string Encoded(const std::string& text, char delimiter, bool caretTilde, bool multiline) {
  std::string out = "prefix|";
  AppendCsvCell(out, text, {delimiter, caretTilde, multiline});
  EXPECT_EQ(out.substr(0, 7), "prefix|") << "the cell must be appended, not assigned";
  return out.substr(7);
}

TEST(CsvCellEncoding, FollowsTheEncodingTableInBothModes) {
  const EncodingCase cases[] = {
      {"Mon", ',', false, "Mon", "Mon"},
      {"", ',', false, "\"\"", "^"},
      {",", ',', false, "\",\"", ","},
      {"Smith, J.", ',', false, "\"Smith, J.\"", "Smith, J."},
      {"Smith, J.", ';', false, "Smith, J.", "Smith, J."},
      {"a;b", ';', false, "\"a;b\"", "a;b"},
      {"say \"hi\"", ',', false, "say \"hi\"", "say \"hi\""},
      {"a,\"b\"", ',', false, "\"a,\"b\"\"", "a,\"b\""},
      {"x^y~z", ',', false, "x^y~z", "x^y~z"},
      {"a longer plain text", ',', true, "a longer plain text", "a longer plain text"},
      // Line breaks are left alone unless the cell needs protection.
      {"one\r\ntwo", ',', false, "one\r\ntwo", "one\r\ntwo"},
      {"one\r\ntwo", ',', true, "\"one\ntwo\"", "one~two"},
      {"one\rtwo", ',', true, "\"one\rtwo\"", "one~two"},
      {"one\ntwo", ',', true, "one\ntwo", "one\ntwo"},
      {"first line\r\nsecond line", ',', true, "\"first line\nsecond line\"", "first line~second line"},
      {"first line\r\nsecond line", ',', false, "first line\r\nsecond line", "first line\r\nsecond line"},
      {"a,b\r\nc", ',', false, "\"a,b\nc\"", "a,b~c"},
      {"a,\nb", ',', false, "\"a,\nb\"", "a,b"},
      {"\r\r\n\n", ',', true, "\"\r\n\n\"", "~~"},
      {"\r", ',', true, "\"\r\"", "~"},
      // NUL bytes are ordinary bytes of the text.
      {"a\0b"s, ',', false, "a\0b"s, "a\0b"s},
      {"a\0,b"s, ',', false, "\"a\0,b\""s, "a\0,b"s},
      // The empty-cell marker is checked like any text.
      {"", '"', false, "\"\"\"\"", "^"},
      {"", '^', false, "\"\"", "^"},
  };
  for (const EncodingCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "text \"" << c.text << "\" delimiter '" << c.delimiter << "'");
    EXPECT_EQ(Encoded(c.text, c.delimiter, false, c.multiline), c.quoted);
    EXPECT_EQ(Encoded(c.text, c.delimiter, true, c.multiline), c.caretTilde);
  }
}

TEST(CsvCellEncoding, UnsetDelimiterMeansComma) {
  EXPECT_EQ(EffectiveDelimiter('\0'), ',');
  EXPECT_EQ(EffectiveDelimiter(';'), ';');
  EXPECT_EQ(EffectiveDelimiter('\t'), '\t');
}

}  // namespace
}  // namespace kelvora
