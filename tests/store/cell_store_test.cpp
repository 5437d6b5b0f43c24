#include "grid/store/cell_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <numeric>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>


namespace kelvora {
namespace {

using namespace std::string_literals;

constexpr int kMax = TCellStore::kMaxIndex;

// Objects are opaque to the store; these addresses are never dereferenced.
void* FakeObject(int n) { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(n + 1) * 16); }

std::string RowLabel(int row) { return "row " + std::to_string(row); }

// Rows 0 .. count-1, each with its label in column 0 and a short text in column 1.
void FillRows(TCellStore& store, int count) {
  for (int row = 0; row < count; ++row) {
    store.SetText(0, row, RowLabel(row));
    store.SetText(1, row, std::to_string(row % 10));
  }
}

using Visit = std::tuple<int, int, void*>;
using Places = std::vector<std::pair<int, int>>;

// ---- Reading and writing cells ---------------------------------------------

TEST(CellStore, NeverWrittenCellsReadEmptyWithoutObjectOrColour) {
  TCellStore store;
  store.SetText(3, 2, "x");
  for (auto [col, row] : Places{{0, 0}, {2, 2}, {4, 2}, {3, 3}, {3, 1}, {kMax, kMax}, {kMax, 2}, {3, kMax}}) {
    EXPECT_EQ(store.TextView(col, row), "") << col << "," << row;
    EXPECT_FALSE(store.HasText(col, row));
    EXPECT_EQ(store.Object(col, row), nullptr);
    EXPECT_EQ(store.Color(col, row), clNone);
  }
  EXPECT_EQ(store.StoredRowCount(), 1);

  // Writing nothing to a cell that holds nothing stores nothing.
  store.SetText(5, 5, "");
  store.SetObject(5, 6, nullptr);
  store.SetColor(5, 7, clNone);
  EXPECT_EQ(store.StoredRowCount(), 1);
  EXPECT_EQ(store.RowEnd(), 3);
  EXPECT_EQ(store.CheckConsistency(), "");
}

TEST(CellStore, KeepsTextsOfEveryLengthAndByteAnywhere) {
  const std::vector<std::string> texts = {"a", "1234567", "12345678", "\0"s, "a\0b\0c\0d\0e"s,
                                          std::string(5000, 'z'), "\xFF\xFE"s};
  const Places places = {{0, 0}, {6, 0}, {40, 3}, {70000, 3}, {kMax, 3},
                                                   {2, 5000}, {0, 100000000}, {kMax, kMax}};
  TCellStore store;
  for (std::size_t p = 0; p < places.size(); ++p) {
    const auto [col, row] = places[p];
    store.SetText(col, row, texts[p % texts.size()]);
  }
  EXPECT_EQ(store.CheckConsistency(), "");
  for (std::size_t p = 0; p < places.size(); ++p) {
    const auto [col, row] = places[p];
    EXPECT_EQ(store.Text(col, row), texts[p % texts.size()]) << col << "," << row;
    EXPECT_TRUE(store.HasText(col, row));
  }
}

TEST(CellStore, OverwritesAndEmptiesCells) {
  TCellStore store;
  const std::string longText(64, 'L');
  for (int col : {0, 3, 50, 100000}) {
    store.SetText(col, 1, longText);
    store.SetText(col, 1, "s");
    EXPECT_EQ(store.TextView(col, 1), "s");
    store.SetText(col, 1, longText);
    EXPECT_EQ(store.TextView(col, 1), longText);
    store.SetText(col, 1, "");
    EXPECT_EQ(store.TextView(col, 1), "");
    EXPECT_EQ(store.CheckConsistency(), "");
  }
  // A row left holding nothing is given back.
  EXPECT_TRUE(store.Empty());
}

TEST(CellStore, CopiesACellFromAViewOfTheSameStore) {
  TCellStore store;
  store.SetText(0, 0, "abc");
  store.SetText(1, 0, "a longer text of the row");
  // Column 30 lies past the room of the new row, so the row grows while the
  // views still point into it.
  store.SetText(30, 0, store.TextView(0, 0));
  store.SetText(31, 0, store.TextView(1, 0));
  store.SetText(0, 0, store.TextView(0, 0).substr(1));
  EXPECT_EQ(store.TextView(30, 0), "abc");
  EXPECT_EQ(store.TextView(31, 0), "a longer text of the row");
  EXPECT_EQ(store.TextView(0, 0), "bc");
  EXPECT_EQ(store.CheckConsistency(), "");
}

// Column 5000 of a row with few texts goes to the row's side part, which a
// plain row makes room for by moving its cells while the views point into them.
TEST(CellStore, CopiesACellIntoTheSidePartOfItsOwnRow) {
  TCellStore store;
  store.SetText(0, 0, "abc");
  store.SetText(1, 0, "a longer text of the row");
  store.SetText(5000, 0, store.TextView(0, 0));
  store.SetText(6000, 0, store.TextView(1, 0));
  EXPECT_EQ(store.TextView(0, 0), "abc");
  EXPECT_EQ(store.TextView(1, 0), "a longer text of the row");
  EXPECT_EQ(store.TextView(5000, 0), "abc");
  EXPECT_EQ(store.TextView(6000, 0), "a longer text of the row");
  EXPECT_EQ(store.CheckConsistency(), "");
}

// Narrow rows and wide ones, with and without a colour, keep every text and
// are given back exactly when their last text goes, whichever goes last.
TEST(CellStore, ARowIsGivenBackWhenItsLastTextIsErased) {
  for (const int columns : {7, 32, 33, 300}) {
    for (const bool coloured : {false, true}) {
      TCellStore store;
      store.SetColumnCapacityHint(columns);
      for (int col = 0; col < columns; ++col) store.SetText(col, 4, std::to_string(col));
      if (coloured) {
        store.SetColor(columns / 2, 4, clRed);
        store.SetColor(columns / 2, 4, clNone);
      }
      store.SetText(columns - 1, 4, "last");
      for (int col = 0; col < columns - 1; ++col) EXPECT_EQ(store.TextView(col, 4), std::to_string(col)) << col;
      for (int col = 0; col < columns; ++col) {
        EXPECT_EQ(store.StoredRowCount(), 1) << columns << " columns, before erasing " << col;
        store.SetText(col, 4, "");
        ASSERT_EQ(store.CheckConsistency(), "") << columns << " columns, after erasing " << col;
      }
      EXPECT_TRUE(store.Empty()) << columns << " columns";
    }
  }
}

TEST(CellStore, ObjectsAndColoursAreKeptApartFromTexts) {
  TCellStore store;
  store.SetObject(2, 4, FakeObject(1));
  store.SetColor(2, 4, clRed);
  store.SetColor(kMax, kMax, clNavy);
  EXPECT_EQ(store.TextView(2, 4), "");
  EXPECT_EQ(store.Object(2, 4), FakeObject(1));
  EXPECT_EQ(store.Color(2, 4), clRed);
  EXPECT_EQ(store.Color(kMax, kMax), clNavy);
  EXPECT_EQ(store.Object(3, 4), nullptr);

  store.SetText(2, 4, "text");
  store.SetText(2, 4, "");
  EXPECT_EQ(store.Object(2, 4), FakeObject(1));  // emptying the text keeps the object

  store.SetObject(2, 4, nullptr);
  EXPECT_EQ(store.Color(2, 4), clRed);
  store.SetColor(2, 4, clNone);
  store.SetColor(kMax, kMax, clNone);
  EXPECT_TRUE(store.Empty());
  EXPECT_EQ(store.CheckConsistency(), "");
}

TEST(CellStore, SparseRowsAndColumnsJoinTheDensePartWhenFilledIn) {
  TCellStore store;
  store.SetText(0, 5000, "far row");
  store.SetText(kMax, kMax, "corner");
  for (int row = 0; row < 5000; ++row) store.SetText(0, row, RowLabel(row));
  store.SetText(2000, 7, "far column");
  for (int col = 0; col < 2000; ++col) store.SetText(col, 7, std::to_string(col));
  // CheckConsistency also insists that rows and columns which are no longer
  // sparse have left the side structures.
  EXPECT_EQ(store.CheckConsistency(), "");
  EXPECT_EQ(store.TextView(0, 5000), "far row");
  EXPECT_EQ(store.TextView(0, 4999), RowLabel(4999));
  EXPECT_EQ(store.TextView(2000, 7), "far column");
  EXPECT_EQ(store.TextView(1999, 7), "1999");
  EXPECT_EQ(store.TextView(kMax, kMax), "corner");
  EXPECT_EQ(store.RowEnd(), kMax + 1);
}

TEST(CellStore, RowsWrittenBottomUpEndDense) {
  TCellStore store;
  const int rows = 200000;
  for (int row = rows - 1; row >= 0; --row) {
    for (int col = 0; col < 3; ++col) store.SetText(col, row, std::to_string(row + col));
  }
  EXPECT_EQ(store.CheckConsistency(), "");
  EXPECT_EQ(store.StoredRowCount(), rows);
  EXPECT_EQ(store.RowEnd(), rows);
  EXPECT_EQ(store.TextView(2, rows - 1), std::to_string(rows + 1));
  store.RemoveRows(0, 1);
  EXPECT_EQ(store.TextView(0, 0), "1");
  EXPECT_EQ(store.RowEnd(), rows - 1);
  EXPECT_EQ(store.CheckConsistency(), "");
}

TEST(CellStore, ColumnsWrittenRightToLeftReadBackInOrder) {
  TCellStore store;
  for (int col = 3000; col >= 0; --col) store.SetText(col, 0, std::to_string(col));
  std::vector<int> seen;
  store.ForEachTextInRow(0, [&](int col, std::string_view text) {
    EXPECT_EQ(text, std::to_string(col));
    seen.push_back(col);
  });
  ASSERT_EQ(seen.size(), 3001u);
  for (int col = 0; col <= 3000; ++col) EXPECT_EQ(seen[col], col);
  EXPECT_EQ(store.CheckConsistency(), "");
}

TEST(CellStore, IteratesOnlyNonEmptyTextsInOrder) {
  TCellStore store;
  store.SetText(1, 0, "b");
  store.SetText(0, 0, "a");
  store.SetText(100000, 0, "far");
  store.SetText(1, 2, "c");
  store.SetText(1, 4, "");
  store.SetText(1, 900000, "d");
  store.SetText(1, kMax, "e");
  std::vector<std::pair<int, std::string>> row;
  store.ForEachTextInRow(0, [&](int col, std::string_view text) { row.emplace_back(col, text); });
  EXPECT_EQ(row, (std::vector<std::pair<int, std::string>>{{0, "a"}, {1, "b"}, {100000, "far"}}));

  std::vector<std::pair<int, std::string>> column;
  store.ForEachTextInColumn(1, 0, kMax, [&](int r, std::string_view text) { column.emplace_back(r, text); });
  EXPECT_EQ(column, (std::vector<std::pair<int, std::string>>{{0, "b"}, {2, "c"}, {900000, "d"}, {kMax, "e"}}));

  column.clear();
  store.ForEachTextInColumn(1, 1, 900000, [&](int r, std::string_view text) { column.emplace_back(r, text); });
  EXPECT_EQ(column, (std::vector<std::pair<int, std::string>>{{2, "c"}, {900000, "d"}}));
  store.ForEachTextInRow(5, [&](int, std::string_view) { ADD_FAILURE() << "row 5 holds nothing"; });
}

// A row's texts read as inline words say the same as their views, and a row
// that holds a text the words cannot carry says so instead.
TEST(CellStore, ReadsARowAsInlineWordsOnlyWhereEveryTextFits) {
  TCellStore store;
  store.SetText(0, 0, "Mon");
  store.SetText(2, 0, "seven77");
  store.SetText(0, 1, "eight888");
  store.SetText(3, 2, "x");
  store.SetText(100000, 2, "far");  // in the side part, past the array
  store.SetText(0, 3, "y");
  store.SetColor(0, 3, clRed);  // a side part holding no text
  const auto words = [&](int row, int from, int to) {
    std::vector<std::uint64_t> out(to - from + 1, 0);
    if (!store.RowInlineWords(row, from, to, out.data())) return std::vector<std::string>{"(no words)"};
    std::vector<std::string> texts;
    for (const std::uint64_t word : out) {
      EXPECT_EQ(word & 1u, 1u);
      std::string text;
      for (std::uint64_t n = 0; n < (word & 0xFFu) >> 1; ++n) text += static_cast<char>(word >> (8 * (n + 1)));
      texts.push_back(text);
    }
    return texts;
  };
  EXPECT_EQ(words(0, 0, 3), (std::vector<std::string>{"Mon", "", "seven77", ""}));
  EXPECT_EQ(words(1, 0, 1), (std::vector<std::string>{"(no words)"}));
  EXPECT_EQ(words(2, 2, 3), (std::vector<std::string>{"", "x"}));
  EXPECT_EQ(words(2, 99999, 100000), (std::vector<std::string>{"(no words)"}));
  EXPECT_EQ(words(3, 0, 0), (std::vector<std::string>{"y"}));
  EXPECT_EQ(words(9, 0, 2), (std::vector<std::string>{"", "", ""}));
}

// ---- Moving rows ------------------------------------------------------------

TEST(CellStoreRows, RemovingRowsMovesTextsObjectsAndColoursUp) {
  TCellStore store;
  FillRows(store, 10);
  store.SetObject(1, 7, FakeObject(7));
  store.SetColor(0, 8, clRed);
  store.RemoveRows(3, 2);
  EXPECT_EQ(store.TextView(0, 2), RowLabel(2));
  EXPECT_EQ(store.TextView(0, 3), RowLabel(5));
  EXPECT_EQ(store.TextView(0, 7), RowLabel(9));
  EXPECT_EQ(store.TextView(0, 8), "");
  EXPECT_EQ(store.Object(1, 5), FakeObject(7));
  EXPECT_EQ(store.Object(1, 7), nullptr);
  EXPECT_EQ(store.Color(0, 6), clRed);
  EXPECT_EQ(store.RowEnd(), 8);
  EXPECT_EQ(store.CheckConsistency(), "");
}

TEST(CellStoreRows, RemovesAtTheEndsAndBeyondTheStoredRows) {
  TCellStore store;
  FillRows(store, 5);
  store.RemoveRows(0, 1);
  EXPECT_EQ(store.TextView(0, 0), RowLabel(1));
  store.RemoveRows(3, 1);  // the last row
  EXPECT_EQ(store.RowEnd(), 3);
  store.RemoveRows(10, 5);  // nothing stored there
  store.RemoveRows(0, 0);
  store.RemoveRows(1, -4);
  EXPECT_EQ(store.RowEnd(), 3);
  EXPECT_EQ(store.TextView(0, 2), RowLabel(3));
  store.RemoveRows(1, kMax);  // more rows than there are
  EXPECT_EQ(store.RowEnd(), 1);
  EXPECT_EQ(store.TextView(0, 0), RowLabel(1));
  EXPECT_EQ(store.CheckConsistency(), "");
}

TEST(CellStoreRows, RemovingRowsMovesFarRowsUpToo) {
  TCellStore store;
  FillRows(store, 10);
  store.SetText(0, 1000000, "million");
  store.SetColor(0, 1000000, clLime);
  store.SetText(0, kMax, "last");
  store.RemoveRows(5, 10);  // reaches past the dense rows
  EXPECT_EQ(store.TextView(0, 4), RowLabel(4));
  EXPECT_EQ(store.TextView(0, 5), "");
  EXPECT_EQ(store.TextView(0, 999990), "million");
  EXPECT_EQ(store.Color(0, 999990), clLime);
  EXPECT_EQ(store.TextView(0, kMax - 10), "last");
  store.RemoveRows(999990, 1);
  EXPECT_EQ(store.TextView(0, kMax - 11), "last");
  store.RemoveRows(kMax - 11, 1);
  EXPECT_EQ(store.RowEnd(), 5);
  EXPECT_EQ(store.CheckConsistency(), "");
}

TEST(CellStoreRows, InsertingRowsMovesEverythingDown) {
  TCellStore store;
  FillRows(store, 6);
  store.SetObject(0, 4, FakeObject(4));
  store.SetText(0, 1000000, "million");
  ASSERT_TRUE(store.InsertRows(2, 3));
  EXPECT_EQ(store.TextView(0, 1), RowLabel(1));
  for (int row = 2; row < 5; ++row) EXPECT_FALSE(store.HasText(0, row));
  EXPECT_EQ(store.TextView(0, 5), RowLabel(2));
  EXPECT_EQ(store.TextView(0, 8), RowLabel(5));
  EXPECT_EQ(store.Object(0, 7), FakeObject(4));
  EXPECT_EQ(store.TextView(0, 1000003), "million");
  ASSERT_TRUE(store.InsertRows(0, 1));
  EXPECT_EQ(store.TextView(0, 1), RowLabel(0));
  ASSERT_TRUE(store.InsertRows(50, 2));  // between the dense rows and the far one
  EXPECT_EQ(store.TextView(0, 1000006), "million");
  ASSERT_TRUE(store.InsertRows(2000000, 7));  // past everything: nothing moves
  EXPECT_EQ(store.TextView(0, 1000006), "million");
  EXPECT_EQ(store.CheckConsistency(), "");
}

TEST(CellStoreRows, InsertingAVastGapKeepsEveryRow) {
  TCellStore store;
  FillRows(store, 100);
  ASSERT_TRUE(store.InsertRows(50, 1000000000));
  EXPECT_EQ(store.CheckConsistency(), "");
  EXPECT_EQ(store.TextView(0, 49), RowLabel(49));
  EXPECT_EQ(store.TextView(0, 1000000050), RowLabel(50));
  EXPECT_EQ(store.TextView(0, 1000000099), RowLabel(99));
  store.SetText(0, 60, "in the gap");
  store.RemoveRows(51, 1000000000 - 1);
  EXPECT_EQ(store.CheckConsistency(), "");
  EXPECT_EQ(store.TextView(0, 50), "");
  EXPECT_EQ(store.TextView(0, 51), RowLabel(50));
  EXPECT_EQ(store.TextView(0, 100), RowLabel(99));
  EXPECT_EQ(store.RowEnd(), 101);
}

TEST(CellStoreRows, InsertingPastTheLastRowIsRefusedAndLosesNothing) {
  TCellStore store;
  FillRows(store, 3);
  store.SetText(4, kMax - 1, "near the end");
  EXPECT_FALSE(store.InsertRows(1, 2));
  EXPECT_FALSE(store.InsertRows(kMax - 1, 5));
  EXPECT_EQ(store.TextView(4, kMax - 1), "near the end");
  EXPECT_EQ(store.TextView(0, 1), RowLabel(1));
  ASSERT_TRUE(store.InsertRows(1, 1));  // exactly up to the last row
  EXPECT_EQ(store.TextView(4, kMax), "near the end");
  EXPECT_FALSE(store.InsertRows(kMax, 1));
  EXPECT_EQ(store.TextView(4, kMax), "near the end");
  EXPECT_EQ(store.TextView(0, 2), RowLabel(1));
  EXPECT_EQ(store.RowEnd(), kMax + 1);
  EXPECT_EQ(store.CheckConsistency(), "");
}

// The expected order of the labels of rows 0..9 after MoveRow(from, to).
std::vector<std::string> MovedLabels(int from, int to) {
  std::vector<std::string> labels;
  for (int row = 0; row < 10; ++row) labels.push_back(RowLabel(row));
  const std::string moving = labels[from];
  labels.erase(labels.begin() + from);
  labels.insert(labels.begin() + to, moving);
  return labels;
}

TEST(CellStoreRows, MovesARowWithinTheStoredRows) {
  for (auto [from, to] : Places{{2, 6}, {6, 2}, {0, 9}, {9, 0}, {4, 5}, {5, 4}}) {
    TCellStore store;
    FillRows(store, 10);
    store.SetColor(1, from, clBlue);
    store.MoveRow(from, to);
    const auto expected = MovedLabels(from, to);
    for (int row = 0; row < 10; ++row) EXPECT_EQ(store.TextView(0, row), expected[row]) << from << "->" << to;
    EXPECT_EQ(store.Color(1, to), clBlue);
    EXPECT_EQ(store.CheckConsistency(), "");
  }
}

TEST(CellStoreRows, MovesARowToAndFromFarRows) {
  TCellStore store;
  FillRows(store, 10);
  store.SetText(0, 1000000, "far");
  store.SetObject(0, 3, FakeObject(3));

  store.MoveRow(3, 50000);  // rows 4..9 close up, the far one stays
  EXPECT_EQ(store.TextView(0, 3), RowLabel(4));
  EXPECT_EQ(store.TextView(0, 8), RowLabel(9));
  EXPECT_EQ(store.TextView(0, 9), "");
  EXPECT_EQ(store.TextView(0, 50000), RowLabel(3));
  EXPECT_EQ(store.Object(0, 50000), FakeObject(3));
  EXPECT_EQ(store.TextView(0, 1000000), "far");
  EXPECT_EQ(store.CheckConsistency(), "");

  store.MoveRow(1000000, 0);  // everything from row 0 on moves down one
  EXPECT_EQ(store.TextView(0, 0), "far");
  EXPECT_EQ(store.TextView(0, 1), RowLabel(0));
  EXPECT_EQ(store.TextView(0, 50001), RowLabel(3));
  EXPECT_EQ(store.TextView(0, 1000000), "");
  EXPECT_EQ(store.CheckConsistency(), "");

  store.MoveRow(50001, kMax);
  EXPECT_EQ(store.TextView(0, kMax), RowLabel(3));
  store.MoveRow(kMax, 2000000);
  EXPECT_EQ(store.TextView(0, 2000000), RowLabel(3));
  EXPECT_EQ(store.RowEnd(), 2000001);
  EXPECT_EQ(store.CheckConsistency(), "");
}

// ---- Erasing ------------------------------------------------------------------

// Dense rows, rows past the dense ones and far rows, reordered whole.
TEST(CellStoreRows, PermutesRowsWhereTheyAreStored) {
  struct TCase {
    std::vector<int> Rows;  // stored rows, each labelled with its index
    int First;
    std::vector<std::uint32_t> Order;
  };
  const std::vector<TCase> cases = {
      {{0, 1, 2, 3, 4}, 1, {2, 0, 3, 1}},
      {{0, 2, 4}, 0, {4, 3, 2, 1, 0, 5, 6}},
      {{5, 2000000}, 5, {0, 1999995, 7}},
      {{10, 1999990, 2000000}, 2, {1999998, 1999988, 8}},
      // Two rising runs, as a filter and a rotation make: either run shorter.
      {{0, 1, 2, 4, 5, 6, 7, 9}, 0, {1, 4, 9}},
      {{0, 1, 2, 3, 5, 6, 7}, 1, {0, 1, 2, 4, 5, 6}},
      {{0, 1, 2, 3, 4, 5, 6, 7}, 0, {3, 4, 5, 6, 7}},
      {{0, 1, 2, 3}, 1, {0, 1, 2}},
  };
  for (const TCase& c : cases) {
    TCellStore store;
    for (int row : c.Rows) store.SetText(0, row, RowLabel(row));
    for (int row : c.Rows) store.SetColor(1, row, static_cast<TColor>(row));
    // The places listed first, then every other row in its order.
    std::vector<std::uint32_t> full(*std::max_element(c.Order.begin(), c.Order.end()) + 1);
    std::iota(full.begin(), full.end(), 0u);
    std::copy(c.Order.begin(), c.Order.end(), full.begin());
    std::vector<bool> used(full.size());
    for (std::size_t i = 0; i < c.Order.size(); ++i) used[c.Order[i]] = true;
    std::size_t next = c.Order.size();
    for (std::uint32_t i = 0; i < full.size(); ++i)
      if (!used[i] && next < full.size()) full[next++] = i;
    store.PermuteRows(c.First, full);
    for (std::size_t place = 0; place < full.size(); ++place) {
      const int from = c.First + static_cast<int>(full[place]);
      const bool was = std::find(c.Rows.begin(), c.Rows.end(), from) != c.Rows.end();
      const int row = c.First + static_cast<int>(place);
      EXPECT_EQ(store.TextView(0, row), was ? RowLabel(from) : "") << row;
      EXPECT_EQ(store.Color(1, row), was ? static_cast<TColor>(from) : clNone) << row;
    }
    EXPECT_EQ(store.StoredRowCount(), static_cast<std::int64_t>(c.Rows.size()));
    EXPECT_EQ(store.CheckConsistency(), "");
  }
}

TEST(CellStoreErase, EmptiesTextsInTheRangeOnly) {
  TCellStore store;
  FillRows(store, 6);
  store.SetText(200000, 2, "far column");
  store.SetColor(0, 3, clYellow);
  store.EraseRange(0, 2, 200000, 3);
  EXPECT_EQ(store.TextView(0, 1), RowLabel(1));
  EXPECT_EQ(store.TextView(0, 2), "");
  EXPECT_EQ(store.TextView(1, 3), "");
  EXPECT_EQ(store.TextView(200000, 2), "");
  EXPECT_EQ(store.TextView(0, 4), RowLabel(4));
  EXPECT_EQ(store.Color(0, 3), clYellow);  // only texts and objects are erased
  store.EraseRange(1, 0, 1, 5);
  EXPECT_EQ(store.TextView(0, 5), RowLabel(5));
  EXPECT_EQ(store.TextView(1, 5), "");
  EXPECT_EQ(store.CheckConsistency(), "");
}

TEST(CellStoreErase, ErasingEverythingGivesTheRowsBack) {
  TCellStore store;
  FillRows(store, 1000);
  store.SetText(kMax, kMax, "corner");
  store.EraseRange(0, 0, kMax, kMax);
  EXPECT_TRUE(store.Empty());
  EXPECT_EQ(store.RowEnd(), 0);
  EXPECT_EQ(store.CheckConsistency(), "");
}

TEST(CellStoreErase, ShowsObjectsInTheRangeToTheVisitorInOrder) {
  TCellStore store;
  FillRows(store, 5);
  store.SetObject(1, 1, FakeObject(11));
  store.SetObject(0, 3, FakeObject(3));
  store.SetObject(4, 3, FakeObject(43));  // outside the columns
  store.SetObject(2, 2000000, FakeObject(2000));
  store.SetObject(0, 2000001, FakeObject(4));  // outside the rows
  std::vector<Visit> visits;
  store.EraseRange(0, 0, 2, 2000000, [&](int col, int row, void* object) {
    visits.emplace_back(col, row, object);
    return object != FakeObject(3);  // keeps one, releases the others
  });
  EXPECT_EQ(visits, (std::vector<Visit>{{1, 1, FakeObject(11)}, {0, 3, FakeObject(3)}, {2, 2000000, FakeObject(2000)}}));
  EXPECT_EQ(store.Object(1, 1), nullptr);
  EXPECT_EQ(store.Object(0, 3), FakeObject(3));
  EXPECT_EQ(store.Object(4, 3), FakeObject(43));
  EXPECT_EQ(store.Object(2, 2000000), nullptr);
  EXPECT_EQ(store.Object(0, 2000001), FakeObject(4));
  EXPECT_EQ(store.CheckConsistency(), "");
}

TEST(CellStoreErase, ClearShowsEveryObjectAndEmptiesTheStore) {
  TCellStore store;
  FillRows(store, 4);
  store.SetObject(0, 2, FakeObject(2));
  store.SetObject(kMax, kMax, FakeObject(9));
  store.SetColor(1, 1, clRed);
  std::vector<Visit> visits;
  store.Clear([&](int col, int row, void* object) {
    visits.emplace_back(col, row, object);
    return true;
  });
  EXPECT_EQ(visits, (std::vector<Visit>{{0, 2, FakeObject(2)}, {kMax, kMax, FakeObject(9)}}));
  EXPECT_TRUE(store.Empty());
  EXPECT_EQ(store.TextView(0, 0), "");
  EXPECT_EQ(store.Color(1, 1), clNone);
  store.SetText(0, 0, "again");
  EXPECT_EQ(store.TextView(0, 0), "again");
  EXPECT_EQ(store.CheckConsistency(), "");
}

// ---- Against a plain model ------------------------------------------------------

struct ModelCell {
  std::string text;
  void* object = nullptr;
  TColor color = clNone;

