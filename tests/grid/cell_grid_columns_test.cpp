#include <set>
#include <string>
#include <vector>

#include "cell_grid_test_support.h"

namespace kelvora {
namespace {

using grid_test::DrawnTexts;
using grid_test::LayOut;

// A grid of `cols` columns without fixed ones, each cell of row 0 naming its
// stored column.
void Name(TCellGrid& grid, int cols) {
  grid.SetFixedCols(0);
  grid.SetColCount(cols);
  for (int col = 0; col < cols; ++col) grid.SetCells(col, 0, "c" + std::to_string(col));
}

std::vector<int> Mapping(const TCellGrid& grid, int displayCols) {
  std::vector<int> data;
  for (int col = 0; col < displayCols; ++col) data.push_back(grid.DisplayToDataColumn(col));
  return data;
}

TEST(CellGridColumns, WithoutHiddenColumnsDisplayedAndStoredColumnsAgree) {
  TCellGrid grid;
  EXPECT_EQ(grid.HiddenColumnCount(), 0);
  for (int col : {0, 1, 100, 255, 256, 300, 1000000}) EXPECT_EQ(grid.DisplayToDataColumn(col), col);
  EXPECT_EQ(grid.DisplayToDataColumn(-3), 0);
}

TEST(CellGridColumns, HidingTakesAColumnOutOfTheDisplay) {
  TCellGrid grid;
  Name(grid, 6);
  grid.HideColumn(1);
  grid.HideColumn(3);
  EXPECT_EQ(grid.HiddenColumnCount(), 2);
  EXPECT_EQ(grid.ColCount(), 4);
  EXPECT_TRUE(grid.IsHiddenColumn(1));
  EXPECT_FALSE(grid.IsHiddenColumn(2));
  EXPECT_EQ(Mapping(grid, 4), (std::vector<int>{0, 2, 4, 5}));
  // Cells are addressed by stored column and stay where they are.
  EXPECT_EQ(grid.Cells(1, 0), "c1");
  EXPECT_EQ(grid.Cells(3, 0), "c3");

  grid.UnHideColumn(1);
  EXPECT_EQ(grid.HiddenColumnCount(), 1);
  EXPECT_EQ(grid.ColCount(), 5);
  EXPECT_EQ(Mapping(grid, 5), (std::vector<int>{0, 1, 2, 4, 5}));
}

TEST(CellGridColumns, HidingTwiceOrShowingAShownColumnChangesNothing) {
  TCellGrid grid;
  Name(grid, 4);
  grid.HideColumn(2);
  grid.HideColumn(2);
  grid.UnHideColumn(0);
  EXPECT_EQ(grid.HiddenColumnCount(), 1);
  EXPECT_EQ(grid.ColCount(), 3);
}

TEST(CellGridColumns, OnlyDisplayedColumnsBelow256CanBeHidden) {
  TCellGrid grid;
  Name(grid, 4);
  EXPECT_THROW(grid.HideColumn(-1), ECellGridError);
  EXPECT_THROW(grid.HideColumn(256), ECellGridError);
  EXPECT_THROW(grid.UnHideColumn(256), ECellGridError);
  // Column 10 is not displayed; hiding it would pull column 4 into view.
  EXPECT_THROW(grid.HideColumn(10), ECellGridError);
  EXPECT_EQ(grid.HiddenColumnCount(), 0);
  EXPECT_EQ(grid.ColCount(), 4);
}

// The displayed columns are the stored columns 0 .. ColCount - 1 + hidden
// count without the hidden ones, each shown once, also past column 255.
TEST(CellGridColumns, EveryStoredColumnInUseIsDisplayedExactlyOnce) {
  TCellGrid grid;
  grid.SetFixedCols(0);
  grid.SetColCount(300);
  for (int hidden : {3, 100, 255}) grid.HideColumn(hidden);
  ASSERT_EQ(grid.ColCount(), 297);
  std::set<int> shown;
  for (int col = 0; col < grid.ColCount(); ++col) {
    const int data = grid.DisplayToDataColumn(col);
    EXPECT_FALSE(grid.IsHiddenColumn(data)) << col;
    EXPECT_TRUE(shown.insert(data).second) << "stored column " << data << " shown twice";
    EXPECT_EQ(grid.DataToDisplayColumn(data), col);
  }
  EXPECT_EQ(*shown.rbegin(), 299);
  EXPECT_EQ(grid.DisplayToDataColumn(252), 254);
  EXPECT_EQ(grid.DisplayToDataColumn(253), 256);
  EXPECT_EQ(grid.DisplayToDataColumn(300), 303);
  EXPECT_EQ(grid.DataToDisplayColumn(100), -1);
}

TEST(CellGridColumns, TheDisplayShowsTheStoredColumnsInOrder) {
  TCellGrid grid;
  grid.SetMeasureCanvas(std::make_unique<TRecordingCanvas>());
  Name(grid, 5);
  grid.SetFixedRows(0);
  grid.SetRowCount(1);
  LayOut(grid, 1000, 100);
  grid.HideColumn(0);
  grid.HideColumn(2);
  TRecordingCanvas canvas;
  grid.PaintTo(canvas, {0, 0, 1000, 100});
  EXPECT_EQ(DrawnTexts(canvas), (std::vector<std::string>{"c1", "c3", "c4"}));
}

TEST(CellGridColumns, EditingWritesTheStoredColumnOfTheDisplayedOne) {
  grid_test::TTestCellGrid grid;
  grid.SetOptions(grid.Options() | TGridOptions{goEditing});
  Name(grid, 4);
  grid.SetFixedRows(0);
  grid.HideColumn(1);
  grid.ShowFocused();
  grid.SetRow(0);
  grid.SetCol(1);  // shows stored column 2
  grid.ShowEditor();
  ASSERT_EQ(grid.EditorText(), "c2");
  grid.InplaceEditor()->SetText("typed");
  EXPECT_EQ(grid.Cells(2, 0), "typed");
  EXPECT_EQ(grid.Cells(1, 0), "c1");
}

}  // namespace
}  // namespace kelvora
