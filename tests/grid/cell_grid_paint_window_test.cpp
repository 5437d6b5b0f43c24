// The grid as the main window sets it up, shown in a real window beside
// another control, its colours read back from an image of the widget.
#include <QImage>
#include <QLineEdit>
#include <QVBoxLayout>

#include "cell_grid_test_support.h"

namespace kelvora {
namespace {

using grid_test::kPatience;

// What a cell of the image holds: its background (the commonest colour) and
// its ink (the colour farthest from the background), and how far the ink
// reaches to the right.
struct TCellLook {
  QColor background;
  QColor ink;
  int inkRight = -1;
  int inkPixels = 0;
};

int Distance(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

// The cell's inside, one pixel in from its edges, where the focus
// rectangle runs.
TCellLook LookOf(const QImage& image, const TRect& cell) {
  std::map<QRgb, int> counts;
  for (int y = cell.Top + 1; y < cell.Bottom - 1; ++y)
    for (int x = cell.Left + 1; x < cell.Right - 1; ++x) ++counts[image.pixel(x, y)];
  QRgb background = 0;
  int most = -1;
  for (const auto& [colour, count] : counts)
    if (count > most) background = colour, most = count;
  TCellLook look{QColor(background), QColor(background)};
  int farthest = 0;
  for (int y = cell.Top + 1; y < cell.Bottom - 1; ++y) {
    for (int x = cell.Left + 1; x < cell.Right - 1; ++x) {
      const QRgb pixel = image.pixel(x, y);
      const int distance = Distance(pixel, background);
      if (distance == 0) continue;
      ++look.inkPixels;
      look.inkRight = std::max(look.inkRight, x);
      if (distance > farthest) farthest = distance, look.ink = QColor(pixel);
    }
  }
  return look;
}

class CellGridWindow : public ::testing::Test {
 protected:
  CellGridWindow() {
    auto* layout = new QVBoxLayout(&window);
    grid = new TCellGrid(&window);
    grid_test::ApplyMainWindowColumn(*grid);
    layout->addWidget(grid);
    other = new QLineEdit(&window);
    layout->addWidget(other);
    grid->SetColCount(7);
    grid->SetRowCount(6);
    for (int row = 0; row < 6; ++row)
      for (int col = 0; col < 7; ++col) grid->SetCells(col, row, "Wed" + std::to_string(row));
    grid->SetCells(5, 4, "<B>Mark</B>");
    grid->SetCells(6, 4, "=<B>Mark</B>");  // a formula: drawn as written
    grid->SetSelection({1, 1, 3, 2});
    window.resize(900, 260);
    window.show();
    QApplication::setActiveWindow(&window);
    window.activateWindow();
    grid->setFocus();
  }

  QImage Image() const { return grid->viewport()->grab().toImage(); }

  // The main window's columns are 115 pixels wide and its rows 21 high,
  // with 1-pixel lines.
  static TRect Cell(int col, int row) { return {116 * col, 22 * row, 116 * col + 115, 22 * row + 21}; }

  QWidget window;
  TCellGrid* grid;
  QLineEdit* other;
};

TEST_F(CellGridWindow, ShowsTheSelectionTheCurrentCellAndPlainCells) {
  ASSERT_TRUE(QTest::qWaitFor([&] { return grid->hasFocus(); }, kPatience));
  const QImage image = Image();
  const QColor white(Qt::white), navy = ToQColor(clNavy);

  const TCellLook plain = LookOf(image, Cell(5, 0));
  EXPECT_EQ(plain.background, white);
  EXPECT_EQ(plain.ink, navy);

  for (const TGridCoord cell : {TGridCoord{2, 1}, TGridCoord{3, 1}, TGridCoord{1, 2}, TGridCoord{3, 2}}) {
    const TCellLook selected = LookOf(image, Cell(cell.X, cell.Y));
    EXPECT_EQ(selected.background, ToQColor(clHighlight)) << cell.X << "," << cell.Y;
    EXPECT_EQ(selected.ink, ToQColor(clHighlightText)) << cell.X << "," << cell.Y;
  }

  const TRect currentRect = Cell(1, 1);
  const TCellLook current = LookOf(image, currentRect);
  EXPECT_EQ(current.background, white);
  EXPECT_EQ(current.ink, navy);
  // The base's dotted focus rectangle runs along the cell's edge.
  int dots = 0;
  for (int x = currentRect.Left; x < currentRect.Right; ++x) dots += QColor(image.pixel(x, currentRect.Top)) != white;
  EXPECT_GT(dots, 40);
  const TCellLook outside = LookOf(image, Cell(4, 1));
  int edge = 0;
  for (int x = Cell(4, 1).Left; x < Cell(4, 1).Right; ++x) edge += QColor(image.pixel(x, Cell(4, 1).Top)) != white;
  EXPECT_EQ(edge, 0);
  EXPECT_EQ(outside.background, white);
}

// The grid draws the focus rectangle first, exclusive-or, so that the base's
// own cancels it out.
TEST_F(CellGridWindow, HideFocusRectTakesTheFocusRectangleAway) {
  grid->SetHideFocusRect(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return grid->hasFocus(); }, kPatience));
  const QImage image = Image();
  const TRect current = Cell(1, 1);
  for (int x = current.Left; x < current.Right; ++x)
    ASSERT_EQ(QColor(image.pixel(x, current.Top)), QColor(Qt::white)) << x;
  EXPECT_EQ(LookOf(image, current).ink, ToQColor(clNavy));
}

TEST_F(CellGridWindow, TheSelectionKeepsItsColoursWhileAnotherControlHasTheFocus) {
  other->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return other->hasFocus(); }, kPatience));
  const QImage image = Image();
  for (const TGridCoord cell : {TGridCoord{2, 1}, TGridCoord{3, 2}}) {
    const TCellLook selected = LookOf(image, Cell(cell.X, cell.Y));
    EXPECT_EQ(selected.background, ToQColor(clHighlight)) << cell.X << "," << cell.Y;
    EXPECT_EQ(selected.ink, ToQColor(clHighlightText)) << cell.X << "," << cell.Y;
  }
  EXPECT_EQ(LookOf(image, Cell(5, 0)).background, QColor(Qt::white));
}

// The renderer decides how mark-up looks; the window must at least not show
// its tags, which the formula beside it shows.
TEST_F(CellGridWindow, MarkupCellsShowTheirTextWithoutTags) {
  ASSERT_TRUE(QTest::qWaitFor([&] { return grid->hasFocus(); }, kPatience));
  const QImage image = Image();
  const TCellLook markup = LookOf(image, Cell(5, 4));
  const TCellLook written = LookOf(image, Cell(6, 4));
  EXPECT_GT(markup.inkPixels, 0);
  EXPECT_EQ(markup.ink, ToQColor(clNavy));
  const int markupWidth = markup.inkRight - Cell(5, 4).Left;
  const int writtenWidth = written.inkRight - Cell(6, 4).Left;
  EXPECT_LT(markupWidth * 2, writtenWidth);
}

}  // namespace
}  // namespace kelvora