  bool Plain() const { return text.empty() && object == nullptr && color == clNone; }
};

// The cells keyed (row, col), so that iteration follows the store's visiting order.
class CellModel {
 public:
  using Cells = std::map<std::pair<std::int64_t, std::int64_t>, ModelCell>;

  void Set(int col, int row, const std::function<void(ModelCell&)>& change) {
    ModelCell& cell = cells_[{row, col}];
    change(cell);
    if (cell.Plain()) cells_.erase({row, col});
  }

  // Moves each row r (r >= from) to r + delta; the caller has removed what would collide.
  void ShiftRows(std::int64_t from, std::int64_t delta) {
    Cells shifted;
    for (auto& [key, cell] : cells_) {
      const std::int64_t row = key.first >= from ? key.first + delta : key.first;
      shifted[{row, key.second}] = std::move(cell);
    }
    cells_ = std::move(shifted);
  }

  void RemoveRows(std::int64_t first, std::int64_t count) {
    std::erase_if(cells_, [&](const auto& entry) {
      return entry.first.first >= first && entry.first.first < first + count;
    });
    ShiftRows(first + count, -count);
  }

  void MoveRow(std::int64_t from, std::int64_t to) {
    Cells moving;
    std::erase_if(cells_, [&](const auto& entry) {
      if (entry.first.first != from) return false;
      moving[{to, entry.first.second}] = entry.second;
      return true;
    });
    ShiftRows(from + 1, -1);
    ShiftRows(to, 1);
    cells_.merge(moving);
  }

