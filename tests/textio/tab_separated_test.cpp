#include "grid/textio/tab_separated.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvora {
namespace {

using namespace std::string_literals;
using TTable = std::vector<std::vector<std::string>>;

TTable Read(std::string_view text) {
  TTable table;
  TTabReader reader(text);
  TTabField field;
  while (reader.Next(field)) {
    EXPECT_TRUE(field.Row == static_cast<std::int64_t>(table.size()) ||
                field.Row + 1 == static_cast<std::int64_t>(table.size()))
        << "rows come in order";
    if (field.Row == static_cast<std::int64_t>(table.size())) table.emplace_back();
    EXPECT_EQ(field.Col, static_cast<std::int64_t>(table.back().size())) << "cells come in order";
    table.back().emplace_back(field.Text);
  }
  return table;
}

std::string Written(const TTable& table) {
  std::string out;
  for (std::size_t r = 0; r < table.size(); ++r) {
    if (r > 0) out += "\r\n";
    for (std::size_t c = 0; c < table[r].size(); ++c) {
      if (c > 0) out += '\t';
      AppendTabField(out, table[r][c]);
    }
  }
  return out;
}

struct TReadCase {
  const char* name;
  std::string text;
  TTable cells;
};

class TabReading : public ::testing::TestWithParam<TReadCase> {};

TEST_P(TabReading, GivesTheCells) {
  EXPECT_EQ(Read(GetParam().text), GetParam().cells);
  const TTabShape shape = MeasureTabText(GetParam().text);
  std::size_t widest = 0;
  for (const auto& row : GetParam().cells) widest = std::max(widest, row.size());
  EXPECT_EQ(shape.Rows, static_cast<std::int64_t>(GetParam().cells.size()));
  EXPECT_EQ(shape.Cols, static_cast<std::int64_t>(widest));
}

INSTANTIATE_TEST_SUITE_P(
    TabSeparated, TabReading,
    ::testing::Values(
        TReadCase{"EmptyTextHasNoRows", "", {}},
        TReadCase{"OneCell", "abc", {{"abc"}}},
        TReadCase{"ALoneLineBreakIsOneEmptyRow", "\n", {{""}}},
        TReadCase{"TrailingLineBreakAddsNoRow", "a\tb\r\nc\td\r\n", {{"a", "b"}, {"c", "d"}}},
        TReadCase{"EveryKindOfLineBreak", "a\nb\rc\r\nd", {{"a"}, {"b"}, {"c"}, {"d"}}},
        TReadCase{"EmptyLinesInsideStay", "a\n\nb", {{"a"}, {""}, {"b"}}},
        TReadCase{"AFinalTabIsAnEmptyCell", "a\t", {{"a", ""}}},
        TReadCase{"RaggedRows", "a\nb\tc\td\ne", {{"a"}, {"b", "c", "d"}, {"e"}}},
        TReadCase{"QuotedCellsHoldTabsBreaksAndQuotes", "\"a\tb\"\t\"x\r\ny\"\t\"say \"\"hi\"\"\"",
                  {{"a\tb", "x\r\ny", "say \"hi\""}}},
        TReadCase{"AQuoteInsideAPlainCellIsText", "5\" pipe\tx", {{"5\" pipe", "x"}}},
        TReadCase{"TextAfterTheClosingQuoteStays", "\"ab\"cd\te", {{"abcd", "e"}}},
        TReadCase{"AnUnclosedQuoteIsText", "\"abc\tdef\nghi", {{"\"abc", "def"}, {"ghi"}}},
        TReadCase{"NulBytesAreCellText", "a\0b\tc"s, {{"a\0b"s, "c"}}},
        TReadCase{"InvalidUtf8PassesAsBytes", "\xff\xfe\t\xc3", {{"\xff\xfe", "\xc3"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TabSeparated, WhatIsWrittenReadsBack) {
  const TTable table = {{"a", "", "t\tab"},
                        {"\"quoted\"", "line\r\nbreak", "\"", "lone\r"},
                        {""},
                        {"\n", "end\t"},
                        {"nul\0byte"s, "\xff"}};
  EXPECT_EQ(Read(Written(table)), table);
}

// A stray quote near the start of a long text must neither swallow the
// cells after it nor make each of them scan to the end again.
TEST(TabSeparated, AStrayQuoteAheadOfManyQuotedCellsLeavesThemTheirOwn) {
  std::string text = "\"stray\n";
  for (int i = 0; i < 200000; ++i) text += "\"\"\"\"\t\"\"\"\"\n";
  const TTable table = Read(text);
  ASSERT_EQ(table.size(), 200001u);
  EXPECT_EQ(table[0], std::vector<std::string>{"\"stray"});
  EXPECT_EQ(table[1], (std::vector<std::string>{"\"", "\""}));
  EXPECT_EQ(table.back(), (std::vector<std::string>{"\"", "\""}));
}

}  // namespace
}  // namespace kelvora
