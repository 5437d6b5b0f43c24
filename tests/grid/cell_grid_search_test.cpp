#include <string>

#include "cell_grid_advance_support.h"

namespace kelvora {
namespace {

// A grid that is only looked at, sorted by its second column.
class IncrementalSearch : public grid_test::GridKeys {
 protected:
  void SetUp() override {
    GridKeys::SetUp();
    grid.SetRowCount(7);
    const char* names[] = {"apple", "Banana", "berry", "cherry", ("\xC3\x89" "clair"), "blue", "\xC9t\xE9"};
    for (int row = 0; row < 7; ++row) grid.SetCells(1, row, names[row]);
    TGridOptions options = grid.Options();
    options.erase(goEditing);
    grid.SetOptions(options);
    grid.Navigation().AutoGotoWhenSorted = true;
    grid.SetSortColumn(1);
  }
};

TEST_F(IncrementalSearch, EachCharacterFindsTheFirstRowStartingWithIt) {
  Show();
  Type("b");
  EXPECT_EQ(grid.Row(), 1);
  Type("e");  // a search of its own for "E": no row starts so
  EXPECT_EQ(grid.Row(), 1);
  Type("C");
  EXPECT_EQ(grid.Row(), 3);
  EXPECT_EQ(grid.Col(), 0) << "the column stays";
  EXPECT_FALSE(BoxOpen());
}

// Letters beyond ASCII match their other case, in UTF-8 cells and in cells
// read as Windows-1252 alike.
TEST_F(IncrementalSearch, MatchesLettersBeyondAsciiInEitherCase) {
  Show();
  TypeWide(QChar(0xE9));  // e acute
  EXPECT_EQ(grid.Row(), 4);
  grid.SetCells(1, 4, "x");
  TypeWide(QChar(0xE9));
  EXPECT_EQ(grid.Row(), 6);
}

TEST_F(IncrementalSearch, IncrementallyTheCharactersAddUpAndBackspaceTakesOneBack) {
  grid.Navigation().AutoGotoIncremental = true;
  Show();
  Type("b");
  EXPECT_EQ(grid.Row(), 1);
  Type("e");
  EXPECT_EQ(grid.Row(), 2);
  Key(Qt::Key_Backspace);
  EXPECT_EQ(grid.Row(), 1);
  Type("L");
  EXPECT_EQ(grid.Row(), 5);
  Type("x");  // "blx": nothing, the row stays
  EXPECT_EQ(grid.Row(), 5);
}

TEST_F(IncrementalSearch, AMovingKeyEndsTheSearch) {
  grid.Navigation().AutoGotoIncremental = true;
  Show();
  Type("bl");
  EXPECT_EQ(grid.Row(), 5);
  Key(Qt::Key_Up);
  Type("c");  // "c", not "blc"
  EXPECT_EQ(grid.Row(), 3);
}

TEST_F(IncrementalSearch, FixedRowsAreNotSearched) {
  grid.SetFixedRows(1);
  grid.SetCells(1, 0, "apricot");
  Show();
  Type("a");
  EXPECT_EQ(grid.Row(), 1) << "nothing below the header starts with A";
  Type("c");
  EXPECT_EQ(grid.Row(), 3);
}

TEST_F(IncrementalSearch, NothingIsSearchedWhileTheGridIsEdited) {
  TGridOptions options = grid.Options();
  options.insert(goEditing);
  grid.SetOptions(options);
  Show();
  Type("c");
  EXPECT_EQ(grid.Row(), 0);
  EXPECT_TRUE(BoxOpen());
  EXPECT_EQ(grid.Cells(0, 0), "c") << "typing went into the cell";
}

// Rows are searched far beyond the first block of them.
TEST_F(IncrementalSearch, FindsARowFarDown) {
  grid.SetRowCount(1'000'000);
  grid.SetCells(1, 999'998, "zebra");
  Show();
  Type("z");
  EXPECT_EQ(grid.Row(), 999'998);
}

}  // namespace
}  // namespace kelvora
