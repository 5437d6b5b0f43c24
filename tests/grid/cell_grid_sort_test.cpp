// Sorting the grid: whole rows, the fixed areas, file order, the current
// cell and an open edit, header clicks, and bad requests.
#include <QTest>

#include <stdexcept>
#include <string>
#include <vector>

#include "cell_grid_test_support.h"

namespace kelvora {
namespace {

// A header row, five data rows of (number, name, hidden note) and a footer.
class GridSort : public grid_test::GridDriving {
 protected:
  void SetUp() override {
    grid.SetColCount(3);
    grid.SetRowCount(7);
    grid.SetFixedRows(1);
    grid.SetFixedCols(0);
    grid.SetFixedFooters(1);
    const char* rows[][3] = {{"n", "name", "note"}, {"10", "pear", "a"}, {"9", "Apple", "b"}, {"", "fig", "c"},
                             {"10", "apple", "d"},  {"-2", "kiwi", "e"}, {"sum", "", "f"}};
    for (int r = 0; r < 7; ++r)
      for (int c = 0; c < 3; ++c) grid.SetCells(c, r, rows[r][c]);
    grid.HideColumn(2);
  }
  std::string Column(int col) const {
    std::string texts;
    for (int r = 0; r < 7; ++r) texts += (r ? " " : "") + (grid.Cells(col, r).empty() ? "-" : grid.Cells(col, r));
    return texts;
  }
};

TEST_F(GridSort, WholeRowsMoveStablyAndTheFixedRowsStay) {
  grid.SortByColumn(0, sdDescending);
  EXPECT_EQ(Column(0), "n 10 10 9 -2 - sum");
  EXPECT_EQ(Column(1), "name pear apple Apple kiwi fig -");
  EXPECT_EQ(Column(2), "note a d b e c f") << "the hidden column goes with its rows";
  EXPECT_EQ(grid.SortColumn(), 0);
  grid.SetSortColumns({{1, sdAscending}, {0, sdAscending}});
  EXPECT_EQ(Column(1), "name Apple apple fig kiwi pear -");
  EXPECT_EQ(Column(0), "n 9 10 - -2 10 sum");
  EXPECT_EQ(grid.SortColumn(), 1);
  grid.RestoreFileOrder();
  EXPECT_EQ(Column(2), "note a b c d e f");
  EXPECT_TRUE(grid.SortColumns().empty());
  EXPECT_TRUE(grid.InFileOrder());
  EXPECT_EQ(grid.CheckConsistency(), "");
}

TEST_F(GridSort, WithoutSortFullTheFixedColumnsKeepTheirPlaces) {
  grid.SetFixedCols(1);
  grid.SetSortFull(false);
  grid.SortByColumn(1, sdAscending);
  EXPECT_EQ(Column(0), "n 10 9 - 10 -2 sum");
  EXPECT_EQ(Column(1), "name Apple apple fig kiwi pear -");
}

TEST_F(GridSort, RowsAddedAndRemovedWhileSortedComeBackBesideTheirNeighbours) {
  grid.SortByColumn(0, sdAscending);  // -2 9 10 10 -
  grid.RemoveRows(2, 1);               // the row of 9 goes
  grid.InsertRows(2, 1);               // a new row after -2
  grid.SetCells(1, 2, "new");
  grid.RestoreFileOrder();
  EXPECT_EQ(Column(1), "name pear fig apple kiwi new -");
  EXPECT_EQ(grid.CheckConsistency(), "");
}

TEST_F(GridSort, TheCurrentCellAndAnOpenEditFollowTheirRow) {
  grid.SetOptions(grid.Options().insert(goEditing));
  Show();
  grid.SetCol(1);
  grid.SetRow(5);  // kiwi
  Key(Qt::Key_F2);
  Type("s");
  ASSERT_TRUE(BoxOpen());
  grid.SortByColumn(0, sdAscending);
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(grid.Cells(1, grid.Row()), "kiwis");
  EXPECT_EQ(grid.Selection(), (TGridRect{1, 1, 1, 1}));
}

TEST_F(GridSort, MarkedRowsStayMarkedOnTheirRows) {
  grid.SetRowSelect(1, true);  // pear
  grid.SetRowSelect(3, true);  // fig
  grid.SetRowSelect(6, true);  // the footer, which stays
  grid.SetRow(0);              // the current cell outside the sorted rows
  const auto marked = [&] {
    std::string names;
    for (int r = 0; r < 7; ++r)
      if (grid.RowSelect(r)) names += grid.Cells(1, r) + "@" + std::to_string(r) + " ";
    return names;
  };
  grid.SortByColumn(1, sdDescending);  // pear kiwi fig apple Apple
  EXPECT_EQ(marked(), "pear@1 fig@3 @6 ");
  grid.SortByColumn(1, sdAscending);
  EXPECT_EQ(marked(), "fig@3 pear@5 @6 ");
  grid.RestoreFileOrder();
  EXPECT_EQ(marked(), "pear@1 fig@3 @6 ");
}

TEST_F(GridSort, RowHeightsGoWithTheirRows) {
  grid.SetRowHeights(1, 40);  // pear
  grid.SetRowHeights(4, 50);  // apple
  grid.SortByColumn(1, sdAscending);  // Apple apple fig kiwi pear
  EXPECT_EQ(grid.RowHeights(2), 50);
  EXPECT_EQ(grid.RowHeights(5), 40);
  EXPECT_EQ(grid.RowHeights(1), grid.DefaultRowHeight());
  grid.RestoreFileOrder();
  EXPECT_EQ(grid.RowHeights(1), 40);
  EXPECT_EQ(grid.RowHeights(4), 50);
  EXPECT_EQ(grid.RowHeights(5), grid.DefaultRowHeight());
}

TEST_F(GridSort, BadRequestsAndThrowingHandlersLeaveTheOrder) {
  const std::string before = Column(1);
  EXPECT_THROW(grid.SortByColumn(3, sdAscending), ECellGridError);
  EXPECT_THROW(grid.SetSortColumns({{0, sdAscending}, {-1, sdAscending}}), ECellGridError);
  grid.OnCanSort = [](TObject*, int, bool&) { throw std::runtime_error("handler"); };
  EXPECT_THROW(grid.SortByColumn(0, sdAscending), std::runtime_error);
  grid.OnCanSort = [](TObject*, int, bool& doSort) { doSort = false; };
  grid.SortByColumn(0, sdAscending);
  EXPECT_EQ(Column(1), before);
  EXPECT_TRUE(grid.SortColumns().empty());
}

// Typing in a grid that is not edited finds the row in the first sort
// column, wherever the sort put it.
TEST_F(GridSort, TypingFindsTheRowInTheFirstSortColumn) {
  grid.Navigation().AutoGotoWhenSorted = true;
  grid.SetOptions(grid.Options().erase(goEditing));
  grid.SetSortColumns({{1, sdDescending}, {0, sdAscending}});
  Show();
  Type("k");
  EXPECT_EQ(grid.Row(), 2);  // pear kiwi fig ...
  EXPECT_EQ(grid.Cells(1, grid.Row()), "kiwi");
}

// Clicks on the header: the column, whether Ctrl was held, and the sort
// list afterwards.
TEST_F(GridSort, HeaderClicksSortReverseAddAndGoBackToFileOrder) {
  grid.SetSortShow(true);
  grid.SetOptions(grid.Options().erase(goColSizing));
  Show();
  struct TClick {
    int Col;
    bool Ctrl;
    std::vector<TSortKey> Keys;
    const char* Names;
  };
  const std::vector<TClick> clicks = {
      {0, false, {{0, sdAscending}}, "name kiwi Apple pear apple fig -"},
      {0, false, {{0, sdDescending}}, "name pear apple Apple kiwi fig -"},
      {0, false, {}, "name pear Apple fig apple kiwi -"},
      {1, false, {{1, sdAscending}}, "name Apple apple fig kiwi pear -"},
      {0, true, {{1, sdAscending}, {0, sdAscending}}, "name Apple apple fig kiwi pear -"},
      {0, true, {{1, sdAscending}, {0, sdDescending}}, "name apple Apple fig kiwi pear -"},
      {0, true, {{1, sdAscending}}, "name apple Apple fig kiwi pear -"},
      {0, false, {{0, sdAscending}}, "name kiwi Apple apple pear fig -"},
  };
  for (const TClick& click : clicks) {
    const TRect cell = grid.CellRect(click.Col, 0);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, click.Ctrl ? Qt::ControlModifier : Qt::NoModifier,
                      QPoint((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2));
    EXPECT_EQ(grid.SortColumns(), click.Keys) << click.Names;
    EXPECT_EQ(Column(1), click.Names);
  }
}

}  // namespace
}  // namespace kelvora
