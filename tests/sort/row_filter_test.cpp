#include "grid/sort/row_filter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvora {
namespace {

TEST(RowFilter, PatternsTakeStarsAndQuestionMarks) {
  const std::vector<std::tuple<std::string, std::string, bool>> cases = {
      {"2009", "2009", true},       {"2009", "20?9", true},       {"2009", "2*", true},
      {"2009", "*9", true},         {"2009", "*", true},          {"", "*", true},
      {"", "?", false},             {"Jan", "j*N", true},         {"abcabd", "*ab?", true},
      {"abcabc", "*abd", false},    {"mississippi", "m*iss*ppi", true}, {"a*b", "a\\*b", false},
      {std::string("a\0b", 3), "a?b", true}, {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*c", false},
      {"ab", "abc", false},         {"abc", "ab", false},
  };
  for (const auto& [text, pattern, matches] : cases) EXPECT_EQ(MatchesPattern(text, pattern), matches) << text << " ~ " << pattern;
}

class TRows : public TRowSource {
 public:
  explicit TRows(std::vector<std::vector<std::string>> rows) : rows_(std::move(rows)) {}
  int RowCount() const override { return static_cast<int>(rows_.size()); }
  std::string_view Text(int col, int row) const override { return rows_[row][col]; }

 private:
  std::vector<std::vector<std::string>> rows_;
};

// Conditions against rows of (year, month, name).
TEST(RowFilter, ConditionsCompareByTheColumnsKindAndJoinWithAndBeforeOr) {
  const TRows rows({{"2009", "Jan", "Ann"}, {"10", "Feb", "bob"}, {"2010", "mar", ""}, {"", "Dec", "Cy"}});
  struct TCase {
    std::vector<TFilterCondition> Conditions;
    std::vector<bool> Matching;
  };
  const std::vector<TCase> cases = {
      {{{0, foEqual, "2009"}}, {true, false, false, false}},
      {{{0, foGreater, "9"}}, {true, true, true, false}},  // numbers, not text
      {{{0, foLess, "2010"}}, {true, true, false, true}},  // the empty cell as text
      {{{1, foGreaterOrEqual, "feb"}}, {false, true, true, true}},
      {{{2, foEqual, "BOB"}}, {false, true, false, false}},
      {{{2, foEmpty, ""}}, {false, false, true, false}},
      {{{2, foNotEmpty, ""}, {0, foNotEqual, "10", fjAnd}}, {true, false, false, true}},
      {{{0, foEqual, "10"}, {1, foMatches, "?a*", fjOr}, {2, foEmpty, "", fjAnd}}, {false, true, true, false}},
      {{}, {true, true, true, true}},
  };
  for (const TCase& c : cases) EXPECT_EQ(MatchingRows(rows, c.Conditions), c.Matching);
  EXPECT_TRUE(EmptyRowMatches({{2, foEmpty, ""}}));
  EXPECT_FALSE(EmptyRowMatches({{0, foEqual, "2009"}}));
}

}  // namespace
}  // namespace kelvora
