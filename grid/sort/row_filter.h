#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "grid/sort/sort_keys.h"

namespace kelvora {

enum TFilterOperation {
  foMatches,         // a pattern: "*" any run of characters, "?" one character
  foEqual,           // by value when the column's kind reads both, else as text
  foNotEqual,
  foLess,
  foLessOrEqual,
  foGreater,
  foGreaterOrEqual,
  foEmpty,
  foNotEmpty,
};
enum TFilterJoin { fjAnd, fjOr };

// One condition on a stored column. Join says how it joins the conditions
// before it; "and" binds closer than "or", so a, or b, and c reads
// a || (b && c). Text compares without regard to letter case.
struct TFilterCondition {
  int Col = 0;
  TFilterOperation Operation = foEqual;
  std::string Value;
  TFilterJoin Join = fjAnd;
};

// Whether the text fits the pattern, ASCII letter case aside. Bytes, not
// characters: "?" takes one byte. Linear in the text for each star.
bool MatchesPattern(std::string_view text, std::string_view pattern);

// One flag per row of the source: true where the row meets the conditions.
// No condition: every row matches.
std::vector<bool> MatchingRows(const TRowSource& source, const std::vector<TFilterCondition>& conditions);

// Whether a row that holds nothing at all meets the conditions, for the
// rows past the last stored one.
bool EmptyRowMatches(const std::vector<TFilterCondition>& conditions);

}  // namespace kelvora
