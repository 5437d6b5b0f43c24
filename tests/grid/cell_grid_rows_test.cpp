// RemoveRows and InsertRows as a program calls them: bad arguments, the
// current cell and the view afterwards, the row selection, the limits of
// the store, and what is repainted.
#include <QPaintEvent>
#include <QRegion>

#include <functional>
#include <string>

#include "cell_grid_keys_support.h"

namespace kelvora {
namespace {

using grid_test::RowKeys;
using grid_test::TPaintWatch;

// --- Arguments ------------------------------------------------------------------------

struct TRangeCase {
  const char* name;
  std::function<void(TCellGrid&)> call;
  const char* cells;  // the first column afterwards; the grid starts with r0..r3
  bool raises;
};

class RowRangeArguments : public RowKeys, public ::testing::WithParamInterface<TRangeCase> {};

TEST_P(RowRangeArguments, DoWhatTheySayOrRaiseAndChangeNothing) {
  const TRangeCase& c = GetParam();
  if (c.raises) {
    EXPECT_THROW(c.call(grid), ECellGridError);
  } else {
    EXPECT_NO_THROW(c.call(grid));
  }
  EXPECT_EQ(FirstColumn(), c.cells);
  EXPECT_TRUE(RowsIntact());
  EXPECT_LT(grid.Row(), grid.RowCount());
  EXPECT_EQ(grid.CheckConsistency(), "");
}

INSTANTIATE_TEST_SUITE_P(
    CellGridRows, RowRangeArguments,
    ::testing::Values(
        TRangeCase{"RemoveOne", [](TCellGrid& g) { g.RemoveRows(1, 1); }, "r0 r2 r3", false},
        TRangeCase{"RemoveTwo", [](TCellGrid& g) { g.RemoveRows(1, 2); }, "r0 r3", false},
        TRangeCase{"RemoveNone", [](TCellGrid& g) { g.RemoveRows(1, 0); }, "r0 r1 r2 r3", false},
        TRangeCase{"RemoveANegativeCount", [](TCellGrid& g) { g.RemoveRows(1, -5); }, "r0 r1 r2 r3", false},
        TRangeCase{"RemovePastTheEndStopsThere", [](TCellGrid& g) { g.RemoveRows(2, 100); }, "r0 r1", false},
        TRangeCase{"RemoveTheLargestCount", [](TCellGrid& g) { g.RemoveRows(3, 2147483647); }, "r0 r1 r2",
                   false},
        TRangeCase{"RemoveFromANegativeRow", [](TCellGrid& g) { g.RemoveRows(-1, 1); }, "r0 r1 r2 r3", true},
        TRangeCase{"RemoveFromPastTheEnd", [](TCellGrid& g) { g.RemoveRows(4, 1); }, "r0 r1 r2 r3", true},
        TRangeCase{"InsertOne", [](TCellGrid& g) { g.InsertRows(1, 1); }, "r0 - r1 r2 r3", false},
        TRangeCase{"InsertThreeAtTheEnd", [](TCellGrid& g) { g.InsertRows(4, 3); }, "r0 r1 r2 r3 - - -", false},
        TRangeCase{"InsertNone", [](TCellGrid& g) { g.InsertRows(1, 0); }, "r0 r1 r2 r3", false},
        TRangeCase{"InsertANegativeCount", [](TCellGrid& g) { g.InsertRows(1, -1); }, "r0 r1 r2 r3", false},
        TRangeCase{"InsertAtANegativeRow", [](TCellGrid& g) { g.InsertRows(-1, 1); }, "r0 r1 r2 r3", true},
        TRangeCase{"InsertPastTheEnd", [](TCellGrid& g) { g.InsertRows(5, 1); }, "r0 r1 r2 r3", true}),
    [](const auto& info) { return std::string(info.param.name); });

// --- The limits ------------------------------------------------------------------------

TEST_F(RowKeys, InsertingRowsThatWouldPushACellPastTheLastRowIsRefused) {
  grid.SetCells(0, TCellStore::kMaxIndex - 1, "far");
  EXPECT_THROW(grid.InsertRows(0, 2), ECellGridError);
  EXPECT_EQ(FirstColumn(), "r0 r1 r2 r3");
  EXPECT_EQ(grid.Cells(0, TCellStore::kMaxIndex - 1), "far");
  // One row still fits.
  grid.InsertRows(0, 1);
  EXPECT_EQ(grid.Cells(0, TCellStore::kMaxIndex), "far");
  EXPECT_EQ(grid.Cells(0, 1), "r0");
  EXPECT_EQ(grid.CheckConsistency(), "");
}

TEST_F(RowKeys, InsertingPastTheLargestRowCountIsRefused) {
  grid.SetRowCount(TCellStore::kMaxIndex);
  grid.InsertRows(2, 1);
  EXPECT_EQ(grid.RowCount(), TCellStore::kMaxIndex + 1);
  EXPECT_THROW(grid.InsertRows(2, 1), ECellGridError);
  EXPECT_EQ(grid.RowCount(), TCellStore::kMaxIndex + 1);
  EXPECT_EQ(grid.Cells(0, 3), "r2");
}

// --- The current cell and the view ------------------------------------------------------

TEST_F(RowKeys, TheCurrentRowKeepsItsPlaceWhileItIsANormalRow) {
  Fill(40);
  Show();
  GoToRow(30);
  grid.SetTopRow(20);
  grid.RemoveRows(2, 5);
  EXPECT_EQ(grid.Row(), 30);
  EXPECT_EQ(grid.TopRow(), 20);
  EXPECT_EQ(grid.Cells(0, 30), "r35");
}

TEST_F(RowKeys, ACurrentRowPastTheEndBecomesTheLastNormalRow) {
  Fill(10);
  grid.SetFixedFooters(1);
  Show();
  GoToRow(7);
  grid.RemoveRows(5, 3);
  EXPECT_EQ(grid.RowCount(), 7);
  EXPECT_EQ(grid.Row(), 5);
  EXPECT_EQ(FirstColumn(), "r0 r1 r2 r3 r4 r8 r9");
}

TEST_F(RowKeys, RemovingEveryNormalRowLeavesTheCurrentCellInsideTheGrid) {
  Fill(5);
  grid.SetFixedRows(1);
  grid.SetFixedFooters(1);
  Show();
  GoToRow(2);
  Key(Qt::Key_F2);
  grid.RemoveRows(1, 3);
  EXPECT_EQ(FirstColumn(), "r0 r4");
  EXPECT_LT(grid.Row(), grid.RowCount());
  EXPECT_FALSE(BoxOpen());
}

TEST_F(RowKeys, TheRowSelectionMovesWithItsRows) {
  grid.MouseActions().DisjunctRowSelect = true;
  Fill(8);
  grid.SetRowSelect(2, true);
  grid.SetRowSelect(5, true);
  grid.RemoveRows(1, 2);
  EXPECT_FALSE(grid.RowSelect(2));
  EXPECT_TRUE(grid.RowSelect(3));
  EXPECT_FALSE(grid.RowSelect(5));
  grid.InsertRows(0, 2);
  EXPECT_TRUE(grid.RowSelect(5));
  EXPECT_FALSE(grid.RowSelect(3));
}

TEST_F(RowKeys, AnOpenEditBoxFollowsItsCellWhenRowsGoInAbove) {
  Show();
  GoToRow(2);
  Key(Qt::Key_F2);
  ASSERT_TRUE(BoxOpen());
  grid.InsertRows(0, 1);
  EXPECT_EQ(grid.Row(), 3);
  EXPECT_EQ(grid.Cells(0, 3), "r2");
  ASSERT_TRUE(BoxOpen());
  EXPECT_EQ(BoxText(), "r2");
}

// --- Repainting ---------------------------------------------------------------------------

struct TInsertCall {
  const char* name;
  std::function<void(TCellGrid&, int)> insert;
};

class InsertRepaint : public RowKeys, public ::testing::WithParamInterface<TInsertCall> {};

// The rows below a row put in among others all move down one, so every one
// of them in view must paint again, not only the new last row.
TEST_P(InsertRepaint, RepaintsEveryRowFromTheInsertedOneDown) {
  Fill(40);
  Show();
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  TPaintWatch watch(grid.viewport());
  GetParam().insert(grid, 3);
  ASSERT_TRUE(QTest::qWaitFor([&] { return watch.Paints > 0; }, grid_test::kPatience));
  const TRect from = grid.CellRect(0, 3);
  const QRect below(0, from.Top, grid.viewport()->width(), grid.viewport()->height() - from.Top);
  EXPECT_TRUE(watch.Painted.contains(below));
  EXPECT_FALSE(watch.Painted.contains(QPoint(2, grid.CellRect(0, 1).Top + 2)));
  EXPECT_EQ(grid.Cells(0, 4), "r3");
}

INSTANTIATE_TEST_SUITE_P(CellGridRows, InsertRepaint,
                         ::testing::Values(TInsertCall{"InsertRows", [](TCellGrid& g, int at) { g.InsertRows(at, 1); }},
                                           TInsertCall{"InsertRow", [](TCellGrid& g, int at) { g.InsertRow(at); }}),
                         [](const auto& info) { return std::string(info.param.name); });

struct TRemoveCase {
  const char* name;
  int top;       // the view's top row before
  int first;     // the first row removed
  int fromRow;   // the first row in view that must paint again; -1: the whole view
};

class RemoveRepaint : public RowKeys, public ::testing::WithParamInterface<TRemoveCase> {};

// The rows above the first removed one are as they were; every row from it
// down moves up, and the view paints once.
TEST_P(RemoveRepaint, RepaintsOnceFromTheFirstRemovedRowDown) {
  const TRemoveCase& c = GetParam();
  Fill(60);
  Show();
  grid.SetTopRow(c.top);
  GoToRow(c.top + 1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return grid.Paints > 0; }, grid_test::kPatience));
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  TPaintWatch watch(grid.viewport());
  grid.RemoveRows(c.first, 2);
  ASSERT_TRUE(QTest::qWaitFor([&] { return watch.Paints > 0; }, grid_test::kPatience));
  QCoreApplication::processEvents();
  EXPECT_EQ(watch.Paints, 1);
  EXPECT_EQ(grid.TopRow(), c.top);
  const int firstPainted = c.fromRow < 0 ? c.top : c.fromRow;
  for (int row = c.top; row <= grid.LastVisibleRow(); ++row) {
    const TRect cell = grid.CellRect(1, row);
    EXPECT_EQ(watch.Painted.contains(QPoint(cell.Left + 2, cell.Top + 2)), row >= firstPainted) << "row " << row;
  }
}

