// The window on a screen scaled to 200 % (QT_SCALE_FACTOR=2): what the grid
// shows is drawn at twice the pixels, its lines on whole device pixels, and
// the columns fitted to the dates hold their text exactly as painted. CTest
// runs these in a process of their own at that scale; at any other scale
// they skip.

#include <QImage>
#include <QPixmap>

#include "form1_fixture.h"

namespace kelvora::testing {
namespace {

class Form1AtScaleTwo : public Form1Test {
 protected:
  void SetUp() override {
    if (Form().devicePixelRatio() != 2) GTEST_SKIP() << "needs QT_SCALE_FACTOR=2";
    ClickOpen(SamplePath());
    ClickGetData();
    SettleEvents();
    shot_ = Grid().viewport()->grab().toImage();
    ASSERT_EQ(shot_.devicePixelRatio(), 2.0);
    ASSERT_EQ(shot_.size(), Grid().viewport()->size() * 2);
  }

  // The device pixels of a logical rectangle of the viewport that are not
  // the cell's white.
  QRect InkIn(const TRect& r) const {
    QRect box;
    const QRgb white = QColor(Qt::white).rgb();
    for (int y = 2 * r.Top; y < 2 * r.Bottom; ++y)
      for (int x = 2 * r.Left; x < 2 * r.Right; ++x)
        if (shot_.pixel(x, y) != white) box |= QRect(x, y, 1, 1);
    return box;
  }

  QImage shot_;
};

TEST_F(Form1AtScaleTwo, GridLinesAreTwoDevicePixelsOnTheCellBorders) {
  const TRect first = Grid().CellRect(0, 0);
  const TRect below = Grid().CellRect(0, 1);
  ASSERT_FALSE(first.IsEmpty());
  const QRgb line = shot_.pixel(2 * first.Right, 2 * first.Top + 4);
  EXPECT_NE(line, QColor(Qt::white).rgb());
  for (int y = 2 * first.Top; y < 2 * first.Bottom; ++y) {
    EXPECT_EQ(shot_.pixel(2 * first.Right, y), line) << y;
    EXPECT_EQ(shot_.pixel(2 * first.Right + 1, y), line) << y;
  }
  // The horizontal line between rows 0 and 1, of the same two device pixels.
  EXPECT_EQ(below.Top, first.Bottom + 1);
  for (int x = 2 * first.Left + 4; x < 2 * first.Right; ++x) {
    EXPECT_EQ(shot_.pixel(x, 2 * first.Bottom), line) << x;
    EXPECT_EQ(shot_.pixel(x, 2 * first.Bottom + 1), line) << x;
  }
}

TEST_F(Form1AtScaleTwo, FittedColumnsHoldTheirTextAsPainted) {
  for (int col = 0; col < Grid().VisibleColCount() && col < 3; ++col) {
    const TRect cell = Grid().CellRect(col, 0);
    ASSERT_FALSE(cell.IsEmpty());
    const QRect ink = InkIn({cell.Left + 1, cell.Top + 1, cell.Right, cell.Bottom});
    ASSERT_FALSE(ink.isEmpty()) << "column " << col;
    // The text starts two pixels in; the widest one ends a few pixels short
    // of the column's edge. Measured in device pixels it would fill half
    // the column, or overflow it measured at ratio 1 and painted larger.
    EXPECT_NEAR(ink.left() / 2.0, cell.Left + 2, 1.5) << "column " << col;
    EXPECT_LE((ink.right() + 1) / 2.0, cell.Right) << "column " << col;
  }
  // The widest text of a column is at least as wide as the room fitting
  // gave it, less the margins: one of the rows ends near the edge.
  const TRect weekday = Grid().CellRect(0, 0);
  int widest = 0;
  for (int row = 0; row < Grid().RowCount() && !Grid().CellRect(0, row).IsEmpty(); ++row) {
    const TRect cell = Grid().CellRect(0, row);
    const QRect ink = InkIn({cell.Left + 1, cell.Top + 1, cell.Right, cell.Bottom});
    if (!ink.isEmpty()) widest = std::max(widest, ink.right() + 1);
  }
  EXPECT_GE(widest / 2.0, weekday.Right - 8) << "the column is much wider than the text drawn in it";
}

}  // namespace
}  // namespace kelvora::testing
