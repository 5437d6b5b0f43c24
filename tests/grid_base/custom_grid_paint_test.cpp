#include <QImage>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>

#include "common/event_loop.h"
#include "custom_grid_test_grid.h"
#include "toolkit/color.h"
#include "toolkit/qt_canvas.h"

namespace kelvora {
namespace {

using testing::CallsStartingWith;
using testing::Count;
using testing::kPatience;
using testing::LayOut;
using testing::TTestGrid;

// Laid out, the grid's viewport is exactly its size: 5 x 5 cells of 64 x 24
// pixels with 1-pixel lines, so column c starts at 65c and row r at 25r.

TEST(GridPaint, DrawsOnlyTheCellsThatMeetTheDirtyArea) {
  TTestGrid grid;
  LayOut(grid);
  TRecordingCanvas canvas;
  grid.PaintTo(canvas, {70, 30, 140, 60});
  EXPECT_EQ(grid.Drawn, (std::vector<std::string>{"1,1 65,25,129,49 S", "2,1 130,25,194,49 -",
                                                  "1,2 65,50,129,74 -", "2,2 130,50,194,74 -"}));
  EXPECT_EQ(canvas.Calls().front(), "SetClipRect 70,30,140,60");
  EXPECT_EQ(canvas.Calls().back(), "ResetClip");
}

TEST(GridPaint, DrawsNothingOutsideTheViewport) {
  TTestGrid grid;
  LayOut(grid, 100, 60);
  TRecordingCanvas canvas;
  grid.PaintTo(canvas, {0, 0, 1000, 1000});
  EXPECT_EQ(grid.Drawn.size(), 6u);  // columns 0 and 1, rows 0 to 2
  grid.ClearLog();
  grid.PaintTo(canvas, {200, 200, 300, 300});
  EXPECT_TRUE(grid.Drawn.empty());
}

TEST(GridPaint, SetsTheBrushAndFontColourForEachState) {
  TTestGrid grid;
  LayOut(grid);
  TFont font;
  font.Color = clNavy;
  grid.SetFont(font);
  grid.SetSelection({1, 1, 2, 1});
  TRecordingCanvas canvas;
  grid.PaintTo(canvas, {0, 0, 190, 40});
  EXPECT_EQ(grid.Colours, (std::vector<std::string>{"0,0 clBtnFace/clNavy", "1,0 clBtnFace/clNavy",
                                                    "2,0 clBtnFace/clNavy", "0,1 clBtnFace/clNavy",
                                                    "1,1 clHighlight/clHighlightText",
                                                    "2,1 clHighlight/clHighlightText"}));
  EXPECT_EQ(grid.Drawn[4], "1,1 65,25,129,49 S");
  // With default drawing each cell is filled before the grid draws it.
  EXPECT_EQ(Count(canvas.Calls(), "FillRect 65,25,129,49 brush=clHighlight"), 1);
}

TEST(GridPaint, TheFocusedCellKeepsItsColoursAndGetsTheFocusRectangleLast) {
  TTestGrid grid;
  LayOut(grid);
  grid.SetColor(clWhite);
  grid.SetSelection({1, 1, 2, 1});
  grid.ShowFocused(400, 300);
  grid.ClearLog();
  TRecordingCanvas canvas;
  grid.PaintTo(canvas, {0, 0, 400, 300});
  EXPECT_EQ(grid.Drawn[6], "1,1 65,25,129,49 SF");
  EXPECT_EQ(grid.Colours[6], "1,1 clWhite/clWindowText");
  EXPECT_EQ(grid.Colours[7], "2,1 clHighlight/clHighlightText");
  const std::vector<std::string>& calls = canvas.Calls();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[calls.size() - 2], "DrawFocusRect 65,25,129,49");
  EXPECT_EQ(grid.Log.back(), "Paint");

