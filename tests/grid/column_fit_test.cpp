#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "cell_grid_test_support.h"

namespace kelvora {
namespace {

using grid_test::ApplyMainWindowColumn;
using grid_test::FontOf;
using grid_test::TTestCellGrid;

// The recording canvas measures a text as (bytes x max(1, h / 2)) by (h + 2)
// for a font of pixel height h. In these grids the cell font has height 10
// (5 pixels a byte) and the fixed font height 20 (10 pixels a byte).
constexpr int kCellByte = 5;
constexpr int kFixedByte = 10;

// The main window's grid, measuring with the recording canvas.
class TFitGrid : public TTestCellGrid {
 public:
  explicit TFitGrid(int cols = 3, int rows = 4) {
    ApplyMainWindowColumn(*this);
    SetFont(FontOf("Cell", -10, clNavy));
    SetFixedFont(FontOf("Fixed", -20, clBlack));
    SetColCount(cols);
    SetRowCount(rows);
  }
};

std::vector<int> Widths(const TCellGrid& grid) {
  std::vector<int> widths;
  for (int col = 0; col < grid.ColCount(); ++col) widths.push_back(grid.ColWidths(col));
  return widths;
}

// What fitting must give, found the slow way: every cell measured through
// CellTextExtent in the font it is drawn with.
int WidestByMeasuringEveryCell(TCellGrid& grid, int col) {
  TCanvas& canvas = grid.Canvas();
  const int dataCol = grid.DisplayToDataColumn(col);
  int widest = 0;
  for (int row = 0; row < grid.RowCount(); ++row) {
    const bool fixed = col < grid.FixedCols() || row < grid.FixedRows();
    TFont font = fixed ? grid.FixedFont() : grid.Font();
    TBrush brush;
    const bool drawnFixed = fixed || grid.IsExtraFixedCell(dataCol, row);
    grid.ApplyCellColours(dataCol, row, drawnFixed ? TGridDrawState{gdFixed} : TGridDrawState{}, brush, font);
    if (grid.FontSizeOffset() != 0) font.SetSize(font.Size() + grid.FontSizeOffset());
    canvas.SetFont(font);
    widest = std::max(widest, grid.CellTextExtent(dataCol, row).cx);
  }
  return widest + 4;
}

// The width of a painted text by the recording canvas's rule, read off the
// font of its DrawText record ("font=NAME/HEIGHT/COLOR").
int PaintedWidth(const TRecordingCanvas& canvas, const std::string& text) {
  for (const std::string& call : canvas.Calls()) {
    if (call.rfind("DrawText " + RecordedText(text) + " ", 0) != 0) continue;
    const std::size_t font = call.find(" font=") + 6;
    const std::size_t height = call.find('/', font) + 1;
    const int pixels = std::abs(std::stoi(call.substr(height)));
    return static_cast<int>(text.size()) * std::max(1, pixels / 2);
  }
  ADD_FAILURE() << text << " was not painted";
  return -1;
}

// Fitting measures each cell in the font painting draws it in. A colour
// hook that enlarges the font of whatever is drawn as fixed shows where the
// two would part: fixed rows and columns, footer rows and right fixed
// columns, with a hidden column before them so that stored and displayed
// columns differ.
TEST(ColumnFit, FitsEachCellInTheFontItIsPaintedIn) {
  struct TCase {
    const char* what;
    int col;  // displayed
    int row;
  };
  for (const TCase& c : {TCase{"normal", 2, 2}, TCase{"fixed row", 1, 0}, TCase{"fixed column", 0, 2},
                         TCase{"footer", 2, 4}, TCase{"right fixed", 4, 2}}) {
    SCOPED_TRACE(c.what);
    TFitGrid grid(6, 5);
    grid_test::LayOut(grid, 800, 300);
    grid.SetFixedCols(1);
    grid.SetFixedRows(1);
    grid.SetFixedFooters(1);
    grid.SetFixedRightCols(1);
    grid.HideColumn(1);
    grid.OnGetCellColor = [](TObject*, int, int, TGridDrawState state, TBrush&, TFont& font) {
      if (state.contains(gdFixed)) font.Height -= 6;
    };
    grid.SetCells(grid.DisplayToDataColumn(c.col), c.row, "abcdef");
    grid.FitColumnToText(c.col);
    TRecordingCanvas canvas;
    grid.PaintTo(canvas, {0, 0, 800, 300});
    EXPECT_EQ(grid.ColWidths(c.col), PaintedWidth(canvas, "abcdef") + 4);
  }
}

TEST(ColumnFit, EachColumnBecomesItsWidestTextPlusFourAndTheExtra) {
  TFitGrid grid(3, 4);
  grid.SetCells(0, 0, "1234567890");  // 50 pixels
  grid.SetCells(0, 1, "123");
  grid.SetCells(1, 2, "12345");
  grid.FitColumnsToText(true, 2);
  EXPECT_EQ(Widths(grid), (std::vector<int>{56, 31, 6}));
  grid.FitColumnsToText(true, 0);
  EXPECT_EQ(Widths(grid), (std::vector<int>{54, 29, 4}));
}

TEST(ColumnFit, MeasuresEveryRowOfTheGridAndNothingBeyondIt) {
  TFitGrid grid(2, 3);
  grid.SetCells(0, 2, "abcd");                    // the last row counts
  grid.SetCells(0, 3, std::string(40, 'x'));      // beyond RowCount
  grid.SetCells(2, 0, std::string(40, 'x'));      // beyond ColCount
  grid.FitColumnsToText(true, 2);
  EXPECT_EQ(grid.ColWidths(0), 4 * kCellByte + 6);
  grid.SetColCount(3);
  EXPECT_EQ(grid.ColWidths(2), 115);
}

TEST(ColumnFit, FixedRowsAreMeasuredInTheFixedFont) {
  TFitGrid grid(2, 4);
  grid.SetRowCount(4);
  grid.SetFixedRows(1);
  grid.SetCells(0, 0, "ab");    // fixed: 20 pixels
  grid.SetCells(0, 1, "abc");   // 15 pixels
  grid.SetCells(1, 0, "a");     // fixed: 10 pixels
  grid.SetCells(1, 3, "abcdef");  // 30 pixels
  grid.FitColumnsToText(true, 2);
  EXPECT_EQ(Widths(grid), (std::vector<int>{2 * kFixedByte + 6, 6 * kCellByte + 6}));
}

TEST(ColumnFit, FixedColumnsUseTheFixedFontAndAreFittedOnlyWhenIncluded) {
  TFitGrid grid(3, 3);
  grid.SetFixedCols(1);
  grid.SetCells(0, 2, "abc");  // a fixed column: 30 pixels
  grid.SetCells(1, 2, "abc");  // 15 pixels
  grid.FitColumnsToText(false, 2);
  EXPECT_EQ(Widths(grid), (std::vector<int>{115, 3 * kCellByte + 6, 6}));
  grid.FitColumnsToText(true, 2);
  EXPECT_EQ(Widths(grid), (std::vector<int>{3 * kFixedByte + 6, 3 * kCellByte + 6, 6}));
}

TEST(ColumnFit, WithoutFixedColumnsIncludingThemChangesNothing) {
  TFitGrid with(3, 3);
  TFitGrid without(3, 3);
  for (TCellGrid* grid : {&with, &without}) {
    grid->SetCells(0, 0, "Tue");
    grid->SetCells(1, 1, "4 ");
    grid->SetCells(2, 2, "2003");
  }
  with.FitColumnsToText(true, 2);
  without.FitColumnsToText(false, 2);
  EXPECT_EQ(Widths(with), Widths(without));
}

TEST(ColumnFit, TheColourHookMayChangeTheFontOfOneCell) {
  TFitGrid grid(2, 4);
  grid.SetFixedRows(1);
  std::vector<std::string> calls;
  grid.OnGetCellColor = [&](TObject* sender, int ARow, int ACol, TGridDrawState AState, TBrush&,
                            TFont& AFont) {
    EXPECT_EQ(sender, &grid);
    calls.push_back(std::to_string(ACol) + "," + std::to_string(ARow) +
                    (AState.contains(gdFixed) ? " fixed" : ""));
    if (ARow == 2 && ACol == 1) AFont.Height = -30;  // 15 pixels a byte
  };
  grid.SetCells(1, 1, "abcdef");  // 30 pixels
  grid.SetCells(1, 2, "abc");     // 45 pixels in the handler's font
  grid.FitColumnToText(1);
  EXPECT_EQ(grid.ColWidths(1), 45 + 4);
  EXPECT_EQ(calls, (std::vector<std::string>{"1,0 fixed", "1,1", "1,2", "1,3"}));
}

TEST(ColumnFit, TheZoomEnlargesEveryFont) {
  TFitGrid grid(1, 2);
  grid.SetCells(0, 1, "abcd");
  grid.SetFontSizeOffset(2);  // 8 points become 10: height 13, 6 pixels a byte
  grid.FitColumnToText(0);
  EXPECT_EQ(grid.ColWidths(0), 4 * 6 + 4);
  grid.SetFontSizeOffset(0);
  grid.FitColumnToText(0);
  EXPECT_EQ(grid.ColWidths(0), 4 * kCellByte + 4);
}

TEST(ColumnFit, AHiddenColumnIsSkippedForTheNextStoredOne) {
  TFitGrid grid(4, 2);
  grid.SetCells(1, 0, "ab");
  grid.SetCells(2, 0, "abcdef");
  grid.HideColumn(1);
  grid.FitColumnToText(1);
  EXPECT_EQ(grid.ColWidths(1), 6 * kCellByte + 4);
}

TEST(ColumnFit, OnlyGrowNeverNarrowsAColumn) {
  TFitGrid grid(1, 1);
  grid.SetCells(0, 0, "abc");
  grid.SetColWidths(0, 100);
  grid.FitColumnWidth(0, true);
  EXPECT_EQ(grid.ColWidths(0), 100);
  grid.SetColWidths(0, 3);
  grid.FitColumnWidth(0, true);
  EXPECT_EQ(grid.ColWidths(0), 3 * kCellByte + 4);
  grid.FitColumnWidth(0, false);
  EXPECT_EQ(grid.ColWidths(0), 3 * kCellByte + 4);
}

TEST(ColumnFit, MarkupIsMeasuredAsMarkupOnlyWhileItIsOn) {
  TFitGrid grid(1, 1);
  grid.SetCells(0, 0, "<B>bold</B>");
  grid.FitColumnToText(0);
  EXPECT_EQ(grid.ColWidths(0), 4 * kCellByte + 4);
  grid.SetEnableHTML(false);
  grid.FitColumnToText(0);
  EXPECT_EQ(grid.ColWidths(0), 11 * kCellByte + 4);
}

TEST(ColumnFit, OnlyTheFirstLineCountsUnlessCellsAreMultiLine) {
  TFitGrid grid(1, 1);
  grid.SetCells(0, 0, "ab\r\nabcdefgh");
  grid.FitColumnToText(0);
  EXPECT_EQ(grid.ColWidths(0), 2 * kCellByte + 4);
  grid.SetMultilinecells(true);
  grid.FitColumnToText(0);
  EXPECT_EQ(grid.ColWidths(0), 8 * kCellByte + 4);
}

class TWideGraphic : public TCellGraphic {
 public:
  int Width() const override { return 30; }
};

TEST(ColumnFit, AGraphicAddsItsWidthWhileGraphicsAreOn) {
  TFitGrid grid(1, 2);
  grid.SetCells(0, 0, "abcd");  // 20 pixels
  grid.SetCells(0, 1, "ab");    // 10 pixels
  grid.SetCellGraphic(0, 1, std::make_unique<TWideGraphic>());
  grid.FitColumnToText(0);
  EXPECT_EQ(grid.ColWidths(0), 20 + 4);
  grid.SetEnableGraphics(true);
  grid.FitColumnToText(0);
  EXPECT_EQ(grid.ColWidths(0), 10 + 30 + 4);
}

TEST(ColumnFit, FittingLeavesTheCanvasFontAsItWas) {
  TFitGrid grid(2, 3);
  grid.SetFixedRows(1);
  grid.SetCells(0, 1, "abc");
  const TFont before = grid.Canvas().Font();
  grid.FitColumnsToText(true, 2);
  EXPECT_EQ(grid.Canvas().Font(), before);
}

TEST(ColumnFit, AColumnOutsideTheGridIsRefused) {
  TFitGrid grid(2, 2);
  EXPECT_THROW(grid.FitColumnWidth(-1, false), ECellGridError);
  EXPECT_THROW(grid.FitColumnToText(2), ECellGridError);
}

// Texts that repeat, texts that differ only past their seventh byte, long
// ones, several lines, mark-up, rich text and links, in fonts that change
// from row to row: every kind of key the memo keeps.
void FillVaried(TCellGrid& grid, int rows) {
  const std::vector<std::string> texts = {
      "", "a", "Tue", "4 ", "2003", "abcdefg", "abcdefgh", "abcdefgX", "\xe9t\xe9", "\xc3\xa9t\xc3\xa9",
      std::string("a\0b", 3), std::string(70, '.'), std::string(65, 'i'), "x\r\nyyyy", "<B>bo</B>ld",
      "{\\rtf1 plain\\par second line}", "http://example.com/page", "=<I>formula</I>", "WWWWWWWWWWWWWWWW", "iiii",
  };
  grid.SetRowCount(rows);
  for (int row = 0; row < rows; ++row)
    for (int col = 0; col < grid.ColCount(); ++col)
      grid.SetCells(col, row, texts[static_cast<std::size_t>(row * 7 + col * 3) % texts.size()]);
}

void ChangeFontsNowAndThen(TCellGrid& grid) {
  grid.OnGetCellColor = [](TObject*, int ARow, int ACol, TGridDrawState, TBrush&, TFont& AFont) {
    if ((ARow + ACol) % 5 == 0) AFont.Height -= 4;
    if (ARow % 7 == 3) AFont.Style.insert(fsBold);
    if (ARow % 11 == 4) AFont.Color = clRed;  // colour alone leaves the metrics
  };
}

TEST(ColumnFit, RememberedExtentsGiveTheWidthsOfMeasuringEveryCell) {
  for (bool multiline : {false, true}) {
    TFitGrid grid(4, 60);
    grid.SetFixedRows(1);
    grid.SetFixedCols(1);
    grid.SetMultilinecells(multiline);
    grid.SetURLShow(true);
    FillVaried(grid, 60);
    ChangeFontsNowAndThen(grid);
    grid.SetFontSizeOffset(1);
    for (int col = 0; col < grid.ColCount(); ++col) {
      const int expected = WidestByMeasuringEveryCell(grid, col);
      grid.FitColumnToText(col);
      EXPECT_EQ(grid.ColWidths(col), expected) << "column " << col << ", multi-line " << multiline;
    }
  }
}

// The same with the fonts of the machine, whose widths depend on every
// character and its neighbours.
TEST(ColumnFit, RememberedExtentsAgreeWithRealFontMetrics) {
  TCellGrid grid;
  ApplyMainWindowColumn(grid);
  grid.SetColCount(5);
  grid.SetFixedRows(0);
  FillVaried(grid, 80);
  ChangeFontsNowAndThen(grid);
  for (int col = 0; col < grid.ColCount(); ++col) {
    const int expected = WidestByMeasuringEveryCell(grid, col);
    grid.FitColumnToText(col);
    EXPECT_EQ(grid.ColWidths(col), expected) << "column " << col;
    EXPECT_GT(expected, 4);
  }
}

// A text met again in a font of other metrics is measured again: each of
// the font's name, height and style changes the width of "WWWW". The cell in
// the other font comes second when that font is wider and first when it is
// narrower, so that an answer remembered for the wrong font shows.
TEST(ColumnFit, ATextMetAgainInAnotherFontIsMeasuredAgain) {
  const std::vector<std::function<void(TFont&)>> changes = {
      [](TFont& f) { f.Style.insert(fsBold); },
      [](TFont& f) { f.Height -= 5; },
      [](TFont& f) { f.Name = "Courier New"; },
  };
  for (std::size_t i = 0; i < changes.size(); ++i) {
    TCellGrid grid;
    ApplyMainWindowColumn(grid);
    grid.SetRowCount(3);
    for (int row = 0; row < 3; ++row) grid.SetCells(0, row, "WWWW");
    TFont font = grid.Font();
    grid.Canvas().SetFont(font);
    const int plainWidth = grid.Canvas().TextWidth("WWWW");
    changes[i](font);
    grid.Canvas().SetFont(font);
    const int changedWidth = grid.Canvas().TextWidth("WWWW");
    ASSERT_NE(plainWidth, changedWidth) << "change " << i << " must change the width";
    const int changedRow = changedWidth > plainWidth ? 1 : 0;
    grid.OnGetCellColor = [&](TObject*, int ARow, int, TGridDrawState, TBrush&, TFont& AFont) {
      if (ARow == changedRow) changes[i](AFont);
    };
    grid.FitColumnToText(0);
    EXPECT_EQ(grid.ColWidths(0), std::max(plainWidth, changedWidth) + 4) << "change " << i;
  }
}

TEST(ColumnFit, CellTextExtentMeasuresTheStoredCellInTheCanvasFont) {
  TFitGrid grid(3, 3);
  grid.SetCells(2, 1, "abcd\r\nef");
  grid.Canvas().SetFont(FontOf("Any", -8, clBlack));  // 4 pixels a byte, 10 high
  EXPECT_EQ(grid.CellTextExtent(2, 1), (TSize{16, 10}));
  grid.SetMultilinecells(true);
  EXPECT_EQ(grid.CellTextExtent(2, 1), (TSize{16, 20}));
  EXPECT_EQ(grid.CellTextExtent(40, 40), (TSize{0, 10}));
}

}  // namespace
}  // namespace kelvora
