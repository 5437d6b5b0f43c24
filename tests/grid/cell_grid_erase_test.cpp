#include <climits>
#include <string>
#include <vector>

#include "cell_grid_test_support.h"

namespace kelvora {
namespace {

using grid_test::TTestCellGrid;

// A graphic that tells when it is freed.
class TCountedGraphic : public TCellGraphic {
 public:
  explicit TCountedGraphic(int* freed, int width = 10) : freed_(freed), width_(width) {}
  ~TCountedGraphic() override { ++*freed_; }
  int Width() const override { return width_; }

 private:
  int* freed_;
  int width_;
};

// Records every range it is asked to erase, then erases it.
class TLoggingGrid : public TCellGrid {
 public:
  std::vector<std::string> Ranges;
  void EraseCellRange(int FromCol, int FromRow, int ToCol, int ToRow) override {
    Ranges.push_back(std::to_string(FromCol) + "," + std::to_string(FromRow) + ".." +
                     std::to_string(ToCol) + "," + std::to_string(ToRow));
    TCellGrid::EraseCellRange(FromCol, FromRow, ToCol, ToRow);
  }
};

// Every cell of a cols x rows block holds "c,r".
void Fill(TCellGrid& grid, int cols, int rows) {
  for (int row = 0; row < rows; ++row)
    for (int col = 0; col < cols; ++col)
      grid.SetCells(col, row, std::to_string(col) + "," + std::to_string(row));
}

// The block as one text, "." for an empty cell, rows apart by "|".
std::string Picture(const TCellGrid& grid, int cols, int rows) {
  std::string picture;
  for (int row = 0; row < rows; ++row) {
    if (row) picture += "|";
    for (int col = 0; col < cols; ++col) picture += grid.Cells(col, row).empty() ? "." : "x";
  }
  return picture;
}

TEST(CellGridErase, EmptiesExactlyTheRangeFixedCellsIncluded) {
  TCellGrid grid;  // one fixed row and column
  Fill(grid, 5, 5);
  grid.EraseCellRange(0, 0, 1, 2);
  EXPECT_EQ(Picture(grid, 5, 5), "..xxx|..xxx|..xxx|xxxxx|xxxxx");
  EXPECT_EQ(grid.ColCount(), 5);
  EXPECT_EQ(grid.RowCount(), 5);
}

TEST(CellGridErase, ReachesCellsBeyondTheCounts) {
  TCellGrid grid;
  grid.SetCells(20, 30, "beyond");
  grid.EraseCellRange(0, 0, 100, 100);
  EXPECT_EQ(grid.Cells(20, 30), "");
}

TEST(CellGridErase, AnEmptyRangeDoesNothing) {
  TCellGrid grid;
  Fill(grid, 3, 3);
  grid.EraseCellRange(2, 0, 1, 2);  // columns backwards
  grid.EraseCellRange(0, 2, 2, 1);  // rows backwards
  grid.EraseCellRange(-1, 5, -5, 5);  // backwards, even though negative
  EXPECT_EQ(Picture(grid, 3, 3), "xxx|xxx|xxx");
}

TEST(CellGridErase, ARangeFromANegativeAddressIsRefused) {
  TCellGrid grid;
  Fill(grid, 3, 3);
  try {
    grid.EraseCellRange(0, -2, 2, 2);
    ADD_FAILURE() << "a range from row -2 was accepted";
  } catch (const ECellGridError& error) {
    EXPECT_NE(error.Message().find("(0, -2)"), std::string::npos) << error.Message();
  }
  EXPECT_THROW(grid.EraseRowRange(-1, 2), ECellGridError);
  EXPECT_EQ(Picture(grid, 3, 3), "xxx|xxx|xxx");
}

TEST(CellGridErase, ARangeEndingPastTheLastIndexStopsThere) {
  TCellGrid grid;
  grid.SetCells(TCellStore::kMaxIndex, TCellStore::kMaxIndex, "corner");
  grid.EraseCellRange(0, 0, INT_MAX, INT_MAX);
  EXPECT_EQ(grid.Cells(TCellStore::kMaxIndex, TCellStore::kMaxIndex), "");
}

TEST(CellGridErase, FreesGraphicsOnlyWhileGraphicsAreOn) {
  int freed = 0;
  TCellGrid grid;
  grid.SetCellGraphic(1, 1, std::make_unique<TCountedGraphic>(&freed));
  grid.SetCells(1, 1, "text");
  grid.EraseCellRange(0, 0, 2, 2);
  EXPECT_EQ(grid.Cells(1, 1), "");
  EXPECT_NE(grid.CellGraphic(1, 1), nullptr);
  EXPECT_EQ(freed, 0);

  grid.SetEnableGraphics(true);
  grid.EraseCellRange(0, 0, 2, 2);
  EXPECT_EQ(grid.CellGraphic(1, 1), nullptr);
  EXPECT_EQ(freed, 1);
}

TEST(CellGridErase, ReplacingOrDestroyingFreesEveryGraphic) {
  int freed = 0;
  {
    TCellGrid grid;
    grid.SetCellGraphic(0, 0, std::make_unique<TCountedGraphic>(&freed));
    grid.SetCellGraphic(0, 0, std::make_unique<TCountedGraphic>(&freed));
    EXPECT_EQ(freed, 1);
    grid.SetCellGraphic(300, 100000, std::make_unique<TCountedGraphic>(&freed));
  }
  EXPECT_EQ(freed, 3);
}

TEST(CellGridErase, AllCellsEmptiesTheWholeGridAndKeepsTheCounts) {
  TLoggingGrid grid;
  grid.SetColCount(4);
  grid.SetRowCount(3);
  Fill(grid, 5, 4);  // one column and one row beyond the counts
  grid.EraseAllCells();
  EXPECT_EQ(grid.Ranges, std::vector<std::string>{"0,0..3,2"});
  EXPECT_EQ(Picture(grid, 5, 4), "....x|....x|....x|xxxxx");
  EXPECT_EQ(grid.ColCount(), 4);
  EXPECT_EQ(grid.RowCount(), 3);
}

TEST(CellGridErase, AllCellsTakesTheHiddenColumnsAlong) {
  TLoggingGrid grid;
  grid.SetFixedCols(0);
  grid.SetColCount(4);
  Fill(grid, 4, 5);
  grid.HideColumn(1);
  ASSERT_EQ(grid.ColCount(), 3);
  grid.EraseAllCells();
  EXPECT_EQ(grid.Ranges, std::vector<std::string>{"0,0..3,4"});
  EXPECT_EQ(Picture(grid, 4, 5), "....|....|....|....|....");
}

TEST(CellGridErase, AllCellsOfAGridWithoutRowsOrColumnsDoesNothing) {
  TLoggingGrid grid;
  Fill(grid, 2, 2);
  grid.SetRowCount(0);
  grid.EraseAllCells();
  grid.SetRowCount(2);
  grid.SetColCount(0);
  grid.EraseAllCells();
  EXPECT_TRUE(grid.Ranges.empty());
  EXPECT_EQ(Picture(grid, 2, 2), "xx|xx");
}

TEST(CellGridErase, RowRangeEmptiesWholeRows) {
  TLoggingGrid grid;
  grid.SetColCount(3);
  grid.SetRowCount(6);
  Fill(grid, 3, 6);
  grid.EraseRowRange(2, 3);
  EXPECT_EQ(grid.Ranges, std::vector<std::string>{"0,2..2,4"});
  EXPECT_EQ(Picture(grid, 3, 6), "xxx|xxx|...|...|...|xxx");

  grid.Ranges.clear();
  grid.EraseRowRange(0, 0);
  grid.EraseRowRange(0, -4);
  EXPECT_TRUE(grid.Ranges.empty());
}

TEST(CellGridErase, ARowRangeNearTheLimitDoesNotOverflow) {
  TCellGrid grid;
  grid.SetCells(0, TCellStore::kMaxIndex, "last");
  grid.EraseRowRange(TCellStore::kMaxIndex - 1, INT_MAX);
  EXPECT_EQ(grid.Cells(0, TCellStore::kMaxIndex), "");
}

TEST(CellGridErase, TheOpenEditorShowsTheErasedText) {
  TTestCellGrid grid;
  grid.SetOptions(grid.Options() | TGridOptions{goEditing});
  Fill(grid, 5, 5);
  grid.ShowFocused();
  grid.SetCol(2);
  grid.SetRow(2);
  grid.ShowEditor();
  ASSERT_EQ(grid.EditorText(), "2,2");
  grid.EraseRowRange(2, 1);
  EXPECT_EQ(grid.EditorText(), "");
}

}  // namespace
}  // namespace kelvora