  std::int64_t RowEnd() const { return cells_.empty() ? 0 : cells_.rbegin()->first.first + 1; }
  std::int64_t RowCount() const {
    std::set<std::int64_t> rows;
    for (const auto& entry : cells_) rows.insert(entry.first.first);
    return static_cast<std::int64_t>(rows.size());
  }
  Cells& cells() { return cells_; }

 private:
  Cells cells_;
};

class CellStoreModel : public ::testing::Test {
 protected:
  int PickRow() {
    const int kind = Uniform(0, 99);
    if (kind < 70) return Uniform(0, 59);
    if (kind < 85) return Uniform(60, 3000);
    if (kind < 95) return kMax - Uniform(0, 20);
    return 1000000 + Uniform(0, 10);
  }
  int PickCol() {
    const int kind = Uniform(0, 99);
    if (kind < 60) return Uniform(0, 9);
    if (kind < 80) return Uniform(10, 99);
    if (kind < 90) return Uniform(65530, 65540);
    return kMax - Uniform(0, 5);
  }
  int PickCount() {
    static const int counts[] = {1, 1, 2, 5, 100, 1000000, 1000000000, kMax};
    return counts[Uniform(0, 7)];
  }
  std::string PickText() {
    static const int lengths[] = {0, 1, 3, 7, 8, 15};
    std::string text(lengths[Uniform(0, 5)], '\0');
    for (char& c : text) c = static_cast<char>(Uniform(0, 3) == 0 ? 0 : Uniform(1, 255));
    return text;
  }
  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  static bool Releases(void* object) { return (reinterpret_cast<std::uintptr_t>(object) / 16) % 2 == 0; }

