// The grid base as an assistive tool sees it: asked through Qt's
// accessibility queries, with the tool's notices caught by an update handler.

#include <QAccessible>
#include <QWidget>

#include "common/assistive_tool.h"
#include "custom_grid_test_grid.h"
#include "toolkit/editors/inplace_edit.h"

namespace kelvora::testing {
namespace {

// A tool is listening for the length of each test.
class GridAccessible : public ::testing::Test {
 protected:
  GridAccessible() {
    grid_.SetColCount(4);
    grid_.SetRowCount(3);
    for (int row = 0; row < 3; ++row)
      for (int col = 0; col < 4; ++col) grid_.Texts[{col, row}] = "c" + std::to_string(col) + "r" + std::to_string(row);
  }
  QAccessibleInterface* Tree() { return QAccessible::queryAccessibleInterface(&grid_); }
  QAccessibleTableInterface* Table() { return Tree()->tableInterface(); }
  QString CellText(int col, int row) { return Table()->cellAt(row, col)->text(QAccessible::Name); }

  std::vector<std::string> Heard(const std::string& prefix) const { return tool_.Heard(prefix); }

  static void Settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }

  TAssistiveTool tool_;
  TTestGrid grid_;
};

TEST_F(GridAccessible, ATableOfEveryCellWithItsText) {
  QAccessibleInterface* tree = Tree();
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->role(), QAccessible::Table);
  ASSERT_NE(Table(), nullptr);
  EXPECT_EQ(Table()->rowCount(), 3);
  EXPECT_EQ(Table()->columnCount(), 4);
  ASSERT_EQ(tree->childCount(), 12);

  QAccessibleInterface* cell = tree->child(6);  // row 1, column 2
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->text(QAccessible::Name), "c2r1");
  EXPECT_EQ(cell->tableCellInterface()->columnIndex(), 2);
  EXPECT_EQ(cell->tableCellInterface()->rowIndex(), 1);
  EXPECT_EQ(cell->parent(), tree);
  EXPECT_EQ(tree->indexOfChild(cell), 6);
  EXPECT_EQ(Table()->cellAt(1, 2), cell) << "a tool gets the same cell back";
  EXPECT_EQ(CellText(3, 2), "c3r2");
  EXPECT_EQ(Table()->cellAt(3, 0), nullptr);
  EXPECT_EQ(tree->child(12), nullptr);
}

TEST_F(GridAccessible, FixedRowsAndColumnsAreTheHeaders) {
  QAccessibleInterface* corner = Table()->cellAt(0, 0);
  EXPECT_EQ(corner->role(), QAccessible::ColumnHeader);
  EXPECT_EQ(Table()->cellAt(0, 2)->role(), QAccessible::ColumnHeader);
  EXPECT_EQ(Table()->cellAt(2, 0)->role(), QAccessible::RowHeader);
  QAccessibleInterface* cell = Table()->cellAt(2, 3);
  EXPECT_EQ(cell->role(), QAccessible::Cell);

  const QList<QAccessibleInterface*> columnHeaders = cell->tableCellInterface()->columnHeaderCells();
  ASSERT_EQ(columnHeaders.size(), 1);
  EXPECT_EQ(columnHeaders[0]->text(QAccessible::Name), "c3r0");
  const QList<QAccessibleInterface*> rowHeaders = cell->tableCellInterface()->rowHeaderCells();
  ASSERT_EQ(rowHeaders.size(), 1);
  EXPECT_EQ(rowHeaders[0]->text(QAccessible::Name), "c0r2");
  EXPECT_EQ(Table()->columnDescription(3), "c3r0");
  EXPECT_EQ(Table()->rowDescription(2), "c0r2");

  grid_.SetFixedRows(0);
  EXPECT_EQ(Table()->cellAt(0, 2)->role(), QAccessible::Cell);
  EXPECT_TRUE(Table()->cellAt(2, 3)->tableCellInterface()->columnHeaderCells().isEmpty());
  EXPECT_TRUE(Table()->columnDescription(3).isEmpty());
}

TEST_F(GridAccessible, TheCurrentCellHasTheFocusAndEachMoveIsTold) {
  grid_.ShowFocused();
  Settle();
  ASSERT_NE(Tree()->focusChild(), nullptr);
  EXPECT_EQ(Tree()->focusChild(), Table()->cellAt(1, 1));
  EXPECT_EQ(Heard("Focus "), std::vector<std::string>({"Focus 1,1"})) << "told once the grid has the focus";

  tool_.Forget();
  QTest::keyClick(&grid_, Qt::Key_Right);
  QTest::keyClick(&grid_, Qt::Key_Down);
  EXPECT_EQ(Heard("Focus"), std::vector<std::string>({"Focus 2,1", "Focus 2,2"}));
  QAccessibleInterface* current = Table()->cellAt(2, 2);
  EXPECT_EQ(Tree()->focusChild(), current);
  EXPECT_TRUE(current->state().focused);
  EXPECT_FALSE(Table()->cellAt(1, 2)->state().focused);
}

