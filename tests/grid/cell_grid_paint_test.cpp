// The grid's side of painting: its colour hook, extra fixed cells, the
// alignment of numbers, its own lines, and its painting settings.
#include <QEventLoop>

#include <algorithm>
#include <climits>

#include "cell_grid_test_support.h"

namespace kelvora {
namespace {

using grid_test::LayOut;
using grid_test::TTestCellGrid;

// The default grid: 5 x 5 cells of 64 x 21 pixels with 1-pixel lines, one
// fixed row and column, so column c starts at 65c and row r at 22r.
TRect CellAt(int col, int row) { return {65 * col, 22 * row, 65 * col + 64, 22 * row + 21}; }

std::string Box(const TRect& r) {
  return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
         std::to_string(r.Bottom);
}

// The texts drawn that are not empty, in drawing order.
std::vector<std::string> Texts(const TRecordingCanvas& canvas) {
  std::vector<std::string> texts = grid_test::DrawnTexts(canvas);
  texts.erase(std::remove(texts.begin(), texts.end(), std::string()), texts.end());
  return texts;
}

// The brush a cell was filled with: its last fill of the whole cell.
std::string FillOf(const TRecordingCanvas& canvas, int col, int row) {
  const std::string prefix = "FillRect " + Box(CellAt(col, row)) + " brush=";
  const std::vector<std::string> fills = testing::CallsStartingWith(canvas, prefix);
  return fills.empty() ? "none" : fills.back().substr(prefix.size());
}

class CellGridPaint : public ::testing::Test {
 protected:
  CellGridPaint() {
    LayOut(grid);
    grid.SetColor(clWhite);
  }
  void PaintAll() {
    canvas.Clear();
    grid.PaintTo(canvas, {0, 0, 400, 300});
  }
  std::vector<std::string> Calls(const std::string& prefix) const { return testing::CallsStartingWith(canvas, prefix); }