  grid.SetOptions(grid.Options().insert(goDrawFocusSelected));
  grid.ClearLog();
  grid.PaintTo(canvas, {0, 0, 400, 300});
  EXPECT_EQ(grid.Colours[6], "1,1 clHighlight/clHighlightText");
}

TEST(GridPaint, NoFocusRectangleWithoutFocusOrWhileEditing) {
  TTestGrid grid;
  LayOut(grid);
  TRecordingCanvas canvas;
  grid.PaintTo(canvas, {0, 0, 400, 300});
  EXPECT_TRUE(CallsStartingWith(canvas, "DrawFocusRect").empty());

  grid.SetOptions(grid.Options().insert(goEditing));
  grid.ShowFocused(400, 300);
  grid.ShowEditor();
  ASSERT_TRUE(grid.EditorShowing());
  canvas.Clear();
  grid.PaintTo(canvas, {0, 0, 400, 300});
  EXPECT_TRUE(CallsStartingWith(canvas, "DrawFocusRect").empty());
}

TEST(GridPaint, DrawsTheLinesInBatchesInTheirColours) {
  TTestGrid grid;
  LayOut(grid);
  TRecordingCanvas canvas;
  grid.PaintTo(canvas, {0, 0, 400, 300});
  const std::vector<std::string> fills = CallsStartingWith(canvas, "FillRect");
  // One rectangle per line and block of cells, not one per cell: 25 cells
  // fill 25 rectangles, the lines 4 blocks' worth, the empty space 2.
  EXPECT_EQ(fills.size(), 25u + (1 + 1) + (4 + 1) + (1 + 4) + (4 + 4) + 2);
  const auto has = [&](const std::string& call) { return std::count(fills.begin(), fills.end(), call) == 1; };
  EXPECT_TRUE(has("FillRect 64,0,65,25 brush=clBlack"));      // right of the fixed corner
  EXPECT_TRUE(has("FillRect 129,25,130,125 brush=clSilver"));  // right of column 1, rows 1-4
  EXPECT_TRUE(has("FillRect 65,49,325,50 brush=clSilver"));    // under row 1, columns 1-4
  EXPECT_TRUE(has("FillRect 0,24,65,25 brush=clBlack"));       // under the fixed corner
  EXPECT_TRUE(has("FillRect 325,0,400,300 brush=clWindow"));   // right of the last column
  EXPECT_TRUE(has("FillRect 0,125,325,300 brush=clWindow"));   // below the last row
}

TEST(GridPaint, GapsWithoutALineTakeTheCellColour) {
  TTestGrid grid;
  LayOut(grid);
  grid.SetOptions(grid.Options().erase(goVertLine));
  TRecordingCanvas canvas;
  grid.PaintTo(canvas, {0, 0, 400, 300});
  const std::vector<std::string> fills = CallsStartingWith(canvas, "FillRect 129,25,130,125");
  EXPECT_EQ(fills, std::vector<std::string>{"FillRect 129,25,130,125 brush=clWindow"});
  // Gaps go first, so the horizontal line that crosses the gap stays whole.
  const auto& calls = canvas.Calls();
  const auto gap = std::find(calls.begin(), calls.end(), "FillRect 129,25,130,125 brush=clWindow");
  const auto line = std::find(calls.begin(), calls.end(), "FillRect 65,49,325,50 brush=clSilver");
  EXPECT_LT(gap, line);

  grid.SetOptions(grid.Options().erase(goFixedVertLine));
  canvas.Clear();
  grid.ClearLog();
  grid.PaintTo(canvas, {0, 0, 400, 300});
  EXPECT_EQ(grid.Drawn[1], "1,0 64,0,128,24 X");  // no vertical gaps at all now
}

TEST(GridPaint, FixedCellsAreRaisedUnlessTheGridIsFlat) {
  TTestGrid grid;
  LayOut(grid);
  TRecordingCanvas canvas;
  grid.PaintTo(canvas, {0, 0, 400, 300});
  EXPECT_EQ(CallsStartingWith(canvas, "DrawEdge").size(), 9u);
  EXPECT_EQ(CallsStartingWith(canvas, "DrawEdge 0,0,64,24").front(), "DrawEdge 0,0,64,24 sides=Left|Top|Right|Bottom");
  grid.SetFlat(true);
  canvas.Clear();
  grid.PaintTo(canvas, {0, 0, 400, 300});
  EXPECT_TRUE(CallsStartingWith(canvas, "DrawEdge").empty());
}

TEST(GridPaint, ScrolledCellsAppearAfterTheFixedOnes) {
  TTestGrid grid;
  LayOut(grid, 200, 100);
  grid.SetRowCount(100);
  grid.SetColCount(20);
  grid.SetTopRow(50);
  grid.SetLeftCol(10);
  TRecordingCanvas canvas;
  grid.PaintTo(canvas, {0, 0, 200, 100});
  EXPECT_EQ(grid.Drawn.front(), "0,0 0,0,64,24 X");
  EXPECT_NE(std::find(grid.Drawn.begin(), grid.Drawn.end(), "10,0 65,0,129,24 X"), grid.Drawn.end());
  EXPECT_NE(std::find(grid.Drawn.begin(), grid.Drawn.end(), "0,50 0,25,64,49 X"), grid.Drawn.end());
  EXPECT_NE(std::find(grid.Drawn.begin(), grid.Drawn.end(), "10,50 65,25,129,49 -"), grid.Drawn.end());
  EXPECT_EQ(Count(grid.Drawn, "1,"), 0);  // column 1 is scrolled away
}

TEST(GridPaint, ThePaintEventRepaintsOnlyWhatWasInvalidated) {
  TTestGrid grid;
  LayOut(grid);
  grid.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !grid.Drawn.empty(); }, kPatience));
  ASSERT_TRUE(testing::DrainEvents());
  grid.ClearLog();
  grid.InvalidateCell(3, 2);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !grid.Drawn.empty(); }, kPatience));
  EXPECT_EQ(grid.Drawn, std::vector<std::string>{"3,2 195,50,259,74 -"});
}

TEST(GridPaint, PaintsRealPixelsThroughTheQtCanvas) {
  TTestGrid grid;
  LayOut(grid, 200, 100);
  grid.SetColor(clWhite);
  grid.SetFixedColor(clGray);
  QImage image(200, 100, QImage::Format_RGB32);
  image.fill(Qt::red);
  {
    QPainter painter(&image);
    TQtCanvas canvas(painter);
    grid.PaintTo(canvas, {0, 0, 200, 100});
  }
  EXPECT_EQ(image.pixelColor(30, 10), QColor(128, 128, 128));  // fixed cell, inside its edge
  EXPECT_EQ(image.pixelColor(150, 60), QColor(Qt::white));                  // a normal cell
  EXPECT_EQ(image.pixelColor(129, 60), QColor(192, 192, 192));              // a normal line
  EXPECT_EQ(image.pixelColor(64, 60), QColor(Qt::black));                   // a fixed line
}

}  // namespace
}  // namespace kelvora
