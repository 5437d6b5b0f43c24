#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cell_grid_advance_support.h"
#include "grid/cell_graphic.h"

namespace kelvora {
namespace {

using grid_test::GridKeys;
using Events = std::vector<std::string>;

// --- Enter in the edit box ---------------------------------------------------------

struct TEnterStepCase {
  const char* name;
  std::function<void(TCellGrid&)> setUp;
  TGridCoord from;
  TGridCoord to;
  int rows;  // RowCount afterwards
  int cols;  // ColCount afterwards
  Events events;
};

class EnterAdvances : public GridKeys, public ::testing::WithParamInterface<TEnterStepCase> {};

TEST_P(EnterAdvances, ToTheNextCellThatMayBeEdited) {
  grid.Navigation().AdvanceOnEnter = true;
  RecordEvents();
  GetParam().setUp(grid);
  Show();
  GoTo(GetParam().from.X, GetParam().from.Y);
  Key(Qt::Key_F2);
  ASSERT_TRUE(BoxOpen());
  Key(Qt::Key_Return);
  EXPECT_EQ(Current(), GetParam().to);
  EXPECT_FALSE(BoxOpen()) << "Enter still leaves editor mode";
  EXPECT_EQ(grid.RowCount(), GetParam().rows);
  EXPECT_EQ(grid.ColCount(), GetParam().cols);
  EXPECT_EQ(events, GetParam().events);
  EXPECT_EQ(grid.CheckConsistency(), "");
}

void Plain(TCellGrid&) {}
void TopBottom(TCellGrid& g) { g.Navigation().AdvanceDirection = adTopBottom; }
void Insert(TCellGrid& g) { g.Navigation().AdvanceInsert = true; }
void RefuseAdding(TCellGrid& g) {
  Insert(g);
  g.OnCanAddRow = [](TObject*, bool& canAdd) { canAdd = false; };
}
// One fixed row and column on each side: the normal cells are (1..2, 1..2).
void FixedAllRound(TCellGrid& g) {
  g.SetFixedCols(1);
  g.SetFixedRows(1);
  g.SetFixedRightCols(1);
  g.SetFixedFooters(1);
}
void RefuseColumnTwo(TCellGrid& g) {
  g.OnCanEditCell = [](TObject*, int, int col, bool& canEdit) { canEdit = col != 2; };
}
void RefuseAllButTheFirst(TCellGrid& g) {
  g.OnCanEditCell = [](TObject*, int row, int col, bool& canEdit) { canEdit = col == 1 && row == 1; };
}

INSTANTIATE_TEST_SUITE_P(
    CellGridAdvance, EnterAdvances,
    ::testing::Values(
        TEnterStepCase{"LeftRightOneColumn", Plain, {1, 1}, {2, 1}, 4, 4, {}},
        TEnterStepCase{"LeftRightToTheNextRow", Plain, {3, 1}, {0, 2}, 4, 4, {}},
        TEnterStepCase{"LeftRightWrapsToTheFirstCell", Plain, {3, 3}, {0, 0}, 4, 4, {}},
        TEnterStepCase{"LeftRightAddsARow", Insert, {3, 3}, {0, 4}, 5, 4, {"CanAddRow", "AutoAddRow 4"}},
        TEnterStepCase{"LeftRightAddsARowOnlyAtTheEnd", Insert, {3, 2}, {0, 3}, 4, 4, {}},
        TEnterStepCase{"ARefusedRowLeavesTheCell", RefuseAdding, {3, 3}, {3, 3}, 4, 4, {}},
        TEnterStepCase{"TopBottomOneRow", TopBottom, {1, 1}, {1, 2}, 4, 4, {}},
        TEnterStepCase{"TopBottomToTheNextColumn", TopBottom, {1, 3}, {2, 0}, 4, 4, {}},
        TEnterStepCase{"TopBottomWrapsToTheFirstCell", TopBottom, {3, 3}, {0, 0}, 4, 4, {}},
        TEnterStepCase{"TopBottomAddsAColumn", [](TCellGrid& g) { TopBottom(g), Insert(g); }, {3, 3}, {4, 0}, 4, 5,
                     {"AutoInsertCol 4"}},
        TEnterStepCase{"FixedCellsAreNeverTargets", FixedAllRound, {2, 1}, {1, 2}, 4, 4, {}},
        TEnterStepCase{"FixedCellsBoundTheWrap", FixedAllRound, {2, 2}, {1, 1}, 4, 4, {}},
        TEnterStepCase{"FixedCellsBoundTheWrapTopBottom", [](TCellGrid& g) { FixedAllRound(g), TopBottom(g); },
                     {2, 2}, {1, 1}, 4, 4, {}},
        TEnterStepCase{"ARefusedCellIsPassedOver", RefuseColumnTwo, {1, 1}, {3, 1}, 4, 4, {}},
        TEnterStepCase{"WhenEveryOtherCellRefusesItStays", RefuseAllButTheFirst, {1, 1}, {1, 1}, 4, 4, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridKeys, ARowAddedBeforeTheFooterKeepsTheFooterLast) {
  grid.Navigation().AdvanceOnEnter = true;
  grid.Navigation().AdvanceInsert = true;
  grid.SetFixedFooters(1);
  RecordEvents();
  Show();
  GoTo(3, 2);
  Key(Qt::Key_F2);
  Key(Qt::Key_Return);
  EXPECT_EQ(Current(), (TGridCoord{0, 3}));
  EXPECT_EQ(grid.RowCount(), 5);
  EXPECT_EQ(grid.Cells(0, 3), "");
  EXPECT_EQ(grid.Cells(0, 4), "0,3") << "the footer row moved down with its cells";
  EXPECT_EQ(events, (Events{"CanAddRow", "AutoAddRow 3"}));
}

// Refusing every cell, a new row included, must end after one round and
// one added row, not walk or grow for ever.
TEST_F(GridKeys, AGridThatRefusesEveryCellNeitherHangsNorKeepsGrowing) {
  grid.Navigation().AdvanceOnEnter = true;
  grid.Navigation().AdvanceInsert = true;
  Show();
  GoTo(1, 1);
  Key(Qt::Key_F2);
  int asked = 0;
  grid.OnCanEditCell = [&](TObject*, int, int, bool& canEdit) {
    ++asked;
    canEdit = false;
  };
  Key(Qt::Key_Return);
  EXPECT_EQ(Current(), (TGridCoord{1, 1}));
  EXPECT_EQ(grid.RowCount(), 5);
  EXPECT_LE(asked, 4 * 5);
}

TEST_F(GridKeys, EnterDoesNotMoveWithoutAdvanceOnEnter) {
  Show();
  GoTo(1, 1);
  Key(Qt::Key_F2);
  Type("x");
  Key(Qt::Key_Return);
  EXPECT_EQ(Current(), (TGridCoord{1, 1}));
  EXPECT_FALSE(BoxOpen());
  EXPECT_EQ(grid.Cells(1, 1), "1,1x");
}

// Enter on the grid itself opens the edit box where it is; only an Enter
// that ends an edit moves on.
TEST_F(GridKeys, EnterOnTheGridOpensTheBoxWithoutMoving) {
  grid.Navigation().AdvanceOnEnter = true;
  Show();
  GoTo(1, 1);
  Key(Qt::Key_Return);
  EXPECT_EQ(Current(), (TGridCoord{1, 1}));
  EXPECT_TRUE(BoxOpen());
  Type("new");
  Key(Qt::Key_Return);
  EXPECT_EQ(Current(), (TGridCoord{2, 1}));
  EXPECT_EQ(grid.Cells(1, 1), "new");
}

// An edit that fails validation keeps its box open and its cell current.
TEST_F(GridKeys, AnInvalidEditDoesNotAdvance) {
  grid.Navigation().AdvanceOnEnter = true;
  grid.OnCellValidate = [](TObject*, int, int, std::string&, bool& valid) { valid = false; };
  Show();
  GoTo(1, 1);
  Type("bad");
  Key(Qt::Key_Return);
  EXPECT_EQ(Current(), (TGridCoord{1, 1}));
  EXPECT_TRUE(BoxOpen());
}

// --- The call itself ---------------------------------------------------------------

TEST_F(GridKeys, AdvanceCellDoesNothingUnlessAdvancingOrForced) {
  Show();
  GoTo(1, 1);
  grid.AdvanceCell(1, 1, true, true, false);
  EXPECT_EQ(Current(), (TGridCoord{1, 1}));
  EXPECT_FALSE(BoxOpen());
  grid.AdvanceCell(1, 1, true, true, true);
  EXPECT_EQ(Current(), (TGridCoord{2, 1}));
  EXPECT_TRUE(BoxOpen()) << "asked to open the editor there";
  EXPECT_EQ(grid.EditorText(), "2,1");
}

TEST_F(GridKeys, AdvanceCellStartsFromTheCellItIsGiven) {
  grid.Navigation().AdvanceOnEnter = true;
  Show();
  grid.AdvanceCell(2, 2, true, false, false);
  EXPECT_EQ(Current(), (TGridCoord{3, 2}));
  EXPECT_FALSE(BoxOpen());
}

TEST_F(GridKeys, AdvanceCellFromOutsideTheGridStartsAtItsNearestCell) {
  Show();
  grid.AdvanceCell(-5, 100, true, false, true);
  EXPECT_EQ(Current(), (TGridCoord{1, 3}));
}

// --- Check boxes ------------------------------------------------------------------------

// A check box is worked without the edit box, so Enter on one moves on as
// Enter ending an edit does; the base then opens the box in the next cell.
TEST_F(GridKeys, EnterOnACheckBoxMovesOn) {
  grid.Navigation().AdvanceOnEnter = true;
  grid.SetEnableGraphics(true);
  grid.SetCellGraphic(1, 1, std::make_unique<TCellCheckBox>());
  Show();
  GoTo(1, 1);
  Key(Qt::Key_Return);
  EXPECT_EQ(Current(), (TGridCoord{2, 1}));
  EXPECT_TRUE(BoxOpen());
  EXPECT_EQ(grid.EditorText(), "2,1");
}

// Ready: in editor mode, so Space toggles it and the next cell opens its
// box, but with no text box over the check box itself.
TEST_F(GridKeys, AdvancingOntoACheckBoxMakesItReady) {
  grid.SetEnableGraphics(true);
  grid.SetCellGraphic(2, 1, std::make_unique<TCellCheckBox>());
  Show();
  GoTo(1, 1);
  grid.AdvanceCell(1, 1, true, false, true);
  EXPECT_EQ(Current(), (TGridCoord{2, 1}));
  EXPECT_TRUE(grid.EditorMode());
  EXPECT_FALSE(BoxOpen());
  Key(Qt::Key_Space);
  EXPECT_TRUE(static_cast<TCellCheckBox*>(grid.CellGraphic(2, 1))->Checked());
  EXPECT_EQ(grid.Cells(2, 1), "2,1");
  grid.AdvanceCell(2, 1, true, false, true);
  EXPECT_TRUE(BoxOpen());
  // Out of editor mode, reaching a plain cell opens nothing unless asked.
  grid.HideEditor();
  grid.AdvanceCell(3, 1, true, false, true);
  EXPECT_FALSE(BoxOpen());
}

// --- Walking out of the edit box ---------------------------------------------------------

struct TWalkCase {
  const char* name;
  TGridCoord from;
  Qt::Key key;
  TGridCoord to;
};

class CursorWalk : public GridKeys, public ::testing::WithParamInterface<TWalkCase> {};

TEST_P(CursorWalk, LeavesTheBoxAtItsEndsIntoTheNeighbourWithTheBoxOpen) {
  grid.Navigation().CursorWalkEditor = true;
  Show();
  GoTo(GetParam().from.X, GetParam().from.Y);
  Key(Qt::Key_F2);  // caret at the end
  if (GetParam().key == Qt::Key_Left) Key(Qt::Key_Home);
  Key(GetParam().key);
  EXPECT_EQ(Current(), GetParam().to);
  ASSERT_TRUE(BoxOpen());
  EXPECT_EQ(grid.EditorText(), grid.Cells(GetParam().to.X, GetParam().to.Y));
}

INSTANTIATE_TEST_SUITE_P(
    CellGridAdvance, CursorWalk,
    ::testing::Values(TWalkCase{"RightToTheNextCell", {1, 1}, Qt::Key_Right, {2, 1}},
                      TWalkCase{"RightOntoTheNextRow", {3, 1}, Qt::Key_Right, {0, 2}},
                      TWalkCase{"LeftToThePreviousCell", {2, 1}, Qt::Key_Left, {1, 1}},
                      TWalkCase{"LeftOntoTheEndOfThePreviousRow", {0, 2}, Qt::Key_Left, {3, 1}},
                      TWalkCase{"LeftFromTheFirstCellToTheLast", {0, 0}, Qt::Key_Left, {3, 3}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridKeys, LeftInsideTheTextStaysInTheBox) {
  grid.Navigation().CursorWalkEditor = true;
  Show();
  GoTo(2, 1);
  Key(Qt::Key_F2);
  Key(Qt::Key_Left);
  EXPECT_EQ(Current(), (TGridCoord{2, 1}));
  EXPECT_EQ(grid.InplaceEditor()->SelStart(), 2);
}

// --- Always editing ---------------------------------------------------------------------

TEST_F(GridKeys, WithAlwaysEditAnArrowOpensTheEditorInTheNewCell) {
  grid.Navigation().AlwaysEdit = true;
  Show();
  GoTo(1, 1);
  Key(Qt::Key_Down);
  EXPECT_EQ(Current(), (TGridCoord{1, 2}));
  ASSERT_TRUE(BoxOpen());
  EXPECT_EQ(grid.EditorText(), "1,2");
  Key(Qt::Key_Return);  // leaves editor mode
  EXPECT_FALSE(BoxOpen());
  Key(Qt::Key_Right);
  ASSERT_TRUE(BoxOpen());
  EXPECT_EQ(grid.EditorText(), "2,2");
}

TEST_F(GridKeys, AlwaysEditOpensNothingWhereTheCellMayNotBeEdited) {
  grid.Navigation().AlwaysEdit = true;
  RefuseColumnTwo(grid);
  Show();
  GoTo(1, 1);
  Key(Qt::Key_Right);
  EXPECT_EQ(Current(), (TGridCoord{2, 1}));
  EXPECT_FALSE(BoxOpen());
}

}  // namespace
}  // namespace kelvora
