#include "grid/sort/sort_value.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvora {
namespace {

using K = TValueKind;

// Pairs of texts of one kind, the first below the second.
struct TOrdered {
  K Kind;
  std::string Lower, Higher;
};

TEST(SortValue, ReadsEachKindInTheOrderOfItsValues) {
  const std::vector<TOrdered> cases = {
      {K::vkInteger, "9", "10"},
      {K::vkInteger, "-12", "3"},
      {K::vkInteger, " 7", "+8"},
      {K::vkDecimal, "2,5", "2.75"},
      {K::vkDecimal, "-0.5", "0"},
      {K::vkDecimal, "-3.5", "-1,25"},
      {K::vkDecimal, "999.9", "1,000.5"},
      {K::vkDecimal, "1.234,5", "1.234.567"},
      {K::vkTime, "9:59", "10:00"},
      {K::vkTime, "23:59:59", "23:59:59.5"},
      {K::vkDate, "31 Dec 2008", "1 Jan 2009"},
      {K::vkDate, "Fri, 9 Jan 2009 10:00:00 +0100", "Fri, 9 Jan 2009 09:30:00 +0000"},
      {K::vkDate, "Sat, 10 Jan 2009 01:00:00 +0200 (EET)", "Fri, 9 Jan 2009 18:30:00 EST"},
      {K::vkDate, "9 Jan 98", "9 Jan 08"},
      {K::vkDate, "Fri Jan  9 12:00:00 2009", "2009-01-09T12:00:01Z"},
      {K::vkDate, "09-Jan-2009", "2009-01-10"},
      {K::vkDate, "2009-02-28 22:59", "2009-03-01 00:00+01:00"},
      {K::vkMonth, "Feb", "march"},
      {K::vkMonth, "SEP", "Dec"},
      {K::vkWeekday, "Mon", "sunday"},
  };
  for (const TOrdered& c : cases) {
    const auto lower = ReadSortValue(c.Kind, c.Lower);
    const auto higher = ReadSortValue(c.Kind, c.Higher);
    ASSERT_TRUE(lower && higher) << c.Lower << " / " << c.Higher;
    EXPECT_LT(*lower, *higher) << c.Lower << " / " << c.Higher;
  }
  EXPECT_EQ(ReadSortValue(K::vkDecimal, "-0"), ReadSortValue(K::vkDecimal, "0.0"));
  EXPECT_EQ(ReadSortValue(K::vkDate, "Fri, 9 Jan 2009 10:00:00 +0100"), ReadSortValue(K::vkDate, "2009-01-09T09:00:00Z"));
}

TEST(SortValue, RefusesTextsNotOfTheKind) {
  const std::vector<std::pair<K, std::string>> cases = {
      {K::vkInteger, "1.5"},  {K::vkInteger, "12a"},      {K::vkInteger, "--1"},
      {K::vkInteger, "1234567890123456789"},                {K::vkDecimal, "1.2.3,4"},
      {K::vkDecimal, "1,23,4"}, {K::vkDecimal, "."},     {K::vkDecimal, "1e5"},
      {K::vkTime, "24:00"},   {K::vkTime, "12:60"},       {K::vkTime, "1:2"},
      {K::vkDate, "30 Feb 2009"}, {K::vkDate, "29 Feb 2100"}, {K::vkDate, "9 Jam 2009"},
      {K::vkDate, "9 Jan 2009 garbage"}, {K::vkDate, "2009-13-01"}, {K::vkMonth, "Ja"},
      {K::vkMonth, "Janu"},   {K::vkWeekday, "Jan"},      {K::vkText, "anything"},
      {K::vkInteger, std::string("1\0", 2)},               {K::vkDate, "\xff\xfe 9 Jan"},
  };
  for (const auto& [kind, text] : cases) EXPECT_FALSE(ReadSortValue(kind, text)) << text;
  EXPECT_TRUE(ReadSortValue(K::vkDate, "29 Feb 2000"));
}

TEST(SortValue, AColumnTakesTheKindMostOfItsCellsHold) {
  const std::vector<std::pair<std::vector<std::string>, K>> cases = {
      {{"1", "22", "-3"}, K::vkInteger},
      {{"1", "2,5", "3"}, K::vkDecimal},
      {{"1", "x", "y", "z"}, K::vkText},
      {{"1", "2", "x"}, K::vkInteger},
      {{"Jan", "Feb", "hello"}, K::vkMonth},
      {{"10:00", "9:30"}, K::vkTime},
      {{"Mon", "Tue"}, K::vkWeekday},
      {{}, K::vkText},
  };
  for (const auto& [texts, kind] : cases) {
    TKindTally tally;
    for (const std::string& text : texts) tally.Add(text);
    EXPECT_EQ(tally.Chosen(), kind) << (texts.empty() ? "" : texts.front());
  }
}

TEST(SortValue, ComparesTextWithoutLetterCaseOverAnyBytes) {
  EXPECT_EQ(CompareTextIgnoringCase("abc", "ABC"), 0);
  EXPECT_LT(CompareTextIgnoringCase("apple", "Banana"), 0);
  EXPECT_LT(CompareTextIgnoringCase("ab", "abc"), 0);
  EXPECT_LT(CompareTextIgnoringCase(std::string("a\0b", 3), std::string("a\0c", 3)), 0);
  EXPECT_GT(CompareTextIgnoringCase("\xff", "z"), 0);
}

}  // namespace
}  // namespace kelvora
