// Random sorts, filters, edits, deletions and insertions on the grid and on
// a plain model of its rows, compared after every step: the order, the
// stability of each sort, the rows a filter hides and where they come back,
// and that no cell is lost.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "cell_grid_test_support.h"
#include "toolkit/ascii_case.h"

namespace kelvora {
namespace {

struct TModelRow {
  std::string Cells[2];  // a number or nothing; a word or nothing
  std::uint32_t Rank = 0;
};

int CaseBlind(const std::string& a, const std::string& b) {
  for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return AsciiLower(a[i]) < AsciiLower(b[i]) ? -1 : 1;
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// The model: the shown rows in order, the hidden ones, the sort keys and
// whether ranks are kept (from the first sort or filter on).
class TModel {
 public:
  std::vector<TModelRow> Shown, Hidden;
  std::vector<TSortKey> Keys;
  bool Ranked = false;

  void Sort(const std::vector<TSortKey>& keys) {
    Rank();
    Keys = keys;
    SortRows(Shown);
  }
  void Restore() {
    Keys.clear();
    if (!Ranked) return;
    std::stable_sort(Shown.begin(), Shown.end(), [](const auto& a, const auto& b) { return a.Rank < b.Rank; });
    if (Hidden.empty() && !filtered) Ranked = false;
  }
  // False when no row meets the filter: the grid refuses it.
  bool Filter(const std::string& year) {
    if (filtered) Clear();
    if (std::none_of(Shown.begin(), Shown.end(), [&](const auto& r) { return r.Cells[0] == year; })) return false;
    Rank();
    std::vector<TModelRow> shown;
    for (const TModelRow& row : Shown) (row.Cells[0] == year ? shown : Hidden).push_back(row);
    Shown = shown;
    filtered = true;
    return true;
  }
  void Clear() {
    if (!filtered) return;
    Shown.insert(Shown.end(), Hidden.begin(), Hidden.end());
    Hidden.clear();
    filtered = false;
    if (!Keys.empty()) SortRows(Shown);
    else Restore();
  }
  void Insert(std::size_t at) {
    TModelRow row;
    if (Ranked && at > 0) row.Rank = Shown[at - 1].Rank;
    Shown.insert(Shown.begin() + static_cast<std::ptrdiff_t>(at), row);
  }

 private:
  void Rank() {
    if (Ranked) return;
    for (std::uint32_t i = 0; i < Shown.size(); ++i) Shown[i].Rank = i;
    Ranked = true;
  }
  // Numbers by value when the column holds any, words case-blind, empty
  // cells last both ways.
  void SortRows(std::vector<TModelRow>& rows) const {
    std::stable_sort(rows.begin(), rows.end(), [&](const TModelRow& a, const TModelRow& b) {
      for (const TSortKey& key : Keys) {
        const std::string& x = a.Cells[key.Col];
        const std::string& y = b.Cells[key.Col];
        if (x.empty() || y.empty()) {
          if (x.empty() != y.empty()) return y.empty();
          continue;
        }
        const int sign = key.Col == 0 ? (std::stoi(x) < std::stoi(y) ? -1 : std::stoi(x) > std::stoi(y)) : CaseBlind(x, y);
        if (sign != 0) return key.Direction == sdAscending ? sign < 0 : sign > 0;
      }
      return false;
    });
  }
  bool filtered = false;
};

TEST(CellGridSortModel, RandomStepsMatchAPlainModel) {
  std::mt19937 random(2209);
  const std::vector<std::string> numbers = {"", "1", "2", "10", "-3", "2009"};
  const std::vector<std::string> words = {"", "a", "B", "b", "apple", "Cy"};
  for (int round = 0; round < 30; ++round) {
    grid_test::TTestCellGrid grid;
    grid.SetColCount(2);
    grid.SetFixedCols(0);
    grid.SetFixedRows(1);
    TModel model;
    const int rows = 1 + static_cast<int>(random() % 12);
    grid.SetRowCount(rows + 1);
    for (int r = 0; r < rows; ++r) {
      TModelRow row;
      row.Cells[0] = numbers[random() % numbers.size()];
      row.Cells[1] = words[random() % words.size()];
      for (int c = 0; c < 2; ++c) grid.SetCells(c, r + 1, row.Cells[c]);
      model.Shown.push_back(row);
    }
    for (int step = 0; step < 40; ++step) {
      const auto shown = model.Shown.size();
      const int pick = static_cast<int>(random() % 9);
      std::string what = std::to_string(pick);
      if (pick <= 1) {
        std::vector<TSortKey> keys;
        for (int k = 0, n = 1 + static_cast<int>(random() % 2); k < n; ++k)
          keys.push_back({static_cast<int>(random() % 2), random() % 2 ? sdAscending : sdDescending});
        // The numbers column sorts by value only while it holds a number.
        const bool anyNumber = std::any_of(model.Shown.begin(), model.Shown.end(), [](const auto& r) { return !r.Cells[0].empty(); });
        if (!anyNumber) continue;
        grid.SetSortColumns(keys);
        model.Sort(keys);
      } else if (pick == 2) {
        grid.RestoreFileOrder();
        model.Restore();
      } else if (pick == 3 && shown > 0) {
        const int r = static_cast<int>(random() % shown), c = static_cast<int>(random() % 2);
        const std::string& text = (c == 0 ? numbers : words)[random() % 6];
        grid.SetCells(c, r + 1, text);
        model.Shown[r].Cells[c] = text;
      } else if (pick == 4 && shown > 1) {
        const int r = static_cast<int>(random() % shown);
        grid.RemoveRows(r + 1, 1);
        model.Shown.erase(model.Shown.begin() + r);
      } else if (pick == 5) {
        const int r = static_cast<int>(random() % (shown + 1));
        grid.InsertRows(r + 1, 1);
        model.Insert(r);
      } else if (pick == 6) {
        const std::string year = numbers[1 + random() % 5];
        grid.Filter().Conditions = {{0, foEqual, year}};
        if (model.Filter(year)) grid.ApplyFilter();
        else EXPECT_THROW(grid.ApplyFilter(), ECellGridError);
      } else if (pick == 7) {
        grid.ClearFilter();
        model.Clear();
      }
      ASSERT_EQ(grid.RowCount(), static_cast<int>(model.Shown.size()) + 1) << "round " << round << " step " << what;
      for (std::size_t r = 0; r < model.Shown.size(); ++r)
        for (int c = 0; c < 2; ++c)
          ASSERT_EQ(grid.Cells(c, static_cast<int>(r) + 1), model.Shown[r].Cells[c])
              << "round " << round << " step " << step << " (" << what << ") row " << r;
      ASSERT_EQ(grid.CheckConsistency(), "");
    }
  }
}

}  // namespace
}  // namespace kelvora