  TTestCellGrid grid;
  TRecordingCanvas canvas;
};

TEST_F(CellGridPaint, BandsColourDataRowsFromTheFirstOne) {
  grid.Bands().SetActive(true);
  grid.Bands().SetPrimaryColor(clYellow);
  grid.Bands().SetPrimaryLength(2);
  grid.Bands().SetSecondaryColor(clAqua);
  grid.Bands().SetSecondaryLength(1);
  grid.SetSelection({2, 4, 2, 4});
  PaintAll();
  EXPECT_EQ(FillOf(canvas, 1, 1), "clYellow");
  EXPECT_EQ(FillOf(canvas, 1, 2), "clYellow");
  EXPECT_EQ(FillOf(canvas, 1, 3), "clAqua");
  EXPECT_EQ(FillOf(canvas, 1, 4), "clYellow");
  EXPECT_EQ(FillOf(canvas, 0, 1), "clBtnFace");  // fixed cells have none
  EXPECT_EQ(FillOf(canvas, 1, 0), "clBtnFace");
  EXPECT_EQ(FillOf(canvas, 2, 4), "clHighlight");  // the selection wins
}

TEST_F(CellGridPaint, FootersAndRightFixedColumnsHaveNoBands) {
  grid.Bands().SetActive(true);
  grid.SetFixedFooters(1);
  grid.SetFixedRightCols(1);
  PaintAll();
  EXPECT_EQ(FillOf(canvas, 1, 3), "clInfoBk");
  EXPECT_EQ(FillOf(canvas, 1, 4), "clBtnFace");
  EXPECT_EQ(FillOf(canvas, 4, 2), "clBtnFace");
}

TEST_F(CellGridPaint, BandsOfNoLengthAreSkippedAndHugeOnesHold) {
  grid.Bands().SetActive(true);
  grid.Bands().SetPrimaryLength(0);
  grid.Bands().SetSecondaryLength(0);
  PaintAll();
  EXPECT_EQ(FillOf(canvas, 1, 2), "clWhite");
  grid.Bands().SetPrimaryLength(-5);
  EXPECT_EQ(grid.Bands().PrimaryLength(), 0);
  grid.Bands().SetPrimaryLength(INT_MAX);
  grid.Bands().SetSecondaryLength(INT_MAX);
  grid.SetRowCount(INT_MAX);
  grid.SetTopRow(INT_MAX - 3);
  PaintAll();
  EXPECT_EQ(FillOf(canvas, 1, 2), "clInfoBk");
}

TEST_F(CellGridPaint, TheCellsOwnColourWinsOverTheBandAndTheHandlerOverBoth) {
  grid.Bands().SetActive(true);
  grid.SetCellColor(2, 2, clLime);
  grid.SetCellColor(3, 2, clLime);
  std::vector<std::string> asked;
  grid.OnGetCellColor = [&](TObject* sender, int row, int col, TGridDrawState, TBrush& brush, TFont& font) {
    EXPECT_EQ(sender, &grid);
    asked.push_back(std::to_string(row) + "," + std::to_string(col) + " " + ColorToString(brush.Color));
    if (col == 3 && row == 2) {
      brush.Color = clRed;
      font.Color = clYellow;
    }
  };
  PaintAll();
  EXPECT_EQ(FillOf(canvas, 2, 2), "clLime");
  EXPECT_EQ(FillOf(canvas, 3, 2), "clRed");
  // Row first, and after the band and the cell's colour.
  EXPECT_NE(std::find(asked.begin(), asked.end(), "2,3 clLime"), asked.end());
  EXPECT_NE(std::find(asked.begin(), asked.end(), "1,2 clInfoBk"), asked.end());
}

TEST_F(CellGridPaint, EventsAndTextFollowTheStoredColumn) {
  grid.SetColCount(4);
  for (int col = 0; col < 4; ++col) grid.SetCells(col, 1, "c" + std::to_string(col));
  grid.HideColumn(1);
  std::vector<int> drawnCols;
  grid.OnDrawCell = [&](TObject*, int col, int row, TRect, TGridDrawState) {
    if (row == 1) drawnCols.push_back(col);
  };
  PaintAll();
  EXPECT_EQ(drawnCols, (std::vector<int>{0, 2, 3}));
  EXPECT_EQ(Texts(canvas), (std::vector<std::string>{"c0", "c2", "c3"}));
}

TEST_F(CellGridPaint, ExtraFixedCellsAreFootersRightColumnsAndWhatTheHandlerSays) {
  grid.SetColCount(6);
  grid.HideColumn(5);  // still counts among the stored columns
  grid.SetFixedRightCols(2);
  grid.SetFixedFooters(1);
  EXPECT_TRUE(grid.IsExtraFixedCell(4, 1));
  EXPECT_FALSE(grid.IsExtraFixedCell(3, 1));
  EXPECT_TRUE(grid.IsExtraFixedCell(2, 4));
  EXPECT_FALSE(grid.IsExtraFixedCell(0, 4));  // fixed for the base already
  std::vector<std::string> asked;
  grid.OnIsFixedCell = [&](TObject*, int row, int col, bool& fixed) {
    asked.push_back(std::to_string(row) + "," + std::to_string(col) + (fixed ? " preset" : ""));
    fixed = col == 2;
  };
  EXPECT_TRUE(grid.IsExtraFixedCell(2, 1));
  EXPECT_FALSE(grid.IsExtraFixedCell(3, 1));
  EXPECT_EQ(asked, (std::vector<std::string>{"1,2", "1,3"}));
}

TEST_F(CellGridPaint, AFixedRowKeptOnInAOneRowGridIsExtraFixed) {
  grid.SetFixedRowAlways(true);
  grid.SetFixedRows(0);
  grid.SetFixedCols(0);
  grid.SetRowCount(1);
  bool preset = false;
  grid.OnIsFixedCell = [&](TObject*, int, int, bool& fixed) { preset = fixed; };
  EXPECT_TRUE(grid.IsExtraFixedCell(2, 0));
  EXPECT_TRUE(preset);
  grid.SetCells(2, 0, "head");
  PaintAll();
  EXPECT_EQ(FillOf(canvas, 2, 0).substr(0, 9), "clBtnFace");
  EXPECT_NE(std::find(canvas.Calls().begin(), canvas.Calls().end(), "DrawEdge 130,0,194,21 sides=Right|Bottom"),
            canvas.Calls().end());
}

TEST_F(CellGridPaint, NumbersAlignRightWithAutoNumAlign) {
  grid.SetCells(1, 1, "123");
  grid.SetCells(2, 1, "-1.5");
  grid.SetCells(3, 1, "12a");
  EXPECT_EQ(grid.CellAlignment(1, 1), taLeftJustify);
  grid.SetAutoNumAlign(true);
  EXPECT_EQ(grid.CellAlignment(1, 1), taRightJustify);
  EXPECT_EQ(grid.CellAlignment(2, 1), taRightJustify);
  EXPECT_EQ(grid.CellAlignment(3, 1), taLeftJustify);
  grid.OnGetAlignment = [](TObject*, int row, int col, TAlignment& alignment) {
    if (row == 1 && col == 3) alignment = taCenter;
  };
  EXPECT_EQ(grid.CellAlignment(3, 1), taCenter);
  EXPECT_THROW(grid.CellAlignment(-1, 0), ECellGridError);
  PaintAll();
  const std::vector<std::string> texts = Calls("DrawText \"123\"");
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find("Right"), std::string::npos);
}

TEST_F(CellGridPaint, PasswordCellsShowThePasswordCharacter) {
  grid.SetCells(1, 1, "secret");
  grid.OnIsPasswordCell = [](TObject*, int row, int col, bool& password) { password = row == 1 && col == 1; };
  PaintAll();
  EXPECT_EQ(Texts(canvas), (std::vector<std::string>{"******"}));
  grid.SetPasswordChar('x');
  PaintAll();
  EXPECT_EQ(Texts(canvas), (std::vector<std::string>{"xxxxxx"}));
}

// A graphic that draws a marker where it is asked to.
class TMarkGraphic : public TCellGraphic {
 public:
  explicit TMarkGraphic(bool fills) : fills_(fills) {}
  int Width() const override { return 10; }
  void Draw(TCanvas& canvas, const TRect& cell) override { canvas.DrawFocusRect({cell.Left, cell.Top, cell.Left + 3, cell.Top + 3}); }
  bool FillsCell() const override { return fills_; }

