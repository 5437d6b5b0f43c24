#include <QWheelEvent>

#include <functional>

#include "cell_grid_test_support.h"

namespace kelvora::grid_test {
namespace {

void WheelOn(TCellGrid& grid, int angle, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
  const QPoint at(50, 50);
  QWheelEvent event(at, grid.viewport()->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, modifiers,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(grid.viewport(), &event);
}

class GridZoom : public GridDriving {
 protected:
  void SetUp() override {
    ApplyMainWindowColumn(grid);
    grid.SetColCount(3);
    grid.SetRowCount(1000);
  }

 public:
  void Press(Qt::Key key, int times = 1) {
    for (int i = 0; i < times; ++i) Key(key, Qt::ControlModifier);
  }
};

TEST_F(GridZoom, CtrlWithTheWheelOrTheKeysStepsTheOffsetWithinItsLimits) {
  struct TCase {
    const char* name;
    std::function<void(GridZoom&)> act;
    int offset;
  };
  const TCase cases[] = {
      {"a notch up", [](GridZoom& t) { WheelOn(t.grid, 120); }, 1},
      {"two notches down at once", [](GridZoom& t) { WheelOn(t.grid, -240); }, -2},
      {"halves of a notch", [](GridZoom& t) { WheelOn(t.grid, 60); WheelOn(t.grid, 60); }, 1},
      {"too little for a step", [](GridZoom& t) { WheelOn(t.grid, 100); }, 0},
      {"plus", [](GridZoom& t) { t.Press(Qt::Key_Plus); }, 1},
      {"equals, plus unshifted", [](GridZoom& t) { t.Press(Qt::Key_Equal, 2); }, 2},
      {"minus", [](GridZoom& t) { t.Press(Qt::Key_Minus); }, -1},
      {"zero goes back", [](GridZoom& t) { t.Press(Qt::Key_Plus, 3); t.Press(Qt::Key_0); }, 0},
      {"the upper limit", [](GridZoom& t) { t.Press(Qt::Key_Plus, 15); }, 10},
      {"the lower limit", [](GridZoom& t) { t.Press(Qt::Key_Minus, 15); }, -10},
      {"a huge turn", [](GridZoom& t) { WheelOn(t.grid, INT_MAX); WheelOn(t.grid, INT_MIN); }, -10},
      {"zoom off", [](GridZoom& t) { t.grid.SetIntelliZoom(false); t.Press(Qt::Key_Plus); WheelOn(t.grid, 120); }, 0},
  };
  Show();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    grid.SetIntelliZoom(true);
    grid.Zoom(-grid.FontSizeOffset());
    c.act(*this);
    EXPECT_EQ(grid.FontSizeOffset(), c.offset);
  }
}

// The rows keep the room round the text, the current cell stays in view,
// and zooming back gives the rows their height exactly.
TEST_F(GridZoom, RowsFollowTheTextAndTheCurrentCellStaysInView) {
  Show();
  grid.SetRow(10);
  const int unzoomed = grid.DefaultRowHeight();
  int previous = unzoomed;
  for (int step = 1; step <= 10; ++step) {
    Press(Qt::Key_Plus);
    EXPECT_GT(grid.DefaultRowHeight(), previous) << step;
    previous = grid.DefaultRowHeight();
    const TRect cell = grid.CellRect(grid.Col(), grid.Row());
    EXPECT_FALSE(cell.IsEmpty()) << step;
    EXPECT_LE(cell.Bottom, grid.viewport()->height()) << step;
  }
  Press(Qt::Key_0);
  EXPECT_EQ(grid.DefaultRowHeight(), unzoomed);
  Press(Qt::Key_Minus, 10);
  EXPECT_LT(grid.DefaultRowHeight(), unzoomed);
  EXPECT_GE(grid.DefaultRowHeight(), 1);
}

TEST_F(GridZoom, TheWheelScrollsOnlyWhileItIsEnabled) {
  Show();
  WheelOn(grid, -120, Qt::NoModifier);
  const int scrolled = grid.TopRow();
  EXPECT_GT(scrolled, 0);
  grid.SetEnableWheel(false);
  WheelOn(grid, -120, Qt::NoModifier);
  EXPECT_EQ(grid.TopRow(), scrolled);
  WheelOn(grid, 120);  // zooming is no scrolling, and stays
  EXPECT_EQ(grid.FontSizeOffset(), 1);
}

}  // namespace
}  // namespace kelvora::grid_test