TEST_F(GridAccessible, TheSelectionIsReadAsItGrows) {
  grid_.SetOptions(grid_.Options().insert(goRangeSelect));
  grid_.ShowFocused();
  EXPECT_EQ(Table()->selectedCellCount(), 1);
  tool_.Forget();
  QTest::keyClick(&grid_, Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(&grid_, Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(Heard("Selection").size(), 2u);
  EXPECT_EQ(Heard("Focus"), std::vector<std::string>({"Focus 2,1", "Focus 2,2"}));

  EXPECT_EQ(Table()->selectedCellCount(), 4);
  const QList<QAccessibleInterface*> selected = Table()->selectedCells();
  ASSERT_EQ(selected.size(), 4);
  for (QAccessibleInterface* cell : selected) EXPECT_TRUE(cell->state().selected);
  EXPECT_TRUE(Table()->cellAt(2, 2)->tableCellInterface()->isSelected());
  EXPECT_FALSE(Table()->cellAt(1, 3)->tableCellInterface()->isSelected());
  EXPECT_FALSE(Table()->cellAt(0, 1)->state().selectable) << "a header is never selected";
  // Rows 1 and 2 are all the scrolling rows, so columns 1 and 2 are whole.
  EXPECT_EQ(Table()->selectedColumns(), QList<int>({1, 2}));
  EXPECT_TRUE(Table()->isColumnSelected(2));
  EXPECT_FALSE(Table()->isColumnSelected(3));
  EXPECT_EQ(Table()->selectedRowCount(), 0);
}

TEST_F(GridAccessible, WhileEditingTheEditWindowHasTheFocus) {
  grid_.SetOptions(grid_.Options().insert(goEditing));
  grid_.ShowFocused();
  QTest::keyClick(&grid_, Qt::Key_F2);
  ASSERT_TRUE(QTest::qWaitFor([this] { return grid_.EditorShowing(); }, kPatience));
  ASSERT_TRUE(QTest::qWaitFor([this] { return grid_.FocusTarget() != &grid_; }, kPatience));
  QAccessibleInterface* focus = Tree()->focusChild();
  ASSERT_NE(focus, nullptr);
  EXPECT_EQ(focus->object(), grid_.FocusTarget());
  EXPECT_EQ(focus->tableCellInterface(), nullptr);
}

TEST_F(GridAccessible, CellsSitWhereTheyAreDrawnAndThoseOutOfViewSaySo) {
  grid_.SetRowCount(200);
  grid_.ShowFocused(300, 200);
  QAccessibleInterface* cell = Table()->cellAt(2, 1);
  const TRect drawn = grid_.CellRect(1, 2);
  const QPoint topLeft = grid_.viewport()->mapToGlobal(QPoint(drawn.Left, drawn.Top));
  EXPECT_EQ(cell->rect(), QRect(topLeft, QSize(drawn.Width(), drawn.Height())));
  EXPECT_EQ(Tree()->childAt(topLeft.x() + 3, topLeft.y() + 3), cell);
  EXPECT_FALSE(cell->state().offscreen);

  QAccessibleInterface* far = Table()->cellAt(150, 1);
  EXPECT_TRUE(far->state().offscreen);
  EXPECT_TRUE(far->rect().isEmpty());
  EXPECT_EQ(far->text(QAccessible::Name), "") << "never written";
}

TEST_F(GridAccessible, AStructureChangeLetsTheRememberedCellsGo) {
  QAccessibleInterface* last = Table()->cellAt(2, 1);
  const QAccessible::Id id = QAccessible::uniqueId(last);
  tool_.Forget();
  grid_.DeleteRow(2);
  EXPECT_EQ(Heard("Reset").size(), 1u);
  EXPECT_EQ(QAccessible::accessibleInterface(id), nullptr) << "a tool asking for the old cell finds none";
  EXPECT_EQ(Table()->rowCount(), 2);
  EXPECT_EQ(Table()->cellAt(2, 1), nullptr);
}

TEST_F(GridAccessible, RowsAppendedOneByOneAreToldOnce) {
  Settle();
  QAccessibleInterface* kept = Table()->cellAt(1, 1);
  tool_.Forget();
  for (int rows = 4; rows <= 1000; ++rows) grid_.SetRowCount(rows);
  EXPECT_TRUE(Heard("RowsInserted").empty()) << "told only once the filling command is over";
  Settle();
  EXPECT_EQ(Heard("RowsInserted"), std::vector<std::string>({"RowsInserted 3..999"}));
  EXPECT_EQ(Table()->cellAt(1, 1), kept) << "cells above the new rows stay as they were";
  EXPECT_EQ(Table()->rowCount(), 1000);
}

TEST_F(GridAccessible, ARowInsertedAmongOthersMovesTheCellsBelow) {
  QAccessibleInterface* below = Table()->cellAt(2, 1);
  const QAccessible::Id id = QAccessible::uniqueId(below);
  tool_.Forget();
  grid_.InsertRow(1);
  EXPECT_FALSE(Heard("Reset").empty());
  EXPECT_EQ(QAccessible::accessibleInterface(id), nullptr);
}

TEST_F(GridAccessible, HugeGridsCountTheirCellsWithoutOverflowing) {
  grid_.SetColCount(100000);
  grid_.SetRowCount(100000);
  EXPECT_EQ(Tree()->childCount(), INT_MAX);
  QAccessibleInterface* cell = Table()->cellAt(99999, 99999);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(Tree()->indexOfChild(cell), -1) << "past what an index can count";
  grid_.SetOptions(grid_.Options().insert(goRangeSelect));
  grid_.SetSelection({1, 1, 99999, 99999});
  EXPECT_EQ(Table()->selectedCellCount(), INT_MAX);
  EXPECT_LE(Table()->selectedCells().size(), 4096);
}

TEST_F(GridAccessible, AGridGoneLeavesNoCellBehind) {
  auto grid = std::make_unique<TTestGrid>();
  grid->SetColCount(3);
  grid->SetRowCount(3);
  QAccessibleInterface* cell = QAccessible::queryAccessibleInterface(grid.get())->tableInterface()->cellAt(1, 1);
  const QAccessible::Id id = QAccessible::uniqueId(cell);
  grid.reset();
  EXPECT_EQ(QAccessible::accessibleInterface(id), nullptr);
}

}  // namespace
}  // namespace kelvora::testing