  void Step() {
    const int op = Uniform(0, 99);
    if (op < 45) {
      const int col = PickCol(), row = PickRow();
      const std::string text = PickText();
      store_.SetText(col, row, text);
      model_.Set(col, row, [&](ModelCell& cell) { cell.text = text; });
    } else if (op < 53) {
      const int col = PickCol(), row = PickRow();
      void* object = Uniform(0, 2) == 0 ? nullptr : FakeObject(Uniform(0, 1000));
      store_.SetObject(col, row, object);
      model_.Set(col, row, [&](ModelCell& cell) { cell.object = object; });
    } else if (op < 61) {
      const int col = PickCol(), row = PickRow();
      const TColor color = Uniform(0, 2) == 0 ? clNone : RGB(Uniform(0, 255), 0, 0);
      store_.SetColor(col, row, color);
      model_.Set(col, row, [&](ModelCell& cell) { cell.color = color; });
    } else if (op < 69) {
      const int first = PickRow(), count = PickCount();
      store_.RemoveRows(first, count);
      model_.RemoveRows(first, std::min<std::int64_t>(count, std::int64_t{kMax} + 1 - first));
    } else if (op < 77) {
      Insert(PickRow(), PickCount());
    } else if (op < 85) {
      const int from = PickRow(), to = PickRow();
      store_.MoveRow(from, to);
      model_.MoveRow(from, to);
    } else if (op < 98) {
      Erase(PickCol(), PickRow(), PickCol(), PickRow(), Uniform(0, 3) != 0);
    } else {
      ClearAndCompareObjects();
    }
  }

