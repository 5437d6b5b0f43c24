// Bad input met while painting, as a program or a user brings it: handlers
// that throw or ask for absurd fonts and pens, pictures of any size and
// place, huge passwords. Nothing crashes or hangs, nothing is drawn outside
// the cell concerned, and an error is shown once.
#include <QImage>

#include <climits>
#include <functional>
#include <stdexcept>

#include "cell_grid_test_support.h"
#include "toolkit/message_box.h"
#include "toolkit/qt_canvas.h"

namespace kelvora {
namespace {

using grid_test::LayOut;
using grid_test::TTestCellGrid;

constexpr TRect kWhole{0, 0, 400, 300};
constexpr TRect kCell22{130, 44, 194, 65};  // cell (2, 2) of the default grid

// A grid whose cells name themselves.
void Fill(TCellGrid& grid) {
  for (int row = 0; row < grid.RowCount(); ++row)
    for (int col = 0; col < grid.ColCount(); ++col)
      grid.SetCells(col, row, "W" + std::to_string(col) + std::to_string(row) + "WWWWWWWWWWWW");
}

QImage Render(TCellGrid& grid) {
  QImage image(kWhole.Right, kWhole.Bottom, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::magenta);
  TQtCanvas canvas(image);
  grid.PaintTo(canvas, kWhole);
  return image;
}

// The first pixel outside `cell` where the two images differ, as "x,y";
// empty when they agree there.
std::string DifferenceOutside(const QImage& a, const QImage& b, const TRect& cell) {
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (!cell.Contains({x, y}) && a.pixel(x, y) != b.pixel(x, y)) return std::to_string(x) + "," + std::to_string(y);
  return "";
}

std::vector<std::string> Texts(const TRecordingCanvas& canvas) {
  std::vector<std::string> texts = grid_test::DrawnTexts(canvas);
  texts.erase(std::remove(texts.begin(), texts.end(), std::string()), texts.end());
  return texts;
}

bool IsCell22(int row, int col) { return row == 2 && col == 2; }

struct TBadCell {
  const char* name;
  std::function<void(TCellGrid&)> arrange;
  TRect cell;  // where it may draw
};

TBitmap Solid(int width, int height, Qt::GlobalColor color) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(color);
  return TBitmap(image);
}

TEST(CellGridPaintFailure, BadInputDrawsNothingOutsideItsCell) {
  const std::vector<TBadCell> cases = {
      {"font of size 10000",
       [](TCellGrid& g) {
         g.OnGetCellColor = [](TObject*, int row, int col, TGridDrawState, TBrush&, TFont& font) {
           if (IsCell22(row, col)) font.SetSize(10'000);
         };
       },
       kCell22},
      {"font of size 0",
       [](TCellGrid& g) {
         g.OnGetCellColor = [](TObject*, int row, int col, TGridDrawState, TBrush&, TFont& font) {
           if (IsCell22(row, col)) font.SetSize(0);
         };
       },
       kCell22},
      {"border pen of width INT_MAX",
       [](TCellGrid& g) {
         g.OnGetCellBorder = [](TObject*, int row, int col, TPen& pen, TCellBorders& borders) {
           if (!IsCell22(row, col)) return;
           pen = {clRed, INT_MAX, psSolid};
           borders = {cbLeft, cbTop, cbRight, cbBottom};
         };
       },
       kCell22},
      {"password of 10 MB",
       [](TCellGrid& g) {
         g.SetCells(2, 2, std::string(10'000'000, 'p'));
         g.OnIsPasswordCell = [](TObject*, int row, int col, bool& password) { password = IsCell22(row, col); };
       },
       kCell22},
      {"row indicator larger than its cell",
       [](TCellGrid& g) { g.SetRowIndicator(Solid(300, 300, Qt::red)); },
       {0, 22, 64, 43}},  // column 0 of the current row, 1
  };
  for (const TBadCell& c : cases) {
    TCellGrid reference;
    LayOut(reference);
    Fill(reference);
    TCellGrid grid;
    LayOut(grid);
    Fill(grid);
    c.arrange(grid);
    if (c.name == std::string("password of 10 MB")) reference.SetCells(2, 2, std::string(10'000'000, 'p'));
    EXPECT_EQ(DifferenceOutside(Render(reference), Render(grid), c.cell), "") << c.name;
  }
}

TEST(CellGridPaintFailure, PicturesOfAnySizeOrPlacePaint) {
  TCellGrid grid;
  LayOut(grid);
  grid.BackGround().Bitmap = Solid(1, 1, Qt::green);
  QImage image = Render(grid);
  EXPECT_EQ(QColor(image.pixel(160, 50)), QColor(Qt::green));  // cell (2, 2)
  EXPECT_EQ(QColor(image.pixel(30, 30)), ToQColor(clBtnFace));   // a fixed cell
  grid.BackGround().Display = bdFixed;
  for (const TPoint at : {TPoint{INT_MIN, INT_MIN}, TPoint{INT_MAX, INT_MAX}, TPoint{-5, 10}}) {
    grid.BackGround().Left = at.X;
    grid.BackGround().Top = at.Y;
    image = Render(grid);
    EXPECT_EQ(QColor(image.pixel(160, 50)), ToQColor(clWindow)) << at.X;
  }
  grid.BackGround().Bitmap = Solid(3000, 3000, Qt::blue);
  grid.BackGround().Left = -1000;
  grid.BackGround().Top = -1000;
  image = Render(grid);
  EXPECT_EQ(QColor(image.pixel(160, 50)), QColor(Qt::blue));
  EXPECT_EQ(QColor(image.pixel(30, 30)), ToQColor(clBtnFace));
}

class CellGridPaintErrors : public ::testing::Test {
 protected:
  CellGridPaintErrors() {
    LayOut(grid);
    grid.SetColCount(3);
    grid.SetRowCount(3);
    Fill(grid);
  }
  void PaintAll() {
    canvas.Clear();
    grid.PaintTo(canvas, kWhole);
  }
  // The error box opens once the painting is over.
  void LetTheBoxesOpen() { QCoreApplication::processEvents(); }

  std::vector<std::string> shown;
  TMessageSinkGuard sink{[this](const std::string&, const std::string& text) { shown.push_back(text); }};
  TTestCellGrid grid;
  TRecordingCanvas canvas;
};

TEST_F(CellGridPaintErrors, AThrowingHandlerSpoilsOnlyItsCellAndIsShownOnce) {
  bool failing = true;
  grid.OnGetCellColor = [&](TObject*, int row, int col, TGridDrawState, TBrush&, TFont&) {
    if (failing && IsCell22(row, col)) throw std::runtime_error("No colour for this cell");
  };
  PaintAll();
  PaintAll();
  LetTheBoxesOpen();
  EXPECT_EQ(shown, (std::vector<std::string>{"No colour for this cell."}));
  const std::vector<std::string> texts = Texts(canvas);
  EXPECT_EQ(texts.size(), 8u);
  EXPECT_EQ(std::find(texts.begin(), texts.end(), "W22WWWWWWWWWWWW"), texts.end());
  // The cell is left empty in the grid's colour.
  EXPECT_NE(std::find(canvas.Calls().begin(), canvas.Calls().end(), "FillRect 130,44,194,65 brush=clWindow"),
            canvas.Calls().end());

  failing = false;
  PaintAll();
  LetTheBoxesOpen();
  EXPECT_EQ(Texts(canvas).size(), 9u);
  EXPECT_EQ(shown.size(), 1u);
}

TEST_F(CellGridPaintErrors, ADifferentErrorIsShownToo) {
  int calls = 0;
  grid.OnDrawCell = [&](TObject*, int col, int row, TRect, TGridDrawState) {
    if (IsCell22(row, col)) throw Exception(++calls == 1 ? "First" : "Second");
  };
  PaintAll();
  PaintAll();
  PaintAll();
  LetTheBoxesOpen();
  EXPECT_EQ(shown, (std::vector<std::string>{"First.", "Second."}));
}

// The cells ask the handler about cells (1, 1) and (2, 1) first; the
// grid's own lines ask again after them, and then it throws.
TEST_F(CellGridPaintErrors, AnErrorInTheGridsOwnLinesIsShownOnceAndTheCellsStay) {
  grid.SetFixedFooters(1);
  int calls = 0;
  grid.OnIsFixedCell = [&](TObject*, int, int, bool&) {
    if (++calls > 2) throw std::runtime_error("Which cells are fixed");
  };
  PaintAll();
  LetTheBoxesOpen();
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(Texts(canvas).size(), 9u);
  EXPECT_EQ(shown, (std::vector<std::string>{"Which cells are fixed."}));
  EXPECT_EQ(canvas.Pen(), TPen{});
}

// Through the real paint event of a shown grid: the box is asked for once,
// however often the grid repaints, and the grid paints on.
TEST_F(CellGridPaintErrors, TheRealPaintEventShowsTheErrorOnce) {
  bool failing = true;
  grid.OnGetCellColor = [&](TObject*, int row, int col, TGridDrawState, TBrush&, TFont&) {
    if (failing && IsCell22(row, col)) throw Exception("Painting failed");
  };
  grid.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !shown.empty(); }, grid_test::kPatience));
  for (int i = 0; i < 3; ++i) grid.viewport()->repaint();
  LetTheBoxesOpen();
  EXPECT_EQ(shown, (std::vector<std::string>{"Painting failed."}));
  failing = false;
  const int paints = grid.Paints;
  grid.viewport()->repaint();
  EXPECT_GT(grid.Paints, paints);
  EXPECT_EQ(shown.size(), 1u);
}

}  // namespace
}  // namespace kelvora
