// The grid base painted at a device pixel ratio of 2, as on a screen scaled
// to 200 %: every line, fill and dot of the focus rectangle lands on whole
// device pixels, twice as thick, where the picture at ratio 1 puts it; the
// text is drawn at the finer resolution, not enlarged, at the same place.

#include <QImage>

#include <algorithm>

#include "custom_grid_test_grid.h"

namespace kelvora::testing {
namespace {

// A grid that writes the cell's name in each cell, two pixels in.
class TTextGrid : public TTestGrid {
 protected:
  void DrawCell(int col, int row, const TRect& r, TGridDrawState state) override {
    TTestGrid::DrawCell(col, row, r, state);
    Canvas().TextOut(r.Left + 2, r.Top + 2, "W" + std::to_string(col) + "g" + std::to_string(row));
  }
};

QImage Render(QWidget& widget, int ratio) {
  QImage image(widget.size() * ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::magenta);
  widget.render(&image);
  return image;
}

// The logical pixels covered by some ink of the cell texts: wherever the
// two pictures may differ.
struct TTextAreas {
  std::vector<QRect> Boxes;
  bool Contains(int x, int y) const {
    return std::any_of(Boxes.begin(), Boxes.end(), [&](const QRect& box) { return box.contains(x, y); });
  }
};

// The box that holds every pixel inside `area` (pixels of `image`) that is
// not the background, or an empty box.
QRect InkBox(const QImage& image, const QRect& area, QRgb background) {
  QRect box;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.pixel(x, y) != background) box |= QRect(x, y, 1, 1);
  return box;
}

class GridAtScaleTwo : public ::testing::Test {
 protected:
  GridAtScaleTwo() {
    grid_.SetColCount(4);
    grid_.SetRowCount(4);
    grid_.SetColor(clWhite);
    grid_.SetFixedColor(clWhite);
    grid_.SetFlat(true);
    testing::LayOut(grid_, 4 * 65, 4 * 25);
    grid_.ShowFocused(4 * 65, 4 * 25);
  }

  // Inside each cell, the room its text may take: all but its outermost
  // pixels, where the focus rectangle runs.
  TTextAreas TextAreas() const {
    TTextAreas areas;
    for (int row = 0; row < 4; ++row)
      for (int col = 0; col < 4; ++col) {
        const TRect r = grid_.CellRect(col, row);
        areas.Boxes.emplace_back(r.Left + 1, r.Top + 1, r.Width() - 2, r.Height() - 2);
      }
    return areas;
  }

  TTextGrid grid_;
};

TEST_F(GridAtScaleTwo, LinesFillsAndTheFocusRectangleLandOnWholeDevicePixels) {
  const QImage once = Render(grid_, 1);
  const QImage twice = Render(grid_, 2);
  ASSERT_EQ(twice.size(), once.size() * 2);
  const TTextAreas text = TextAreas();
  int compared = 0;
  for (int y = 0; y < once.height(); ++y)
    for (int x = 0; x < once.width(); ++x) {
      if (text.Contains(x, y)) continue;
      const QRgb expected = once.pixel(x, y);
      for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx)
          ASSERT_EQ(twice.pixel(2 * x + dx, 2 * y + dy), expected)
              << "logical pixel " << x << "," << y << " device " << 2 * x + dx << "," << 2 * y + dy;
      ++compared;
    }
  EXPECT_GT(compared, 1000);
}

TEST_F(GridAtScaleTwo, TextIsDrawnAtTheFinerResolutionInThePlaceItHasAtRatioOne) {
  const QImage once = Render(grid_, 1);
  const QImage twice = Render(grid_, 2);
  const QRgb white = QColor(Qt::white).rgb();
  const TRect cell = grid_.CellRect(2, 2);
  const QRect area(cell.Left + 1, cell.Top + 1, cell.Width() - 2, cell.Height() - 2);
  const QRect inkOnce = InkBox(once, area, white);
  const QRect inkTwice = InkBox(twice, QRect(area.topLeft() * 2, area.size() * 2), white);
  ASSERT_FALSE(inkOnce.isEmpty());
  ASSERT_FALSE(inkTwice.isEmpty());
  // The same text at the same place: its ink starts and ends within a
  // logical pixel of where it does at ratio 1.
  EXPECT_NEAR(inkTwice.left() / 2.0, inkOnce.left(), 1.0);
  EXPECT_NEAR(inkTwice.top() / 2.0, inkOnce.top(), 1.0);
  EXPECT_NEAR((inkTwice.right() + 1) / 2.0, inkOnce.right() + 1, 1.0);
  EXPECT_NEAR((inkTwice.bottom() + 1) / 2.0, inkOnce.bottom() + 1, 1.0);
  // An enlarged picture would repeat each pixel in a 2 x 2 block; glyphs
  // drawn at the device's resolution have edges inside such blocks.
  int finerBlocks = 0;
  for (int y = inkTwice.top() & ~1; y < inkTwice.bottom(); y += 2)
    for (int x = inkTwice.left() & ~1; x < inkTwice.right(); x += 2) {
      const QRgb a = twice.pixel(x, y);
      if (twice.pixel(x + 1, y) != a || twice.pixel(x, y + 1) != a || twice.pixel(x + 1, y + 1) != a) ++finerBlocks;
    }
  EXPECT_GT(finerBlocks, 10);
}

}  // namespace
}  // namespace kelvora::testing