INSTANTIATE_TEST_SUITE_P(CellGridRows, RemoveRepaint,
                         ::testing::Values(TRemoveCase{"InView", 0, 4, 4}, TRemoveCase{"BelowTheCurrentRow", 10, 14, 14},
                                           TRemoveCase{"AboveTheView", 10, 3, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

// The current cell that moves up out of the removed rows shows its focus in
// the row above them, so that row paints again too.
TEST_F(RowKeys, ACurrentCellThatMovesUpIsRepaintedWhereItLands) {
  Fill(10);
  Show();
  GoToRow(8);
  ASSERT_TRUE(QTest::qWaitFor([&] { return grid.Paints > 0; }, grid_test::kPatience));
  QCoreApplication::processEvents();
  TPaintWatch watch(grid.viewport());
  grid.RemoveRows(7, 3);
  ASSERT_TRUE(QTest::qWaitFor([&] { return watch.Paints > 0; }, grid_test::kPatience));
  ASSERT_EQ(grid.Row(), 6);
  const TRect cell = grid.CellRect(0, 6);
  EXPECT_TRUE(watch.Painted.contains(QPoint(cell.Left + 2, cell.Top + 2)));
  const TRect above = grid.CellRect(0, 5);
  EXPECT_FALSE(watch.Painted.contains(QPoint(above.Left + 2, above.Top + 2)));
}

}  // namespace
}  // namespace kelvora
