#include <QLineEdit>
#include <QScrollBar>
#include <QVBoxLayout>

#include <functional>
#include <vector>

#include "custom_grid_test_grid.h"
#include "toolkit/keys.h"

namespace kelvora {
namespace {

using testing::Count;
using testing::TTestGrid;

// Columns 51 pixels apart and rows 21 in a 310 x 211 viewport: the fixed
// row and column, then 9 whole rows and 5 whole columns.
void LayOut(TTestGrid& grid) {
  testing::LayOut(grid, 310, 211);
  grid.SetColCount(8);
  grid.SetRowCount(40);
  grid.SetDefaultColWidth(50);
  grid.SetDefaultRowHeight(20);
  grid.ShowFocused(310, 211);
}

struct TKey {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

struct TKeyMoveCase {
  const char* name;
  TGridOptions extra;  // added to the default options
  TGridCoord start;
  int startTop;
  std::vector<TKey> keys;
  TGridCoord current;
  TGridRect selection;
  int top;
  bool editorMode = false;
};

constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;

void RunCase(const TKeyMoveCase& c) {
  TTestGrid grid;
  LayOut(grid);
  grid.SetOptions(grid.Options() | c.extra);
  grid.SetRow(c.start.Y);
  grid.SetCol(c.start.X);
  grid.SetTopRow(c.startTop);
  for (const TKey& k : c.keys) QTest::keyClick(grid.FocusTarget(), k.key, k.modifiers);
  EXPECT_EQ(grid.Col(), c.current.X) << c.name;
  EXPECT_EQ(grid.Row(), c.current.Y) << c.name;
  EXPECT_EQ(grid.Selection(), c.selection) << c.name;
  EXPECT_EQ(grid.TopRow(), c.top) << c.name;
  EXPECT_EQ(grid.EditorMode(), c.editorMode) << c.name;
}

TEST(GridKeys, GridLayoutForTheTablesIsAsAssumed) {
  TTestGrid grid;
  LayOut(grid);
  EXPECT_EQ(grid.VisibleRowCount(), 9);
  EXPECT_EQ(grid.VisibleColCount(), 5);
}

TEST(GridKeys, MoveTheCurrentCellWithinTheGrid) {
  const TKeyMoveCase cases[] = {
      {"down", {}, {1, 1}, 1, {{Qt::Key_Down}}, {1, 2}, {1, 2, 1, 2}, 1},
      {"up stops at the fixed row", {}, {1, 1}, 1, {{Qt::Key_Up}}, {1, 1}, {1, 1, 1, 1}, 1},
      {"left stops at the fixed column", {}, {1, 4}, 1, {{Qt::Key_Left}}, {1, 4}, {1, 4, 1, 4}, 1},
      {"right stops at the last column", {}, {7, 1}, 1, {{Qt::Key_Right}}, {7, 1}, {7, 1, 7, 1}, 1},
      {"down stops at the last row", {}, {1, 39}, 31, {{Qt::Key_Down}}, {1, 39}, {1, 39, 1, 39}, 31},
      {"down scrolls the new row into view", {}, {1, 9}, 1, {{Qt::Key_Down}}, {1, 10}, {1, 10, 1, 10}, 2},
      {"up scrolls back", {}, {1, 5}, 5, {{Qt::Key_Up}}, {1, 4}, {1, 4, 1, 4}, 4},
      {"page down moves a page and the view", {}, {1, 1}, 1, {{Qt::Key_PageDown}}, {1, 10}, {1, 10, 1, 10}, 10},
      {"page up", {}, {2, 12}, 10, {{Qt::Key_PageUp}}, {2, 3}, {2, 3, 2, 3}, 1},
      {"page up stops at the first row", {}, {2, 4}, 1, {{Qt::Key_PageUp}}, {2, 1}, {2, 1, 2, 1}, 1},
      {"page down near the end", {}, {1, 35}, 31, {{Qt::Key_PageDown}}, {1, 39}, {1, 39, 1, 39}, 31},
      {"home", {}, {5, 3}, 1, {{Qt::Key_Home}}, {1, 3}, {1, 3, 1, 3}, 1},
      {"end", {}, {2, 3}, 1, {{Qt::Key_End}}, {7, 3}, {7, 3, 7, 3}, 1},
      {"ctrl home", {}, {5, 7}, 1, {{Qt::Key_Home, kCtrl}}, {1, 1}, {1, 1, 1, 1}, 1},
      {"ctrl end", {}, {2, 3}, 1, {{Qt::Key_End, kCtrl}}, {7, 39}, {7, 39, 7, 39}, 31},
      {"ctrl page up: top visible row", {}, {3, 17}, 12, {{Qt::Key_PageUp, kCtrl}}, {3, 12}, {3, 12, 3, 12}, 12},
      {"ctrl page down: bottom visible row", {}, {3, 2}, 1, {{Qt::Key_PageDown, kCtrl}}, {3, 9}, {3, 9, 3, 9}, 1},
      {"ctrl down scrolls only", {}, {1, 3}, 1, {{Qt::Key_Down, kCtrl}}, {1, 3}, {1, 3, 1, 3}, 2},
      {"ctrl right pages across", {}, {1, 1}, 1, {{Qt::Key_Right, kCtrl}}, {6, 1}, {6, 1, 6, 1}, 1},
  };
  for (const TKeyMoveCase& c : cases) RunCase(c);
}

TEST(GridKeys, TabRunsThroughTheCellsOnlyWithTabsOption) {
  const TKeyMoveCase cases[] = {
      {"tab without goTabs leaves the cell", {}, {1, 1}, 1, {{Qt::Key_Tab}}, {1, 1}, {1, 1, 1, 1}, 1},
      {"tab", {goTabs}, {1, 1}, 1, {{Qt::Key_Tab}}, {2, 1}, {2, 1, 2, 1}, 1},
      {"tab wraps to the next row", {goTabs}, {7, 1}, 1, {{Qt::Key_Tab}}, {1, 2}, {1, 2, 1, 2}, 1},
      {"tab wraps from the last cell", {goTabs}, {7, 39}, 31, {{Qt::Key_Tab}}, {1, 1}, {1, 1, 1, 1}, 1},
      {"shift tab wraps back a row", {goTabs}, {1, 2}, 1, {{Qt::Key_Backtab, kShift}}, {7, 1}, {7, 1, 7, 1}, 1},
      {"shift tab wraps to the last cell", {goTabs}, {1, 1}, 1, {{Qt::Key_Backtab, kShift}}, {7, 39},
       {7, 39, 7, 39}, 31},
      {"shift tab never extends the selection", {goTabs}, {3, 2}, 1, {{Qt::Key_Backtab, kShift}}, {2, 2},
       {2, 2, 2, 2}, 1},
  };
  for (const TKeyMoveCase& c : cases) RunCase(c);
}

TEST(GridKeys, ShiftExtendsTheSelectionOnlyWithRangeSelect) {
  const TKeyMoveCase cases[] = {
      {"shift down", {}, {2, 2}, 1, {{Qt::Key_Down, kShift}}, {2, 3}, {2, 2, 2, 3}, 1},
      {"shift down twice, then up", {}, {2, 2}, 1,
       {{Qt::Key_Down, kShift}, {Qt::Key_Down, kShift}, {Qt::Key_Up, kShift}}, {2, 3}, {2, 2, 2, 3}, 1},
      {"shift left and up", {}, {4, 4}, 1, {{Qt::Key_Left, kShift}, {Qt::Key_Up, kShift}}, {3, 3},
       {3, 3, 4, 4}, 1},
      {"shift ctrl end", {}, {6, 37}, 31, {{Qt::Key_End, kShift | kCtrl}}, {7, 39}, {6, 37, 7, 39}, 31},
      {"a plain key collapses it", {}, {2, 2}, 1, {{Qt::Key_Down, kShift}, {Qt::Key_Right}}, {3, 3},
       {3, 3, 3, 3}, 1},
      {"shift at the fixed edge", {}, {1, 1}, 1, {{Qt::Key_Up, kShift}}, {1, 1}, {1, 1, 1, 1}, 1},
  };
  for (const TKeyMoveCase& c : cases) RunCase(c);

  TTestGrid grid;
  LayOut(grid);
  grid.SetOptions(grid.Options().erase(goRangeSelect));
  grid.SetRow(2);
  QTest::keyClick(grid.FocusTarget(), Qt::Key_Down, kShift);
  EXPECT_EQ(grid.Selection(), (TGridRect{1, 3, 1, 3}));
}

TEST(GridKeys, RowSelectScrollsSidewaysAndSelectsWholeRows) {
  const TKeyMoveCase cases[] = {
      {"down", {goRowSelect}, {1, 3}, 1, {{Qt::Key_Down}}, {1, 4}, {1, 4, 7, 4}, 1},
      {"right scrolls", {goRowSelect}, {1, 3}, 1, {{Qt::Key_Right}}, {1, 3}, {1, 3, 7, 3}, 1},
  };
  for (const TKeyMoveCase& c : cases) RunCase(c);

  TTestGrid grid;
  LayOut(grid);
  grid.SetOptions(grid.Options().insert(goRowSelect));
  QTest::keyClick(grid.FocusTarget(), Qt::Key_Right);
  EXPECT_EQ(grid.LeftCol(), 2);
  QTest::keyClick(grid.FocusTarget(), Qt::Key_End);
  EXPECT_EQ(grid.LeftCol(), 3);  // as far as the last column lets it
  QTest::keyClick(grid.FocusTarget(), Qt::Key_Home);
  EXPECT_EQ(grid.LeftCol(), 1);
}

TEST(GridKeys, F2AndEnterSwitchEditorMode) {
  const TKeyMoveCase cases[] = {
      {"F2", {goEditing}, {2, 2}, 1, {{Qt::Key_F2}}, {2, 2}, {2, 2, 2, 2}, 1, true},
      {"enter opens", {goEditing}, {2, 2}, 1, {{Qt::Key_Return}}, {2, 2}, {2, 2, 2, 2}, 1, true},
      {"enter again closes", {goEditing}, {2, 2}, 1, {{Qt::Key_Return}, {Qt::Key_Return}}, {2, 2},
       {2, 2, 2, 2}, 1, false},
      {"enter cannot close an always-shown editor", {goEditing, goAlwaysShowEditor}, {2, 2}, 1,
       {{Qt::Key_Return}, {Qt::Key_Return}}, {2, 2}, {2, 2, 2, 2}, 1, true},
      {"the mode stays on while moving", {goEditing}, {2, 2}, 1, {{Qt::Key_F2}, {Qt::Key_Down}}, {2, 3},
       {2, 3, 2, 3}, 1, true},
      {"tab moves the editor along with goTabs", {goEditing, goTabs}, {2, 2}, 1,
       {{Qt::Key_F2}, {Qt::Key_Tab}}, {3, 2}, {3, 2, 3, 2}, 1, true},
  };
  for (const TKeyMoveCase& c : cases) RunCase(c);
}

TEST(GridKeys, WithoutFixedCellsTheEdgesAreTheGridsOwn) {
  TTestGrid grid;
  grid.SetFixedCols(0);
  grid.SetFixedRows(0);
  LayOut(grid);
  grid.SetCol(0);
  grid.SetRow(0);
  QTest::keyClick(grid.FocusTarget(), Qt::Key_Up);
  QTest::keyClick(grid.FocusTarget(), Qt::Key_Left);
  EXPECT_EQ(grid.Col(), 0);
  EXPECT_EQ(grid.Row(), 0);
  QTest::keyClick(grid.FocusTarget(), Qt::Key_Home, kCtrl);
  EXPECT_EQ(grid.Row(), 0);
  QTest::keyClick(grid.FocusTarget(), Qt::Key_End, kCtrl);
  EXPECT_EQ(grid.Col(), 7);
  EXPECT_EQ(grid.Row(), 39);
  EXPECT_EQ(grid.TopRow(), 30);
}

TEST(GridKeys, ARefusedCellKeepsTheCurrentOne) {
  TTestGrid grid;
  LayOut(grid);
  grid.Refused.insert({1, 2});
  grid.ClearLog();
  QTest::keyClick(grid.FocusTarget(), Qt::Key_Down);
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(grid.Selection(), (TGridRect{1, 1, 1, 1}));
  EXPECT_EQ(Count(grid.Log, "SelectCell 1,2"), 1);
  EXPECT_EQ(Count(grid.Log, "Click"), 0);
  grid.Refused.clear();
  QTest::keyClick(grid.FocusTarget(), Qt::Key_Down);
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(Count(grid.Log, "Click"), 1);
}

TEST(GridKeys, OneKeyIsKeyDownThenTheCharacterHooks) {
  TTestGrid grid;
  LayOut(grid);
  grid.ClearLog();
  QTest::keyClick(grid.FocusTarget(), Qt::Key_Q);
  EXPECT_EQ(grid.Log, (std::vector<std::string>{"KeyDown 81", "CharMessage 113", "KeyPress 113"}));
  grid.ClearLog();
  QTest::keyClick(grid.FocusTarget(), Qt::Key_Right, kShift);
  // The Shift key itself comes first, as its own key without a character.
  EXPECT_EQ(grid.Log, (std::vector<std::string>{"KeyDown 16", "KeyDown 39", "SelectCell 2,1", "CanEditShow", "Click"}));
}

TEST(GridKeys, EmptyGridIgnoresMovementKeys) {
  TTestGrid grid;
  LayOut(grid);
  grid.SetRowCount(0);
  grid.SetColCount(0);
  for (const Qt::Key key : {Qt::Key_Down, Qt::Key_End, Qt::Key_PageDown, Qt::Key_F2, Qt::Key_Return})
    QTest::keyClick(grid.FocusTarget(), key);
  EXPECT_EQ(grid.Row(), 0);
  EXPECT_EQ(grid.Col(), 0);
  EXPECT_FALSE(grid.EditorShowing());
}

}  // namespace
}  // namespace kelvora
