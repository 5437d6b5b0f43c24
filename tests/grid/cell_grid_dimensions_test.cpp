#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "cell_grid_test_support.h"

namespace kelvora {
namespace {

using grid_test::DrawnTexts;
using grid_test::kPatience;
using grid_test::LayOut;
using grid_test::TTestCellGrid;

constexpr int kMax = TCellStore::kMaxIndex;

// ---- Cells ---------------------------------------------------------------------

TEST(CellGridCells, ACellNeverWrittenReadsEmpty) {
  TCellGrid grid;
  grid.SetCells(1, 1, "x");
  EXPECT_EQ(grid.Cells(0, 0), "");
  EXPECT_EQ(grid.Cells(4, 4), "");
  EXPECT_EQ(grid.Cells(kMax, kMax), "");
  EXPECT_EQ(grid.CellGraphic(1, 1), nullptr);
  EXPECT_EQ(grid.Cells(1, 1), "x");
}

TEST(CellGridCells, KeepsBytesAsTheyAre) {
  TCellGrid grid;
  const std::string bytes("a\0b\r\n\xff\"", 7);
  grid.SetCells(2, 3, bytes);
  EXPECT_EQ(grid.Cells(2, 3), bytes);
  grid.SetCells(2, 3, std::string(300, 'z'));
  EXPECT_EQ(grid.Cells(2, 3), std::string(300, 'z'));
  grid.SetCells(2, 3, "");
  EXPECT_EQ(grid.Cells(2, 3), "");
}

TEST(CellGridCells, ACellBeyondTheCountsIsKeptAndShowsWhenTheyGrow) {
  TCellGrid grid;
  grid.SetMeasureCanvas(std::make_unique<TRecordingCanvas>());
  grid.SetFixedCols(0);
  grid.SetFixedRows(0);
  grid.SetColCount(1);
  grid.SetRowCount(1);
  LayOut(grid, 2000, 1000);
  grid.SetCells(10, 10, "far");
  EXPECT_EQ(grid.Cells(10, 10), "far");

  TRecordingCanvas before;
  grid.PaintTo(before, {0, 0, 2000, 1000});
  EXPECT_EQ(DrawnTexts(before), std::vector<std::string>{""});

  grid.SetColCount(11);
  grid.SetRowCount(11);
  TRecordingCanvas after;
  grid.PaintTo(after, {0, 0, 2000, 1000});
  const std::vector<std::string> texts = DrawnTexts(after);
  ASSERT_EQ(texts.size(), 121u);
  EXPECT_EQ(texts.back(), "far");
}

TEST(CellGridCells, ShrinkingTheCountsKeepsTheCells) {
  TCellGrid grid;
  grid.SetColCount(7);
  grid.SetRowCount(100);
  grid.SetCells(6, 99, "last");
  grid.SetRowCount(1);
  grid.SetColCount(1);
  EXPECT_EQ(grid.Cells(6, 99), "last");
  grid.SetColCount(7);
  grid.SetRowCount(100);
  EXPECT_EQ(grid.Cells(6, 99), "last");
}

// The last storable cell costs nothing until the grid is that large, and is
// then drawn like any other.
TEST(CellGridCells, TheFarthestCellShowsOnceTheGridReachesIt) {
  TCellGrid grid;
  grid.SetMeasureCanvas(std::make_unique<TRecordingCanvas>());
  LayOut(grid, 400, 300);
  grid.SetCells(kMax, kMax, "corner");
  grid.SetColCount(INT_MAX);
  grid.SetRowCount(INT_MAX);
  grid.SetLeftCol(INT_MAX);
  grid.SetTopRow(INT_MAX);
  const TRect corner = grid.CellRect(kMax, kMax);
  ASSERT_FALSE(corner.IsEmpty());
  TRecordingCanvas canvas;
  grid.PaintTo(canvas, corner);
  EXPECT_EQ(DrawnTexts(canvas).back(), "corner");
}

// Every way in to a cell names the address it was given.
TEST(CellGridCells, ANegativeAddressRaisesAnErrorNamingIt) {
  TCellGrid grid;
  const std::vector<std::pair<const char*, std::function<void()>>> calls = {
      {"Cells", [&] { grid.Cells(-1, 2); }},
      {"SetCells", [&] { grid.SetCells(-1, 2, "x"); }},
      {"CellText", [&] { grid.CellText(-1, 2); }},
      {"CellGraphic", [&] { grid.CellGraphic(-1, 2); }},
      {"SetCellGraphic", [&] { grid.SetCellGraphic(-1, 2, nullptr); }},
      {"CellColor", [&] { grid.CellColor(-1, 2); }},
      {"SetCellColor", [&] { grid.SetCellColor(-1, 2, clRed); }},
      {"CellTextExtent", [&] { grid.CellTextExtent(-1, 2); }},
  };
  for (const auto& [name, call] : calls) {
    try {
      call();
      ADD_FAILURE() << name << " accepted column -1";
    } catch (const ECellGridError& error) {
      EXPECT_NE(error.Message().find("(-1, 2)"), std::string::npos) << name << ": " << error.Message();
    }
  }
  try {
    grid.SetCells(3, -7, "x");
    ADD_FAILURE() << "row -7 was accepted";
  } catch (const ECellGridError& error) {
    EXPECT_NE(error.Message().find("(3, -7)"), std::string::npos) << error.Message();
  }
  EXPECT_EQ(grid.Cells(0, 2), "");
}

TEST(CellGridCells, KeepsAColourAsideFromTheText) {
  TCellGrid grid;
  EXPECT_EQ(grid.CellColor(1, 1), clNone);
  grid.SetCellColor(1, 1, clRed);
  grid.SetCells(1, 1, "red");
  EXPECT_EQ(grid.CellColor(1, 1), clRed);
  grid.SetCells(1, 1, "");
  EXPECT_EQ(grid.CellColor(1, 1), clRed);
  grid.SetCellColor(1, 1, clNone);
  EXPECT_EQ(grid.CellColor(1, 1), clNone);
}

TEST(CellGridCells, WritingTheCurrentCellRefreshesTheOpenEditor) {
  TTestCellGrid grid;
  grid.SetOptions(grid.Options() | TGridOptions{goEditing});
  grid.ShowFocused();
  grid.SetCol(2);
  grid.SetRow(3);
  grid.ShowEditor();
  ASSERT_TRUE(grid.EditorShowing());
  grid.SetCells(2, 3, "changed by the program");
  EXPECT_EQ(grid.EditorText(), "changed by the program");
  grid.SetCells(1, 3, "elsewhere");
  EXPECT_EQ(grid.EditorText(), "changed by the program");
  EXPECT_EQ(grid.Cells(2, 3), "changed by the program");
}

TEST(CellGridCells, AWriteInViewIsRepainted) {
  TTestCellGrid grid;
  grid.ShowFocused();
  ASSERT_TRUE(QTest::qWaitFor([&] { return grid.Paints > 0; }, kPatience));
  QCoreApplication::processEvents();
  grid.Paints = 0;
  grid.SetCells(1, 1, "new");
  EXPECT_TRUE(QTest::qWaitFor([&] { return grid.Paints > 0; }, kPatience));
}

// ---- Dimensions ------------------------------------------------------------------

struct TAlwaysCase {
  bool always;
  int newCount;
  int fixedBefore;
  int fixedAfter;
};

TEST(CellGridDimensions, AGrowingCountKeepsOneFixedRowWhenAlwaysIsOn) {
  const TAlwaysCase cases[] = {
      {false, 10, 0, 0}, {true, 10, 0, 1}, {true, 1, 0, 0}, {true, 10, 3, 1}, {false, 10, 3, 3},
  };
  for (const TAlwaysCase& c : cases) {
    TCellGrid grid;
    grid.SetRowCount(5);
    grid.TCustomGrid::SetFixedRows(c.fixedBefore);
    grid.SetFixedRowAlways(c.always);
    grid.SetRowCount(c.newCount);
    EXPECT_EQ(grid.TCustomGrid::FixedRows(), c.fixedAfter)
        << "always " << c.always << ", count " << c.newCount << ", fixed before " << c.fixedBefore;
    EXPECT_EQ(grid.RowCount(), c.newCount);
  }
}

TEST(CellGridDimensions, AGrowingCountKeepsOneFixedColumnWhenAlwaysIsOn) {
  const TAlwaysCase cases[] = {
      {false, 10, 0, 0}, {true, 10, 0, 1}, {true, 1, 0, 0}, {true, 10, 3, 1}, {false, 10, 3, 3},
  };
  for (const TAlwaysCase& c : cases) {
    TCellGrid grid;
    grid.SetColCount(5);
    grid.TCustomGrid::SetFixedCols(c.fixedBefore);
    grid.SetFixedColAlways(c.always);
    grid.SetColCount(c.newCount);
    EXPECT_EQ(grid.TCustomGrid::FixedCols(), c.fixedAfter)
        << "always " << c.always << ", count " << c.newCount << ", fixed before " << c.fixedBefore;
    EXPECT_EQ(grid.ColCount(), c.newCount);
  }
}

TEST(CellGridDimensions, NoFixedRowOrColumnReadsAsOneWhileAlwaysIsOn) {
  TCellGrid grid;
  grid.SetFixedRows(0);
  grid.SetFixedCols(0);
  grid.SetFixedRowAlways(true);
  EXPECT_EQ(grid.FixedRows(), 1);
  EXPECT_EQ(grid.FixedCols(), 0);
  EXPECT_EQ(grid.TCustomGrid::FixedRows(), 0);  // the base keeps what it was given
  grid.SetFixedColAlways(true);
  EXPECT_EQ(grid.FixedCols(), 1);
  grid.SetFixedRows(2);
  EXPECT_EQ(grid.FixedRows(), 2);
  grid.SetFixedRowAlways(false);
  grid.SetFixedColAlways(false);
  EXPECT_EQ(grid.FixedCols(), 0);
}

TEST(CellGridDimensions, FixedColWidthSizesEveryFixedColumnAndReadsColumnZero) {
  TCellGrid grid;
  grid.SetColCount(6);
  grid.SetFixedCols(3);
  grid.SetFixedColWidth(90);
  EXPECT_EQ(grid.ColWidths(0), 90);
  EXPECT_EQ(grid.ColWidths(1), 90);
  EXPECT_EQ(grid.ColWidths(2), 90);
  EXPECT_EQ(grid.ColWidths(3), 64);
  grid.SetColWidths(0, 33);
  EXPECT_EQ(grid.FixedColWidth(), 33);

  // Without fixed columns the setting sizes nothing, and column 0 answers.
  TCellGrid plain;
  plain.SetFixedCols(0);
  plain.SetFixedColWidth(115);
  EXPECT_EQ(plain.ColWidths(0), 64);
  EXPECT_EQ(plain.FixedColWidth(), 64);
}

TEST(CellGridDimensions, FixedRowHeightSizesEveryFixedRowAndReadsRowZero) {
  TCellGrid grid;
  grid.SetRowCount(6);
  grid.SetFixedRows(2);
  grid.SetFixedRowHeight(30);
  EXPECT_EQ(grid.RowHeights(0), 30);
  EXPECT_EQ(grid.RowHeights(1), 30);
  EXPECT_EQ(grid.RowHeights(2), 21);
  EXPECT_EQ(grid.FixedRowHeight(), 30);
}

TEST(CellGridDimensions, ExtraFixedCountsAreKeptAndRepainted) {
  TTestCellGrid grid;
  grid.ShowFocused();
  ASSERT_TRUE(QTest::qWaitFor([&] { return grid.Paints > 0; }, kPatience));
  QCoreApplication::processEvents();

  grid.Paints = 0;
  grid.SetFixedFooters(2);
  EXPECT_EQ(grid.FixedFooters(), 2);
  EXPECT_TRUE(QTest::qWaitFor([&] { return grid.Paints > 0; }, kPatience));

  grid.Paints = 0;
  grid.SetFixedRightCols(1);
  EXPECT_EQ(grid.FixedRightCols(), 1);
  EXPECT_TRUE(QTest::qWaitFor([&] { return grid.Paints > 0; }, kPatience));
}

TEST(CellGridDimensions, ANegativeExtraFixedCountIsRefused) {
  TCellGrid grid;
  grid.SetFixedFooters(1);
  grid.SetFixedRightCols(2);
  EXPECT_THROW(grid.SetFixedFooters(-1), ECellGridError);
  EXPECT_THROW(grid.SetFixedRightCols(-3), ECellGridError);
  EXPECT_EQ(grid.FixedFooters(), 1);
  EXPECT_EQ(grid.FixedRightCols(), 2);
}

}  // namespace
}  // namespace kelvora