  void Insert(int at, int count) {
    const bool overflows = model_.RowEnd() > at && model_.RowEnd() - 1 + count > kMax;
    if (overflows) {
      EXPECT_FALSE(store_.InsertRows(at, count));
    } else {
      ASSERT_TRUE(store_.InsertRows(at, count));
      model_.ShiftRows(at, count);
    }
  }

  void Erase(int fromCol, int fromRow, int toCol, int toRow, bool withVisitor) {
    std::vector<Visit> visits, expected;
    TCellObjectVisitor visitor;
    if (withVisitor) {
      visitor = [&](int col, int row, void* object) {
        visits.emplace_back(col, row, object);
        return Releases(object);
      };
    }
    store_.EraseRange(fromCol, fromRow, toCol, toRow, visitor);
    for (auto it = model_.cells().begin(); it != model_.cells().end();) {
      const auto [row, col] = it->first;
      ModelCell& cell = it->second;
      if (row >= fromRow && row <= toRow && col >= fromCol && col <= toCol) {
        cell.text.clear();
        if (cell.object && withVisitor) {
          expected.emplace_back(static_cast<int>(col), static_cast<int>(row), cell.object);
          if (Releases(cell.object)) cell.object = nullptr;
        }
      }
      it = cell.Plain() ? model_.cells().erase(it) : std::next(it);
    }
    EXPECT_EQ(visits, expected);
  }