 private:
  bool fills_;
};

TEST_F(CellGridPaint, CellGraphicsDrawWhileGraphicsAreOn) {
  grid.SetCells(2, 2, "beside");
  grid.SetCells(3, 2, "under");
  grid.SetCellGraphic(2, 2, std::make_unique<TMarkGraphic>(false));
  grid.SetCellGraphic(3, 2, std::make_unique<TMarkGraphic>(true));
  PaintAll();
  EXPECT_TRUE(Calls("DrawFocusRect").empty());
  EXPECT_EQ(Texts(canvas), (std::vector<std::string>{"beside", "under"}));
  grid.SetEnableGraphics(true);
  PaintAll();
  EXPECT_EQ(Calls("DrawFocusRect"), (std::vector<std::string>{"DrawFocusRect 130,44,133,47", "DrawFocusRect 195,44,198,47"}));
  EXPECT_EQ(Texts(canvas), (std::vector<std::string>{"beside"}));
}

// A grid that works its formulas out.
class TFormulaGrid : public TCellGrid {
 protected:
  void CalcFormula(int ACol, int ARow, std::string& Text) override {
    if (Text == "=col*row") Text = std::to_string(ACol * ARow);
  }
};

TEST_F(CellGridPaint, FormulasShowWhatTheHookMakesOfThem) {
  TFormulaGrid formulas;
  LayOut(formulas);
  formulas.SetCells(3, 4, "=col*row");
  formulas.SetCells(2, 4, "=<B>as written</B>");
  formulas.PaintTo(canvas, {0, 0, 400, 300});
  EXPECT_EQ(Texts(canvas), (std::vector<std::string>{"=<B>as written</B>", "12"}));
}

// The base draws the lines of its own fixed cells; the grid draws black
// ones for the footers, whose rows span the grid.
TEST_F(CellGridPaint, FooterRowsGetLinesAcrossTheGrid) {
  grid.SetFixedFooters(1);  // row 4, from y = 88 to 109
  PaintAll();
  const std::vector<std::string> lines = Calls("LineTo");
  const auto has = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
  EXPECT_TRUE(has("LineTo 324,87 from=0,87 pen=clBlack/1"));
  EXPECT_TRUE(has("LineTo 324,109 from=0,109 pen=clBlack/1"));
  for (int col = 0; col < 5; ++col) {
    const int x = 65 * col + 64;
    EXPECT_TRUE(has("LineTo " + std::to_string(x) + ",109 from=" + std::to_string(x) + ",88 pen=clBlack/1")) << col;
  }
  EXPECT_EQ(canvas.Pen(), TPen{});
}

TEST_F(CellGridPaint, CellsTheHandlerFixesGetLinesAroundThem) {
  grid.OnIsFixedCell = [](TObject*, int row, int col, bool& fixed) { fixed = row == 2 && col == 2; };
  PaintAll();
  std::vector<std::string> lines = Calls("LineTo");
  EXPECT_EQ(lines, (std::vector<std::string>{"LineTo 194,65 from=130,65 pen=clBlack/1",
                                             "LineTo 194,65 from=194,44 pen=clBlack/1",
                                             "LineTo 129,65 from=129,44 pen=clBlack/1"}));
  grid.OnIsFixedCell = nullptr;
  PaintAll();
  EXPECT_TRUE(Calls("LineTo").empty());
}

TEST_F(CellGridPaint, ChangingABandSettingRepaintsWhileBandsShow) {
  int repaints = 0;
  TBands bands([&] { ++repaints; });
  bands.SetPrimaryColor(clRed);
  bands.SetSecondaryLength(3);
  EXPECT_EQ(repaints, 0);
  bands.SetActive(true);
  EXPECT_EQ(repaints, 1);
  bands.SetPrimaryColor(clRed);  // no change
  EXPECT_EQ(repaints, 1);
  bands.SetPrimaryColor(clBlue);
  bands.SetPrimaryLength(4);
  bands.SetSecondaryColor(clGreen);
  bands.SetSecondaryLength(2);
  EXPECT_EQ(repaints, 5);
  bands.SetActive(false);
  EXPECT_EQ(repaints, 6);

  grid.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return grid.Paints > 0; }, grid_test::kPatience));
  grid.Bands().SetActive(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return grid.Paints > 1; }, grid_test::kPatience));
  const int paints = grid.Paints;
  grid.Bands().SetSecondaryColor(clYellow);
  EXPECT_TRUE(QTest::qWaitFor([&] { return grid.Paints > paints; }, grid_test::kPatience));
}

