#include <QHelpEvent>
#include <QToolTip>
#include <QWheelEvent>

#include <functional>

#include "cell_grid_test_support.h"
#include "toolkit/hint_window.h"

namespace kelvora::grid_test {
namespace {

const std::string kLong(200, 'x');

// The main window's grid, three columns of 115 pixels; the hint comes as
// the desktop sends it, as a tool-tip event once the mouse has rested.
class GridHint : public GridDriving {
 protected:
  void SetUp() override {
    ApplyMainWindowColumn(grid);
    grid.SetColCount(3);
    grid.SetRowCount(20);
    Show();
  }
  void TearDown() override {
    THintWindow::Hide();
    GridDriving::TearDown();
  }

 public:
  QPoint CellPoint(int col, int row) {
    const TRect r = grid.CellRect(col, row);
    return {r.Left + 5, r.Top + 5};
  }
  bool RestOn(int col, int row) {
    const QPoint at = CellPoint(col, row);
    QHelpEvent event(QEvent::ToolTip, at, grid.viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid.viewport(), &event);
    return THintWindow::Showing();
  }
};

TEST_F(GridHint, OnlyACutOffTextShowsWholeAndNoPasswordEver) {
  struct TCase {
    const char* name;
    std::string text;
    bool shown;
    std::string hint;
  };
  const TCase cases[] = {
      {"fits", "Mon", false, ""},
      {"too wide", kLong, true, kLong},
      {"lines after the first", "ab\ncd", true, "ab\ncd"},
      {"mark-up, shown as words", "<B>" + kLong + "</B>", true, kLong},
      {"mark-up that fits", "<B>ab</B>", false, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    grid.SetCells(1, 2, c.text);
    EXPECT_EQ(RestOn(1, 2), c.shown);
    EXPECT_EQ(THintWindow::Text(), c.hint);
    THintWindow::Hide();
  }
  grid.SetCells(1, 2, kLong);
  ASSERT_TRUE(RestOn(1, 2));
  EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipBase), ToQColor(clYellow));
  grid.OnIsPasswordCell = [](TObject*, int, int, bool& password) { password = true; };
  EXPECT_FALSE(RestOn(1, 2));
}

TEST_F(GridHint, AKeyAClickTheWheelScrollingAndLeavingHideIt) {
  struct TCase {
    const char* name;
    std::function<void(GridHint&)> cause;
  };
  const TCase cases[] = {
      {"key", [](GridHint& t) { t.Key(Qt::Key_Down); }},
      {"click", [](GridHint& t) { QTest::mouseClick(t.grid.viewport(), Qt::LeftButton, {}, t.CellPoint(0, 5)); }},
      {"wheel",
       [](GridHint& t) {
         QWheelEvent wheel(QPointF(20, 20), QPointF(20, 20), {}, {0, 30}, Qt::NoButton, Qt::NoModifier,
                           Qt::NoScrollPhase, false);
         QApplication::sendEvent(t.grid.viewport(), &wheel);
       }},
      {"scroll", [](GridHint& t) { t.grid.SetTopRow(1); }},
      {"leave",
       [](GridHint& t) {
         QEvent leave(QEvent::Leave);
         QApplication::sendEvent(&t.grid, &leave);
       }},
  };
  grid.SetCells(1, 2, kLong);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    grid.SetTopRow(0);
    ASSERT_TRUE(RestOn(1, 2));
    c.cause(*this);
    EXPECT_FALSE(THintWindow::Showing());
  }
}

TEST_F(GridHint, ItFollowsTheCellsText) {
  grid.SetCells(1, 2, kLong);
  ASSERT_TRUE(RestOn(1, 2));
  grid.SetCells(2, 2, "another column");
  EXPECT_EQ(THintWindow::Text(), kLong);
  grid.SetCells(1, 2, kLong + "y");
  EXPECT_EQ(THintWindow::Text(), kLong + "y");
  grid.SetCells(1, 2, "ab");
  EXPECT_FALSE(THintWindow::Showing());
}

TEST_F(GridHint, AHugeCellIsCutAndAHundredMillionRowsAreNoBurden) {
  grid.SetRowCount(100'000'000);
  grid.SetTopRow(99'999'990);
  const int row = grid.TopRow() + 1;
  std::string huge(10'000'000, 'x');
  huge.replace(1999, 2, "\xC3\xA9");  // an é across the cut
  grid.SetCells(0, row, huge);
  ASSERT_TRUE(RestOn(0, row));
  const std::string hint = THintWindow::Text();
  EXPECT_LE(hint.size(), 2003u);
  EXPECT_EQ(hint.substr(hint.size() - 3), "...");
  EXPECT_EQ(hint.substr(0, 1999), huge.substr(0, 1999));
  EXPECT_EQ(hint.size(), 2002u);  // the é is not cut in half
}

}  // namespace
}  // namespace kelvora::grid_test