  void ClearAndCompareObjects() {
    std::vector<Visit> visits, expected;
    store_.Clear([&](int col, int row, void* object) {
      visits.emplace_back(col, row, object);
      return true;
    });
    for (const auto& [key, cell] : model_.cells()) {
      if (cell.object) expected.emplace_back(static_cast<int>(key.second), static_cast<int>(key.first), cell.object);
    }
    EXPECT_EQ(visits, expected);
    model_.cells().clear();
    EXPECT_TRUE(store_.Empty());
  }

  void CompareEverything() {
    std::map<std::int64_t, std::vector<std::pair<int, std::string>>> rows;
    for (const auto& [key, cell] : model_.cells()) {
      const int row = static_cast<int>(key.first), col = static_cast<int>(key.second);
      ASSERT_EQ(store_.TextView(col, row), cell.text) << col << "," << row;
      ASSERT_EQ(store_.Object(col, row), cell.object) << col << "," << row;
      ASSERT_EQ(store_.Color(col, row), cell.color) << col << "," << row;
      auto& texts = rows[row];
      if (!cell.text.empty()) texts.emplace_back(col, cell.text);
    }
    for (const auto& [row, texts] : rows) {
      std::vector<std::pair<int, std::string>> seen;
      store_.ForEachTextInRow(static_cast<int>(row), [&](int col, std::string_view text) { seen.emplace_back(col, text); });
      ASSERT_EQ(seen, texts) << "row " << row;
    }
    ASSERT_EQ(store_.StoredRowCount(), model_.RowCount());
    ASSERT_EQ(store_.RowEnd(), model_.RowEnd());
  }

  std::mt19937 random_{20240611};
  TCellStore store_;
  CellModel model_;
};

TEST_F(CellStoreModel, RandomChangesMatchAPlainModel) {
  for (int step = 0; step < 6000; ++step) {
    Step();
    ASSERT_EQ(store_.CheckConsistency(), "") << "after step " << step;
    if (step % 100 == 0) {
      CompareEverything();
      if (HasFatalFailure()) FAIL() << "after step " << step;
    }
  }
  CompareEverything();
  ClearAndCompareObjects();
}

}  // namespace
}  // namespace kelvora