TEST(CellGridPaintSettings, StartWithTheirDefaults) {
  TCellGrid grid;
  EXPECT_EQ(grid.PasswordChar(), '*');
  EXPECT_EQ(grid.FontSizeOffset(), 0);
  EXPECT_FALSE(grid.BlinkPhase());
  EXPECT_FALSE(grid.RightToLeftReading());
  EXPECT_EQ(grid.CellColor(3, 3), clNone);
  EXPECT_FALSE(grid.EnhTextSize());
  EXPECT_FALSE(grid.URLFull());
  EXPECT_FALSE(grid.AutoNumAlign());
  EXPECT_FALSE(grid.SelectionRectangle());
  EXPECT_FALSE(grid.Flat());
  EXPECT_FALSE(grid.SortShow());
  EXPECT_EQ(grid.SortColumn(), 0);
  EXPECT_TRUE(grid.RowIndicator().Empty());
  EXPECT_EQ(grid.GridImages(), nullptr);
  EXPECT_EQ(grid.BackGround().Top, 0);
  EXPECT_EQ(grid.BackGround().Left, 0);
  EXPECT_FALSE(grid.RowSelect(1));
}

TEST(CellGridPaintSettings, TheFontSizeOffsetStaysWithinTenPoints) {
  TCellGrid grid;
  grid.SetFontSizeOffset(25);
  EXPECT_EQ(grid.FontSizeOffset(), 10);
  grid.SetFontSizeOffset(INT_MIN);
  EXPECT_EQ(grid.FontSizeOffset(), -10);
}

TEST(CellGridPaintSettings, ReadingFollowsTheLayoutDirection) {
  TCellGrid grid;
  grid.setLayoutDirection(Qt::RightToLeft);
  EXPECT_TRUE(grid.RightToLeftReading());
  grid.setLayoutDirection(Qt::LeftToRight);
  EXPECT_FALSE(grid.RightToLeftReading());
}

TEST(CellGridPaintSettings, TheDisjointRowSelectionKeepsItsRows) {
  TCellGrid grid;
  grid.SetRowSelect(7, true);
  grid.SetRowSelect(2, true);
  grid.SetRowSelect(7, true);
  EXPECT_TRUE(grid.RowSelect(2));
  EXPECT_TRUE(grid.RowSelect(7));
  EXPECT_FALSE(grid.RowSelect(3));
  grid.SetRowSelect(7, false);
  EXPECT_FALSE(grid.RowSelect(7));
  grid.ClearRowSelect();
  EXPECT_FALSE(grid.RowSelect(2));
}

}  // namespace
}  // namespace kelvora
