// Which rows meet a filter's conditions.
#include "grid/sort/row_filter.h"

#include <vector>

#include "grid/sort/short_text_memo.h"
#include "grid/sort/sort_value.h"
#include "toolkit/ascii_case.h"

namespace kelvora {
namespace {

// A condition with its value read once, as the column's kind reads it.
struct TPreparedCondition {
  const TFilterCondition* Condition;
  TValueKind Kind;
  std::optional<std::int64_t> Value;
};

bool IsComparison(TFilterOperation operation) {
  return operation != foMatches && operation != foEmpty && operation != foNotEmpty;
}

int Compare(const TPreparedCondition& prepared, std::string_view text) {
  if (prepared.Value) {
    if (const auto value = ReadSortValue(prepared.Kind, text))
      return *value < *prepared.Value ? -1 : (*value > *prepared.Value ? 1 : 0);
  }
  return CompareTextIgnoringCase(text, prepared.Condition->Value);
}

bool Meets(const TPreparedCondition& prepared, std::string_view text) {
  const TFilterCondition& condition = *prepared.Condition;
  switch (condition.Operation) {
    case foMatches: return MatchesPattern(text, condition.Value);
    case foEmpty: return text.empty();
    case foNotEmpty: return !text.empty();
    default: break;
  }
  const int order = Compare(prepared, text);
  switch (condition.Operation) {
    case foEqual: return order == 0;
    case foNotEqual: return order != 0;
    case foLess: return order < 0;
    case foLessOrEqual: return order <= 0;
    case foGreater: return order > 0;
    default: return order >= 0;
  }
}

// meetsAt(i) says whether the row meets condition i.
template <typename MeetsAt>
bool RowMeets(const std::vector<TPreparedCondition>& prepared, MeetsAt meetsAt) {
  bool anyGroup = false;
  bool group = true;
  for (std::size_t i = 0; i < prepared.size(); ++i) {
    if (i > 0 && prepared[i].Condition->Join == fjOr) {
      if (group) return true;
      group = true;
    }
    anyGroup = true;
    if (group) group = meetsAt(i);
  }
  return !anyGroup || group;
}

std::vector<TPreparedCondition> Prepare(const TRowSource* source, const std::vector<TFilterCondition>& conditions) {
  std::vector<TPreparedCondition> prepared;
  for (const TFilterCondition& condition : conditions) {
    TPreparedCondition p{&condition, TValueKind::vkText, std::nullopt};
    if (source && IsComparison(condition.Operation)) {
      p.Kind = ColumnKind(*source, condition.Col);
      p.Value = ReadSortValue(p.Kind, condition.Value);
    }
    prepared.push_back(p);
  }
  return prepared;
}

}  // namespace

// The usual greedy walk with one point to go back to: the last star and the
// text position it has reached.
bool MatchesPattern(std::string_view text, std::string_view pattern) {
  std::size_t t = 0, p = 0;
  std::size_t starAt = std::string_view::npos, resumeAt = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starAt = p++;
      resumeAt = t;
    } else if (p < pattern.size() && (pattern[p] == '?' || AsciiLower(pattern[p]) == AsciiLower(text[t]))) {
      ++p;
      ++t;
    } else if (starAt != std::string_view::npos) {
      p = starAt + 1;
      t = ++resumeAt;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<bool> MatchingRows(const TRowSource& source, const std::vector<TFilterCondition>& conditions) {
  const std::vector<TPreparedCondition> prepared = Prepare(&source, conditions);
  std::vector<TShortTextMemo<bool>> memos(prepared.size());
  std::vector<bool> matching(static_cast<std::size_t>(std::max(source.RowCount(), 0)));
  for (int row = 0, rows = source.RowCount(); row < rows; ++row) {
    matching[row] = RowMeets(prepared, [&](std::size_t i) {
      const TPreparedCondition& condition = prepared[i];
      return memos[i].Of(source.Text(condition.Condition->Col, row),
                         [&](std::string_view text) { return Meets(condition, text); });
    });
  }
  return matching;
}

bool EmptyRowMatches(const std::vector<TFilterCondition>& conditions) {
  const std::vector<TPreparedCondition> prepared = Prepare(nullptr, conditions);
  return RowMeets(prepared, [&](std::size_t i) { return Meets(prepared[i], std::string_view()); });
}

}  // namespace kelvora
