#include <QMouseEvent>
#include <QWheelEvent>

#include <climits>
#include <utility>
#include <vector>

#include "custom_grid_test_grid.h"

namespace kelvora {
namespace {

using testing::Count;
using testing::TTestGrid;

// Column c starts at 65c and row r at 25r: 64 x 24 cells and 1-pixel lines
// in a viewport as large as the widget.
void Show(TTestGrid& grid) {
  testing::LayOut(grid);
  grid.SetColCount(8);
  grid.SetRowCount(30);
  grid.ShowFocused(400, 300);
}

QPoint CellPoint(int col, int row) { return {65 * col + 10, 25 * row + 10}; }

void Click(TTestGrid& grid, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, modifiers, at);
}

void Send(TTestGrid& grid, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
  QMouseEvent event(type, at, grid.viewport()->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                    buttons, Qt::NoModifier);
  QApplication::sendEvent(grid.viewport(), &event);
}

void Drag(TTestGrid& grid, QPoint from, QPoint to) {
  Send(grid, QEvent::MouseButtonPress, from, Qt::LeftButton);
  Send(grid, QEvent::MouseMove, to, Qt::LeftButton);
  Send(grid, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

void Wheel(TTestGrid& grid, int notches) {
  const QPoint at(100, 100);
  QWheelEvent event(at, grid.viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(grid.viewport(), &event);
}

TEST(GridMouse, AClickSelectsTheCellItHits) {
  TTestGrid grid;
  Show(grid);
  grid.ClearLog();
  Click(grid, CellPoint(3, 2));
  EXPECT_EQ(grid.Col(), 3);
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(grid.Selection(), (TGridRect{3, 2, 3, 2}));
  EXPECT_EQ(Count(grid.Log, "SelectCell 3,2"), 1);
  EXPECT_EQ(grid.Log.back(), "Click");

  grid.Refused.insert({4, 4});
  Click(grid, CellPoint(4, 4));
  EXPECT_EQ(grid.Col(), 3);
  EXPECT_EQ(grid.Row(), 2);

  Click(grid, CellPoint(0, 3));  // a fixed cell
  grid.SetColCount(4);
  Click(grid, QPoint(300, 60));  // beyond the last column
  EXPECT_EQ(grid.Col(), 3);
  EXPECT_EQ(grid.Row(), 2);
}

TEST(GridMouse, ShiftClickAndDraggingExtendTheSelection) {
  TTestGrid grid;
  Show(grid);
  Click(grid, CellPoint(2, 2));
  Click(grid, CellPoint(4, 5), Qt::ShiftModifier);
  EXPECT_EQ(grid.Selection(), (TGridRect{2, 2, 4, 5}));
  EXPECT_EQ(grid.Col(), 2);  // the current cell stays where the selection began

  Drag(grid, CellPoint(3, 3), CellPoint(1, 1));
  EXPECT_EQ(grid.Selection(), (TGridRect{1, 1, 3, 3}));
  EXPECT_EQ(grid.Row(), 3);

  grid.SetOptions(grid.Options().erase(goRangeSelect));
  Click(grid, CellPoint(4, 5), Qt::ShiftModifier);
  EXPECT_EQ(grid.Selection(), (TGridRect{4, 5, 4, 5}));
  Drag(grid, CellPoint(2, 2), CellPoint(3, 4));
  EXPECT_EQ(grid.Selection(), (TGridRect{3, 4, 3, 4}));
}

TEST(GridMouse, DraggingPastTheBottomScrollsOnward) {
  TTestGrid grid;
  Show(grid);
  Send(grid, QEvent::MouseButtonPress, CellPoint(1, 1), Qt::LeftButton);
  for (int i = 0; i < 5; ++i) Send(grid, QEvent::MouseMove, QPoint(70, 400), Qt::LeftButton);
  Send(grid, QEvent::MouseButtonRelease, QPoint(70, 400), Qt::NoButton);
  // Each move reached one row further and scrolled it wholly into view.
  EXPECT_EQ(grid.TopRow(), 6);
  EXPECT_EQ(grid.Selection(), (TGridRect{1, 1, 1, grid.TopRow() + grid.VisibleRowCount() - 1}));
  EXPECT_EQ(grid.Row(), 1);
}

TEST(GridMouse, AClickOnTheCurrentCellOpensTheEditorWhichThenFollowsClicks) {
  TTestGrid grid;
  grid.SetOptions(grid.Options().insert(goEditing));
  grid.Texts[{1, 1}] = "abc";
  grid.Texts[{2, 3}] = "other";
  Show(grid);
  Click(grid, CellPoint(1, 1));
  ASSERT_TRUE(grid.EditorShowing());
  EXPECT_EQ(grid.EditorText(), "abc");
  Click(grid, CellPoint(2, 3));
  ASSERT_TRUE(grid.EditorShowing());
  EXPECT_EQ(grid.EditorText(), "other");
  EXPECT_EQ(grid.InplaceEditor()->geometry(), QRect(130, 75, 64, 24));
}

TEST(GridMouse, TheWheelScrollsThreeRowsANotch) {
  TTestGrid grid;
  Show(grid);
  Wheel(grid, -1);
  EXPECT_EQ(grid.TopRow(), 4);
  EXPECT_EQ(grid.Row(), 1);  // only the view moves
  Wheel(grid, 1);
  EXPECT_EQ(grid.TopRow(), 1);
  grid.SetWheelScrollLines(5);
  Wheel(grid, -2);
  EXPECT_EQ(grid.TopRow(), 11);
  Wheel(grid, -100);
  EXPECT_EQ(grid.LastVisibleRow(), 29);
}

void WheelBy(TTestGrid& grid, QPoint angle, QPoint pixels) {
  const QPoint at(100, 100);
  QWheelEvent event(at, grid.viewport()->mapToGlobal(at), pixels, angle, Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(grid.viewport(), &event);
}

// Small pieces add up to the rows a whole notch scrolls, a piece too small
// for a row is kept for the next, a turn back is followed at once, and a
// device that reports only pixels scrolls a row per row height.
TEST(GridMouse, WheelPiecesAddUpToRows) {
  struct TCase {
    const char* name;
    std::vector<std::pair<QPoint, QPoint>> events;  // angle, pixels
    int topRow;
  };
  const TCase cases[] = {
      {"eight eighths of a notch", std::vector(8, std::pair{QPoint(0, -15), QPoint()}), 4},
      {"a third of a notch", {{QPoint(0, -40), QPoint()}}, 2},
      {"too little for a row", {{QPoint(0, -30), QPoint()}}, 1},
      {"kept for the next piece", {{QPoint(0, -30), QPoint()}, {QPoint(0, -10), QPoint()}}, 2},
      {"a turn back", {{QPoint(0, -60), QPoint()}, {QPoint(0, 60), QPoint()}}, 1},
      {"pixels only", {{QPoint(), QPoint(0, -50)}}, 3},
      {"angle before pixels", {{QPoint(0, -120), QPoint(0, -500)}}, 4},
      {"columns sideways", {{QPoint(-240, 0), QPoint()}}, 1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TTestGrid grid;
    Show(grid);
    for (const auto& [angle, pixels] : c.events) WheelBy(grid, angle, pixels);
    EXPECT_EQ(grid.TopRow(), c.topRow);
  }
  TTestGrid grid;
  Show(grid);
  WheelBy(grid, QPoint(-240, 0), QPoint());
  EXPECT_EQ(grid.LeftCol(), 3);
  WheelBy(grid, QPoint(0, INT_MIN), QPoint());
  EXPECT_EQ(grid.LastVisibleRow(), 29);
  WheelBy(grid, QPoint(INT_MAX, INT_MAX), QPoint(INT_MAX, INT_MAX));
  EXPECT_EQ(grid.TopRow(), 1);
  EXPECT_EQ(grid.LeftCol(), 1);
}

TEST(GridMouse, DraggingABorderInTheFixedRowResizesWithColSizing) {
  TTestGrid grid;
  Show(grid);
  Drag(grid, QPoint(129, 10), QPoint(160, 10));
  EXPECT_EQ(grid.ColWidths(1), 64);  // goColSizing is off
  grid.SetOptions(grid.Options().insert(goColSizing));
  Drag(grid, QPoint(130, 10), QPoint(160, 12));
  EXPECT_EQ(grid.ColWidths(1), 95);
  Drag(grid, QPoint(160, 60), QPoint(200, 60));  // not in the fixed row: selects
  EXPECT_EQ(grid.ColWidths(1), 95);
  EXPECT_EQ(grid.ColWidths(2), 64);

  grid.SetOptions(grid.Options().insert(goRowSizing));
  Drag(grid, QPoint(20, 49), QPoint(20, 80));
  EXPECT_EQ(grid.RowHeights(1), 55);
}

}  // namespace
}  // namespace kelvora
