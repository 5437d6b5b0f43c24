#include <QImage>
#include <QScrollBar>

#include "cell_grid_test_support.h"

namespace kelvora::grid_test {
namespace {

TEST(CellGridForm, TheGridGrowsAndShrinksWithAResizableForm) {
  QWidget form;
  form.resize(400, 300);
  auto* grid = new TCellGrid(&form);
  grid->setGeometry(10, 10, 200, 100);
  grid->SetSizeWithForm(true);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form, kPatience));
  form.resize(450, 330);
  EXPECT_TRUE(QTest::qWaitFor([&] { return grid->size() == QSize(250, 130); }, kPatience)) << grid->width();
  form.resize(300, 250);
  EXPECT_TRUE(QTest::qWaitFor([&] { return grid->size() == QSize(100, 50); }, kPatience)) << grid->width();
  grid->SetSizeWithForm(false);
  form.resize(500, 400);
  ASSERT_TRUE(QTest::qWaitFor([&] { return form.size() == QSize(500, 400); }, kPatience));
  EXPECT_EQ(grid->size(), QSize(100, 50));
}

QImage Picture(QWidget* widget) {
  QImage image(widget->size(), QImage::Format_ARGB32);
  widget->render(&image);
  return image;
}

TEST(CellGridForm, TheScrollBarsTakeTheirWidthColourAndFlatness) {
  TCellGrid grid;
  grid.SetRowCount(500);
  grid.resize(300, 200);
  grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  grid.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid, kPatience));
  QScrollBar* bar = grid.verticalScrollBar();
  grid.SetScrollWidth(31);
  EXPECT_TRUE(QTest::qWaitFor([&] { return bar->width() == 31; }, kPatience)) << bar->width();
  grid.SetScrollColor(clRed);
  EXPECT_EQ(bar->palette().color(QPalette::Button), ToQColor(clRed));
  const QImage raised = Picture(bar);
  grid.SetScrollType(ssFlat);
  EXPECT_NE(Picture(bar), raised);
  grid.SetScrollType(ssNormal);
  EXPECT_EQ(Picture(bar), raised);
}

}  // namespace
}  // namespace kelvora::grid_test
