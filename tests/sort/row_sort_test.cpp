#include "grid/sort/row_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "grid/sort/sort_value.h"

namespace kelvora {
namespace {

class TTable : public TRowSource {
 public:
  explicit TTable(std::vector<std::vector<std::string>> rows) : rows_(std::move(rows)) {}
  int RowCount() const override { return static_cast<int>(rows_.size()); }
  std::string_view Text(int col, int row) const override {
    const auto& cells = rows_[row];
    return col < static_cast<int>(cells.size()) ? std::string_view(cells[col]) : std::string_view();
  }

 private:
  std::vector<std::vector<std::string>> rows_;
};

std::vector<std::string> Column(const TTable& table, const std::vector<std::uint32_t>& order, int col) {
  std::vector<std::string> texts;
  for (std::uint32_t row : order) texts.emplace_back(table.Text(col, row));
  return texts;
}

using Texts = std::vector<std::string>;

TEST(RowSort, OrdersEachKindByValueWithEmptyCellsLastBothWays) {
  struct TCase {
    Texts Cells;
    bool AutoFormat;
    Texts Ascending, Descending;
  };
  const std::vector<TCase> cases = {
      {{"10", "", "9", "-1"}, true, {"-1", "9", "10", ""}, {"10", "9", "-1", ""}},
      {{"10", "", "9", "-1"}, false, {"-1", "10", "9", ""}, {"9", "10", "-1", ""}},
      {{"2,5", "10", "2.25"}, true, {"2.25", "2,5", "10"}, {"10", "2,5", "2.25"}},
      {{"Mar", "jan", "", "Feb"}, true, {"jan", "Feb", "Mar", ""}, {"Mar", "Feb", "jan", ""}},
      {{"b", "A", "", "a", "B"}, true, {"A", "a", "b", "B", ""}, {"b", "B", "A", "a", ""}},
      // A column mostly of numbers: the numbers by value, then the texts.
      {{"x", "20", "3", "", "100"}, true, {"3", "20", "100", "x", ""}, {"x", "100", "20", "3", ""}},
      {{"Fri, 9 Jan 2009 10:00:00 +0000", "8 Jan 2009", "1 Feb 2008"},
       true,
       {"1 Feb 2008", "8 Jan 2009", "Fri, 9 Jan 2009 10:00:00 +0000"},
       {"Fri, 9 Jan 2009 10:00:00 +0000", "8 Jan 2009", "1 Feb 2008"}},
      // Values too far apart to count, then too far apart for the packed codes.
      {{"100000", "", "7", "-5"}, true, {"-5", "7", "100000", ""}, {"100000", "7", "-5", ""}},
      {{"9000000000000", "-9000000000000", "0"}, true, {"-9000000000000", "0", "9000000000000"},
       {"9000000000000", "0", "-9000000000000"}},
  };
  for (const TCase& c : cases) {
    std::vector<std::vector<std::string>> rows;
    for (const std::string& text : c.Cells) rows.push_back({text});
    const TTable table(rows);
    const TSortKey up[] = {{0, sdAscending}};
    const TSortKey down[] = {{0, sdDescending}};
    EXPECT_EQ(Column(table, SortedRowOrder(table, up, c.AutoFormat), 0), c.Ascending) << c.Cells[0];
    EXPECT_EQ(Column(table, SortedRowOrder(table, down, c.AutoFormat), 0), c.Descending) << c.Cells[0];
  }
}

TEST(RowSort, SeveralKeysAndEqualRowsKeepTheirOrder) {
  const TTable table({{"2009", "Jan", "b"}, {"2008", "Feb", "a"}, {"2009", "Jan", "a"}, {"2008", "Jan", "c"},
                      {"2009", "Feb", "d"}, {"2009", "Jan", "e"}});
  const TSortKey keys[] = {{0, sdDescending}, {1, sdAscending}};
  EXPECT_EQ(SortedRowOrder(table, keys, true), (std::vector<std::uint32_t>{0, 2, 5, 4, 3, 1}));
}

TEST(RowSort, BadBytesAndHugeCellsCompareWithoutHarm) {
  const std::string huge(10 * 1024 * 1024, 'z');
  const TTable table({{huge}, {std::string("a\0b", 3)}, {"\xff\xfe"}, {"\xc3("}, {huge + "a"}});
  const TSortKey keys[] = {{0, sdAscending}};
  EXPECT_EQ(SortedRowOrder(table, keys, true), (std::vector<std::uint32_t>{1, 0, 4, 3, 2}));
}

// The packed and the comparing paths against a plain stable sort that reads
// every value afresh in each comparison.
TEST(RowSort, AgreesWithAPlainStableSortOnRandomTables) {
  std::mt19937 random(22);
  const Texts pool = {"", "1", "2", "-7", "10", "2,5", "x", "Y", "y", "Jan", "feb", "9 Jan 2009", "10:00", "Z"};
  for (int round = 0; round < 200; ++round) {
    std::vector<std::vector<std::string>> rows(random() % 40);
    for (auto& row : rows)
      for (int col = 0; col < 3; ++col) row.push_back(pool[random() % (col == 0 ? 6 : pool.size())]);
    const TTable table(rows);
    std::vector<TSortKey> keys;
    for (int k = 0, count = 1 + random() % 3; k < count; ++k)
      keys.push_back({static_cast<int>(random() % 3), random() % 2 ? sdAscending : sdDescending});
    std::vector<TValueKind> kinds;
    for (const TSortKey& key : keys) {
      TKindTally tally;
      for (const auto& row : rows)
        if (!row[key.Col].empty()) tally.Add(row[key.Col]);
      kinds.push_back(tally.Chosen());
    }
    const auto sign = [&](std::size_t k, std::uint32_t a, std::uint32_t b) {
      const std::string& x = rows[a][keys[k].Col];
      const std::string& y = rows[b][keys[k].Col];
      if (x.empty() || y.empty()) return x.empty() == y.empty() ? 0 : (x.empty() ? 2 : -2);
      const auto vx = ReadSortValue(kinds[k], x), vy = ReadSortValue(kinds[k], y);
      int s = 0;
      if (vx && vy) s = *vx < *vy ? -1 : *vx > *vy;
      else if (vx || vy) s = vx ? -1 : 1;
      else s = CompareTextIgnoringCase(x, y);
      return keys[k].Direction == sdAscending ? s : -s;
    };
    std::vector<std::uint32_t> expected(rows.size());
    for (std::uint32_t i = 0; i < expected.size(); ++i) expected[i] = i;
    std::stable_sort(expected.begin(), expected.end(), [&](std::uint32_t a, std::uint32_t b) {
      for (std::size_t k = 0; k < keys.size(); ++k) {
        const int s = sign(k, a, b);
        if (s == 2 || s == -2) return s == -2;
        if (s != 0) return s < 0;
      }
      return false;
    });
    ASSERT_EQ(SortedRowOrder(table, keys, true), expected) << "round " << round;
  }
}

}  // namespace
}  // namespace kelvora
