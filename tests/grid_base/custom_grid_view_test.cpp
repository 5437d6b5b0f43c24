#include <QResizeEvent>
#include <QScrollBar>

#include <functional>

#include "custom_grid_test_grid.h"
#include "toolkit/exceptions.h"

namespace kelvora {
namespace {

using testing::Count;
using testing::LayOut;
using testing::TTestGrid;

// Laid out, the viewport is exactly the widget: cells of 64 x 24 with
// 1-pixel lines, column c of the first screen at 65c, row r at 25r.

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "(no error)";
}

TEST(GridDimensions, StartWithTheClassicDefaults) {
  TTestGrid grid;
  EXPECT_EQ(grid.ColCount(), 5);
  EXPECT_EQ(grid.RowCount(), 5);
  EXPECT_EQ(grid.FixedCols(), 1);
  EXPECT_EQ(grid.FixedRows(), 1);
  EXPECT_EQ(grid.DefaultColWidth(), 64);
  EXPECT_EQ(grid.DefaultRowHeight(), 24);
  EXPECT_EQ(grid.GridLineWidth(), 1);
  EXPECT_EQ(grid.Options(), kDefaultGridOptions);
  EXPECT_EQ(grid.Color(), clWindow);
  EXPECT_EQ(grid.FixedColor(), clBtnFace);
  EXPECT_EQ(grid.Col(), 1);
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(grid.Selection(), (TGridRect{1, 1, 1, 1}));
}

TEST(GridIndexRules, OutOfRangeWritesRaiseWithTheIndexAndRange) {
  TTestGrid grid;
  grid.SetRowCount(10);
  const std::pair<const char*, std::function<void()>> cases[] = {
      {"Row index 12 out of range (0..9)", [&] { grid.DeleteRow(12); }},
      {"Row index -1 out of range (0..9)", [&] { grid.SetRowHeights(-1, 30); }},
      {"Column index 5 out of range (0..4)", [&] { grid.SetColWidths(5, 30); }},
      {"Column index 9 out of range (0..4)", [&] { grid.SetCol(9); }},
      {"Row index -1 out of range (0..9)", [&] { grid.SetRow(-1); }},
      {"Row index 11 out of range (0..10)", [&] { grid.InsertRow(11); }},
      {"Row index 10 out of range (0..9)", [&] { grid.MoveRow(0, 10); }},
      {"Column index -1 out of range (0..4)", [&] { grid.DeleteColumn(-1); }},
      {"Fixed column count 5 out of range (0..4)", [&] { grid.SetFixedCols(5); }},
      {"Fixed row count -1 out of range (0..9)", [&] { grid.SetFixedRows(-1); }},
      {"Selection column 7 out of range (0..4)", [&] { grid.SetSelection({0, 0, 7, 1}); }},
      {"Selection row 10 out of range (0..9)", [&] { grid.SetSelection({1, 10, 1, 1}); }},
      {"The grid needs a canvas to measure with", [&] { grid.SetMeasureCanvas(nullptr); }},
  };
  for (const auto& [message, action] : cases) EXPECT_EQ(ErrorOf(action), message);
  // Nothing of the failed calls stuck.
  EXPECT_EQ(grid.RowCount(), 10);
  EXPECT_EQ(grid.FixedCols(), 1);
  EXPECT_EQ(grid.Col(), 1);
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(grid.Selection(), (TGridRect{1, 1, 1, 1}));
  grid.SetColCount(0);
  EXPECT_EQ(ErrorOf([&] { grid.SetCol(0); }), "Column index 0 out of range (none)");
}

TEST(GridIndexRules, CountsSizesAndTheViewAreClamped) {
  TTestGrid grid;
  LayOut(grid);
  grid.SetColCount(-4);
  EXPECT_EQ(grid.ColCount(), 0);
  EXPECT_EQ(grid.FixedCols(), 0);
  EXPECT_EQ(grid.Col(), 0);
  grid.SetColCount(5);
  EXPECT_EQ(grid.ColWidths(99), 64);  // outside: the default
  EXPECT_EQ(grid.ColWidths(-1), 64);
  grid.SetColWidths(2, -30);
  EXPECT_EQ(grid.ColWidths(2), 0);
  grid.SetDefaultRowHeight(0);
  EXPECT_EQ(grid.DefaultRowHeight(), 1);
  grid.SetDefaultRowHeight(24);
  grid.SetGridLineWidth(-2);
  EXPECT_EQ(grid.GridLineWidth(), 0);
  grid.SetWheelScrollLines(0);
  EXPECT_EQ(grid.WheelScrollLines(), 1);

  grid.SetRowCount(100);
  grid.SetTopRow(-7);
  EXPECT_EQ(grid.TopRow(), 1);
  grid.SetTopRow(1'000'000);
  EXPECT_EQ(grid.TopRow(), 89);  // rows 89..99 fill the 300-pixel viewport

  int col = 0;
  int row = 0;
  grid.MouseToCell(-5, 10, col, row);
  EXPECT_EQ(col, -1);
  grid.MouseToCell(10, 5000, col, row);
  EXPECT_EQ(row, -1);
  EXPECT_TRUE(grid.CellRect(-1, 0).IsEmpty());
  EXPECT_TRUE(grid.CellRect(0, 100).IsEmpty());
  grid.InvalidateCell(-3, 700);  // quietly nothing
  grid.InvalidateRow(-1);
  grid.InvalidateCol(50);
}

TEST(GridDimensions, ShrinkingTheCountKeepsFixedCellsAndTheCurrentCellInside) {
  TTestGrid grid;
  grid.SetFixedRows(3);
  grid.SetRow(4);
  grid.SetRowCount(3);
  EXPECT_EQ(grid.FixedRows(), 2);
  EXPECT_EQ(grid.Row(), 2);
  grid.SetRowCount(0);
  EXPECT_EQ(grid.FixedRows(), 0);
  EXPECT_EQ(grid.Row(), 0);
  EXPECT_EQ(grid.Log.back(), "SizeChanged 5,3");
}

TEST(GridGeometry, CellRectAndMouseToCellAgree) {
  TTestGrid grid;
  LayOut(grid);
  grid.SetColWidths(1, 100);
  EXPECT_EQ(grid.CellRect(0, 0), (TRect{0, 0, 64, 24}));
  EXPECT_EQ(grid.CellRect(1, 1), (TRect{65, 25, 165, 49}));
  EXPECT_EQ(grid.CellRect(2, 3), (TRect{166, 75, 230, 99}));
  const std::pair<TPoint, TGridCoord> points[] = {
      {{0, 0}, {0, 0}},       {{64, 24}, {0, 0}},   // the line belongs to the cell before it
      {{65, 25}, {1, 1}},     {{165, 49}, {1, 1}},  {{166, 50}, {2, 2}},
      {{296, 124}, {4, 4}},   {{361, 60}, {-1, 2}}, {{100, 125}, {1, -1}},
  };
  for (const auto& [p, cell] : points) {
    int col = 0;
    int row = 0;
    grid.MouseToCell(p.X, p.Y, col, row);
    EXPECT_EQ((TGridCoord{col, row}), cell) << p.X << "," << p.Y;
  }
}

TEST(GridGeometry, ScrolledAwayCellsHaveNoRectangle) {
  TTestGrid grid;
  LayOut(grid, 200, 100);
  grid.SetColCount(20);
  grid.SetRowCount(20);
  grid.SetLeftCol(5);
  grid.SetTopRow(7);
  EXPECT_TRUE(grid.CellRect(4, 7).IsEmpty());
  EXPECT_TRUE(grid.CellRect(5, 6).IsEmpty());
  EXPECT_EQ(grid.CellRect(5, 7), (TRect{65, 25, 129, 49}));
  EXPECT_EQ(grid.CellRect(0, 7), (TRect{0, 25, 64, 49}));  // the fixed column stays
  EXPECT_EQ(grid.CellRect(6, 0), (TRect{130, 0, 194, 24}));
  EXPECT_EQ(grid.CellRect(7, 7), (TRect{195, 25, 259, 49}));  // partly in view
  EXPECT_TRUE(grid.CellRect(8, 7).IsEmpty());                  // starts past the right edge
  EXPECT_EQ(grid.VisibleColCount(), 2);
  EXPECT_EQ(grid.VisibleRowCount(), 3);
  EXPECT_EQ(grid.LastVisibleCol(), 7);
  EXPECT_EQ(grid.LastVisibleRow(), 9);
  int col = 0;
  int row = 0;
  grid.MouseToCell(70, 30, col, row);
  EXPECT_EQ((TGridCoord{col, row}), (TGridCoord{5, 7}));
}

TEST(GridScrolling, ScrollBarsCountRowsAndColumns) {
  TTestGrid grid;
  grid.resize(400, 300);
  grid.show();
  grid.SetRowCount(1000);
  grid.SetColCount(30);
  QScrollBar* vertical = grid.verticalScrollBar();
  ASSERT_TRUE(QTest::qWaitFor([&] { return vertical->isVisible(); }, testing::kPatience));
  const int maxTop = vertical->maximum() + grid.FixedRows();
  grid.SetTopRow(1'000'000);
  EXPECT_EQ(grid.TopRow(), maxTop);
  EXPECT_EQ(grid.LastVisibleRow(), 999);
  EXPECT_EQ(grid.CellRect(0, 999).Bottom <= grid.viewport()->height(), true);
  vertical->setValue(10);
  EXPECT_EQ(grid.TopRow(), 11);
  EXPECT_EQ(vertical->pageStep(), grid.VisibleRowCount());
  grid.horizontalScrollBar()->setValue(3);
  EXPECT_EQ(grid.LeftCol(), 4);
  grid.SetTopRow(50);
  EXPECT_EQ(vertical->value(), 49);
  EXPECT_GE(Count(grid.Log, "TopLeftChanged"), 3);
}

TEST(GridScrolling, TheCurrentCellIsKeptInView) {
  TTestGrid grid;
  LayOut(grid, 200, 100);
  grid.SetRowCount(100);
  grid.SetColCount(50);
  grid.SetRow(60);
  EXPECT_FALSE(grid.CellRect(grid.Col(), 60).IsEmpty());
  EXPECT_EQ(grid.TopRow(), 58);  // row 60 is the last whole row
  grid.SetCol(30);
  EXPECT_EQ(grid.LeftCol(), 29);
  grid.SetRow(5);
  EXPECT_EQ(grid.TopRow(), 5);
}

TEST(GridStructure, RunsOfRowsGoAndComeAtOnce) {
  TTestGrid grid;
  grid.SetRowCount(10);
  grid.SetRowHeights(6, 40);
  grid.SetRow(7);
  grid.ClearLog();
  grid.DeleteRowRange(2, 3);
  EXPECT_EQ(grid.RowCount(), 7);
  EXPECT_EQ(grid.RowHeights(3), 40);
  EXPECT_EQ(grid.Row(), 4);  // still on the row it was on
  EXPECT_EQ(grid.Log, (std::vector<std::string>{"RowDeleted 2", "RowDeleted 2", "RowDeleted 2", "SizeChanged 5,10"}));

  grid.SetRow(2);
  grid.DeleteRowRange(1, 2);  // the current row goes: the first row below the run takes its place
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(grid.RowHeights(1), 40);
  EXPECT_EQ(grid.RowCount(), 5);
  grid.DeleteRowRange(3, 100);  // stops at the last row
  EXPECT_EQ(grid.RowCount(), 3);
  grid.DeleteRowRange(1, 0);
  EXPECT_EQ(grid.RowCount(), 3);

  grid.ClearLog();
  grid.InsertRowRange(1, 3);
  EXPECT_EQ(grid.RowCount(), 6);
  EXPECT_EQ(grid.RowHeights(4), 40);
  EXPECT_EQ(grid.Row(), 4);
  EXPECT_EQ(grid.Log, (std::vector<std::string>{"RowInserted 1", "RowInserted 2", "RowInserted 3", "SizeChanged 5,3"}));
  EXPECT_THROW(grid.InsertRowRange(0, TCustomGrid::kMaxRowCount), Exception);
  EXPECT_EQ(grid.RowCount(), 6);
}

TEST(GridStructure, SizesAndTheCurrentCellMoveWithTheirRows) {
  TTestGrid grid;
  grid.SetRowCount(8);
  grid.SetRowHeights(3, 40);
  grid.SetRowHeights(5, 50);
  grid.SetRow(5);
  grid.ClearLog();
  grid.DeleteRow(1);
  EXPECT_EQ(grid.RowCount(), 7);
  EXPECT_EQ(grid.RowHeights(2), 40);
  EXPECT_EQ(grid.RowHeights(4), 50);
  EXPECT_EQ(grid.Row(), 4);  // still on the row it was on
  EXPECT_EQ(grid.Log, (std::vector<std::string>{"RowDeleted 1", "SizeChanged 5,8"}));

  grid.DeleteRow(4);  // the current row: the one below takes its place
  EXPECT_EQ(grid.Row(), 4);
  grid.DeleteRow(5);
  grid.SetRow(4);
  grid.DeleteRow(4);  // the last row: the one above becomes current
  EXPECT_EQ(grid.RowCount(), 4);
  EXPECT_EQ(grid.Row(), 3);

  grid.InsertRow(2);
  EXPECT_EQ(grid.RowHeights(3), 40);
  EXPECT_EQ(grid.RowHeights(2), 24);
  EXPECT_EQ(grid.Row(), 4);
  EXPECT_EQ(grid.Log.back(), "SizeChanged 5,4");
  grid.InsertRow(grid.RowCount());  // appending is allowed
  EXPECT_EQ(grid.RowCount(), 6);

  grid.ClearLog();
  grid.MoveRow(3, 1);
  EXPECT_EQ(grid.RowHeights(1), 40);
  EXPECT_EQ(grid.Row(), 4);
  grid.MoveRow(4, 5);
  EXPECT_EQ(grid.Row(), 5);  // the current row travelled
  EXPECT_EQ(grid.Log, (std::vector<std::string>{"RowMoved 3,1", "RowMoved 4,5"}));
}

TEST(GridStructure, DeletingColumnsMovesWidthsAndMayShrinkTheFixedOnes) {
  TTestGrid grid;
  grid.SetColWidths(3, 90);
  grid.SetCol(4);
  grid.DeleteColumn(2);
  EXPECT_EQ(grid.ColWidths(2), 90);
  EXPECT_EQ(grid.Col(), 3);
  EXPECT_EQ(Count(grid.Log, "ColumnDeleted 2"), 1);
  grid.SetColCount(2);
  grid.DeleteColumn(1);
  EXPECT_EQ(grid.ColCount(), 1);
  EXPECT_EQ(grid.FixedCols(), 0);
  EXPECT_EQ(grid.Col(), 0);
}

TEST(GridSelection, SettingItMovesTheCurrentCellWithoutAsking) {
  TTestGrid grid;
  grid.Refused.insert({2, 3});
  grid.SetSelection({4, 4, 2, 3});
  EXPECT_EQ(grid.Selection(), (TGridRect{2, 3, 4, 4}));
  EXPECT_EQ(grid.Col(), 2);
  EXPECT_EQ(grid.Row(), 3);
  EXPECT_EQ(Count(grid.Log, "SelectCell"), 0);

  grid.Refused.insert({3, 1});
  grid.SetRow(1);
  grid.SetCol(3);  // refused
  EXPECT_EQ(grid.Col(), 2);
  grid.SetOptions(grid.Options().insert(goRowSelect).insert(goAlwaysShowEditor));
  EXPECT_FALSE(grid.Options().contains(goAlwaysShowEditor));
  EXPECT_EQ(grid.Selection(), (TGridRect{1, 1, 4, 1}));
}

TEST(GridHugeCounts, AHundredMillionRowsScrollAndDeleteAtTheEnd) {
  TTestGrid grid;
  LayOut(grid);
  grid.SetRowCount(100'000'000);
  grid.SetRowHeights(99'999'990, 30);
  grid.SetRow(99'999'999);
  EXPECT_EQ(grid.Row(), 99'999'999);
  const TRect last = grid.CellRect(1, 99'999'999);
  // Rows 99,999,990 (31 pixels with its line) to 99,999,999 fill the view.
  EXPECT_EQ(last, (TRect{65, 256, 129, 280}));
  EXPECT_EQ(grid.TopRow(), 99'999'990);
  int col = 0;
  int row = 0;
  grid.MouseToCell(70, 270, col, row);
  EXPECT_EQ(row, 99'999'999);
  grid.MouseToCell(70, 290, col, row);
  EXPECT_EQ(row, -1);  // below the last row

  grid.DeleteRow(99'999'995);
  EXPECT_EQ(grid.RowCount(), 99'999'999);
  EXPECT_EQ(grid.Row(), 99'999'998);
  EXPECT_EQ(grid.RowHeights(99'999'990), 30);
  EXPECT_FALSE(grid.CellRect(1, 99'999'998).IsEmpty());

  grid.SetColCount(100'000);
  grid.SetCol(99'999);
  EXPECT_FALSE(grid.CellRect(99'999, grid.Row()).IsEmpty());
}

}  // namespace
}  // namespace kelvora
