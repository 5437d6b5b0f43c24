// Sorting rows by keys: one stable pass per key, the last key first, each
// over a permutation of row numbers with the key's values worked out once.
#include "grid/sort/row_sort.h"

#include <algorithm>
#include <limits>
#include <numeric>

#include "grid/sort/sort_value.h"

namespace kelvora {
namespace {

// Where a cell stands in a key: read as the column's kind, not readable (it
// is then compared as text, after the readable cells), or empty.
enum TCellGroup : std::uint8_t { cgValue, cgText, cgEmpty };

// For the sorts that compare cell by cell: the values by row (for cgValue
// cells) and the group of each row.
struct TColumnValues {
  std::vector<std::int64_t> Values;
  std::vector<std::uint8_t> Groups;
};

TColumnValues ReadColumn(const TRowSource& source, int col, TValueKind kind) {
  const int rows = source.RowCount();
  TColumnValues column;
  column.Groups.resize(rows);
  if (kind != TValueKind::vkText) column.Values.resize(rows);
  for (int row = 0; row < rows; ++row) {
    const std::string_view text = source.Text(col, row);
    if (text.empty()) {
      column.Groups[row] = cgEmpty;
      continue;
    }
    const auto value = kind == TValueKind::vkText ? std::nullopt : ReadSortValue(kind, text);
    column.Groups[row] = value ? cgValue : cgText;
    if (value) column.Values[row] = *value;
  }
  return column;
}

// The values of a column's readable cells, without keeping them.
struct TValueRange {
  bool AllValues = true;  // no cell of the column is cgText
  std::int64_t Min = std::numeric_limits<std::int64_t>::max();
  std::int64_t Max = std::numeric_limits<std::int64_t>::min();
};

TValueRange ScanValues(const TRowSource& source, int col, TValueKind kind) {
  TValueRange range;
  for (int row = 0, rows = source.RowCount(); row < rows && range.AllValues; ++row) {
    const std::string_view text = source.Text(col, row);
    if (text.empty()) continue;
    const auto value = ReadSortValue(kind, text);
    if (!value) {
      range.AllValues = false;
      break;
    }
    range.Min = std::min(range.Min, *value);
    range.Max = std::max(range.Max, *value);
  }
  return range;
}

// The range leaves room for the code of the empty cells under 2^32.
bool FitsPackedCodes(const TValueRange& range) {
  if (!range.AllValues) return false;
  if (range.Min > range.Max) return true;  // every cell empty
  const auto span = static_cast<std::uint64_t>(range.Max) - static_cast<std::uint64_t>(range.Min);
  return span < std::numeric_limits<std::uint32_t>::max() - 1;
}

// A readable cell's code counts from 0 in the key's direction; the empty
// cells' code comes after every readable one's.
std::uint64_t ValueCode(std::int64_t value, const TValueRange& range, TSortDirection direction) {
  return direction == sdAscending ? static_cast<std::uint64_t>(value) - static_cast<std::uint64_t>(range.Min)
                                  : static_cast<std::uint64_t>(range.Max) - static_cast<std::uint64_t>(value);
}

std::uint64_t EmptyCode(const TValueRange& range) {
  return range.Min > range.Max ? 0 : static_cast<std::uint64_t>(range.Max) - static_cast<std::uint64_t>(range.Min) + 1;
}

// Each place's code goes above its place in the current order, so one plain
// sort of the words is a stable sort of the places by code. The values are
// read again rather than kept: the words are all the memory the pass needs
// beside the order.
void SortByPackedCodes(std::vector<std::uint32_t>& order, const TRowSource& source, int col, TValueKind kind,
                       const TValueRange& range, TSortDirection direction) {
  const std::size_t rows = order.size();
  const std::uint64_t emptyCode = EmptyCode(range);
  std::vector<std::uint64_t> words(rows);
  for (std::size_t place = 0; place < rows; ++place) {
    const std::string_view text = source.Text(col, static_cast<int>(order[place]));
    const std::uint64_t code = text.empty() ? emptyCode : ValueCode(*ReadSortValue(kind, text), range, direction);
    words[place] = code << 32 | place;
  }
  std::sort(words.begin(), words.end());
  for (std::uint64_t& word : words) word = order[word & 0xffffffffu];
  for (std::size_t place = 0; place < rows; ++place) order[place] = static_cast<std::uint32_t>(words[place]);
}

// The code of each row, read in row order, which the store reads fastest.
std::vector<std::uint32_t> RowCodes(const TRowSource& source, int col, TValueKind kind, const TValueRange& range,
                                    TSortDirection direction) {
  std::vector<std::uint32_t> codes(static_cast<std::size_t>(source.RowCount()),
                                   static_cast<std::uint32_t>(EmptyCode(range)));
  for (int row = 0, rows = source.RowCount(); row < rows; ++row) {
    const std::string_view text = source.Text(col, row);
    if (!text.empty()) codes[row] = static_cast<std::uint32_t>(ValueCode(*ReadSortValue(kind, text), range, direction));
  }
  return codes;
}

// A counting sort, stable and in one pass over the order, for keys of few
// values (years, months, days): a table of bucket starts beside the codes.
void SortByCounting(std::vector<std::uint32_t>& order, const std::vector<std::uint32_t>& codes,
                    std::size_t buckets) {
  std::vector<std::uint32_t> starts(buckets + 1);
  for (const std::uint32_t row : order) ++starts[codes[row] + 1];
  std::partial_sum(starts.begin(), starts.end(), starts.begin());
  std::vector<std::uint32_t> sorted(order.size());
  for (const std::uint32_t row : order) sorted[starts[codes[row]]++] = row;
  order = std::move(sorted);
}

// Few enough codes for the table of a counting sort to stay small beside
// the rows.
bool FitsCounting(const TValueRange& range, std::size_t rows) {
  return range.AllValues && EmptyCode(range) < std::max<std::uint64_t>(rows / 4, std::uint64_t{1} << 16);
}

void SortByComparing(std::vector<std::uint32_t>& order, const TRowSource& source, int col,
                     const TColumnValues& column, TSortDirection direction) {
  const auto less = [&](std::uint32_t a, std::uint32_t b) {
    const std::uint8_t ga = column.Groups[a];
    const std::uint8_t gb = column.Groups[b];
    if (ga == cgEmpty || gb == cgEmpty) return ga != cgEmpty && gb == cgEmpty;
    int sign = 0;
    if (ga != gb) sign = ga < gb ? -1 : 1;
    else if (ga == cgValue) sign = column.Values[a] < column.Values[b] ? -1 : (column.Values[a] > column.Values[b] ? 1 : 0);
    else sign = CompareTextIgnoringCase(source.Text(col, a), source.Text(col, b));
    return direction == sdAscending ? sign < 0 : sign > 0;
  };
  std::stable_sort(order.begin(), order.end(), less);
}

void SortByKey(std::vector<std::uint32_t>& order, const TRowSource& source, const TSortKey& key, bool autoFormat) {
  const TValueKind kind = autoFormat ? ColumnKind(source, key.Col) : TValueKind::vkText;
  if (kind != TValueKind::vkText) {
    const TValueRange range = ScanValues(source, key.Col, kind);
    if (FitsCounting(range, order.size()))
      return SortByCounting(order, RowCodes(source, key.Col, kind, range, key.Direction), EmptyCode(range) + 1);
    if (FitsPackedCodes(range)) return SortByPackedCodes(order, source, key.Col, kind, range, key.Direction);
  }
  SortByComparing(order, source, key.Col, ReadColumn(source, key.Col, kind), key.Direction);
}

}  // namespace

std::vector<std::uint32_t> SortedRowOrder(const TRowSource& source, std::span<const TSortKey> keys, bool autoFormat) {
  std::vector<std::uint32_t> order(static_cast<std::size_t>(std::max(source.RowCount(), 0)));
  std::iota(order.begin(), order.end(), 0u);
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) SortByKey(order, source, *key, autoFormat);
  return order;
}

}  // namespace kelvora
