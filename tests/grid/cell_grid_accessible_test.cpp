// What a screen reader hears of the cell grid: each cell as a person reads
// it, and the cells that change in view.

#include <QAccessible>

#include <stdexcept>

#include "cell_grid_test_support.h"
#include "common/assistive_tool.h"

namespace kelvora {
namespace {

using grid_test::TTestCellGrid;
using testing::TAssistiveTool;

class CellGridAccessible : public ::testing::Test {
 protected:
  CellGridAccessible() {
    grid_.SetFixedCols(0);
    grid_.SetFixedRows(0);
    grid_.SetColCount(4);
    grid_.SetRowCount(3);
  }

  QString Spoken(int displayCol, int row) {
    QAccessibleInterface* cell = QAccessible::queryAccessibleInterface(&grid_)->tableInterface()->cellAt(row, displayCol);
    return cell ? cell->text(QAccessible::Name) : QString("(no cell)");
  }

  TTestCellGrid grid_;
};

TEST_F(CellGridAccessible, AMarkupCellIsReadAsItsWords) {
  grid_.SetCells(0, 0, "<B>Fri</B>day, <I>13</I><BR>June");
  EXPECT_EQ(Spoken(0, 0), "Friday, 13\r\nJune");
  grid_.SetEnableHTML(false);
  EXPECT_EQ(Spoken(0, 0), "<B>Fri</B>day, <I>13</I><BR>June") << "without mark-up the tags are the text";
}

TEST_F(CellGridAccessible, PlainFormulaAndRichTextCells) {
  grid_.SetCells(1, 0, "Sat");
  grid_.SetCells(2, 0, "=<B>1</B>");
  grid_.SetCells(3, 0, "{\\rtf1 Hello\\par}");
  grid_.SetCells(0, 1, "Gr\xc3\xbc\xc3\x9f" "e");
  grid_.SetCells(1, 1, "caf\xe9");  // not UTF-8: read as Windows-1252
  EXPECT_EQ(Spoken(1, 0), "Sat");
  EXPECT_EQ(Spoken(2, 0), "=<B>1</B>") << "a formula shows its tags";
  EXPECT_EQ(Spoken(3, 0), "Hello");
  EXPECT_EQ(Spoken(0, 1), QString::fromUtf8("Gr\xc3\xbc\xc3\x9f" "e"));
  EXPECT_EQ(Spoken(1, 1), QString::fromUtf8("caf\xc3\xa9"));
}

TEST_F(CellGridAccessible, APasswordCellIsNeverReadByItsText) {
  std::vector<std::pair<int, int>> asked;  // (row, stored column)
  grid_.OnIsPasswordCell = [&](TObject*, int aRow, int aCol, bool& isPassword) {
    asked.emplace_back(aRow, aCol);
    isPassword = aCol == 2;
  };
  grid_.SetCells(2, 1, "s\xc3\xa9" "cret");
  grid_.SetCells(2, 2, "<B>hidden</B>");
  grid_.SetCells(3, 1, "open");
  EXPECT_EQ(Spoken(2, 1), "******") << "one mask character for each character";
  EXPECT_EQ(Spoken(2, 2), QString(13, '*')) << "masked as drawn: tags and all";
  EXPECT_EQ(Spoken(3, 1), "open");
  ASSERT_FALSE(asked.empty());
  EXPECT_EQ(asked.front(), std::make_pair(1, 2)) << "the event gets the row first";
  for (int col = 0; col < 4; ++col)
    for (int row = 0; row < 3; ++row) EXPECT_FALSE(Spoken(col, row).contains("cret"));
}

TEST_F(CellGridAccessible, APasswordCellIsMaskedWithTheGridsCharacterAndWhenItsHandlerFails) {
  grid_.SetPasswordChar('#');
  grid_.OnIsPasswordCell = [](TObject*, int, int aCol, bool& isPassword) {
    if (aCol == 3) throw std::runtime_error("no answer");
    isPassword = aCol == 2;
  };
  grid_.SetCells(2, 1, "abc");
  grid_.SetCells(3, 1, "secret");
  EXPECT_EQ(Spoken(2, 1), "###");
  EXPECT_EQ(Spoken(3, 1), "######") << "a failing handler never lets the text out";
}

TEST_F(CellGridAccessible, AHiddenColumnIsSkippedAsOnTheScreen) {
  for (int col = 0; col < 4; ++col) grid_.SetCells(col, 0, "c" + std::to_string(col));
  grid_.HideColumn(1);
  QAccessibleTableInterface* table = QAccessible::queryAccessibleInterface(&grid_)->tableInterface();
  EXPECT_EQ(table->columnCount(), 3);
  EXPECT_EQ(Spoken(1, 0), "c2");
  EXPECT_EQ(Spoken(2, 0), "c3");
}

TEST_F(CellGridAccessible, ChangesToCellsInViewAreTold) {
  grid_.SetRowCount(500);
  grid_.ShowFocused(300, 200);
  TAssistiveTool tool;
  grid_.SetCells(1, 2, "Mon");
  EXPECT_EQ(tool.Heard(), std::vector<std::string>({"Value 1,2", "Name 1,2"}));
  EXPECT_EQ(Spoken(1, 2), "Mon");

  tool.Forget();
  grid_.SetCells(1, 400, "far below");
  grid_.SetCells(3, 1000, "beyond the rows");
  EXPECT_TRUE(tool.Heard().empty()) << "a reader meets cells out of view when it gets there";

  grid_.HideColumn(0);
  tool.Forget();
  grid_.SetCells(2, 1, "Tue");
  EXPECT_EQ(tool.Heard("Value"), std::vector<std::string>({"Value 1,1"})) << "told by the displayed column";

  tool.Forget();
  grid_.EraseAllCells();
  EXPECT_EQ(tool.Heard("DataChanged"), std::vector<std::string>({"DataChanged 0..499"}));
}

TEST_F(CellGridAccessible, NothingIsToldWhileNoToolListens) {
  grid_.ShowFocused(300, 200);
  QAccessibleInterface* cell = QAccessible::queryAccessibleInterface(&grid_)->tableInterface()->cellAt(1, 1);
  const QAccessible::Id id = QAccessible::uniqueId(cell);
  grid_.SetCells(1, 1, "Wed");
  grid_.SetRowCount(10);
  {
    TAssistiveTool tool;
    QCoreApplication::processEvents();
    EXPECT_TRUE(tool.Heard().empty()) << "no notice was kept back for later";
  }
  EXPECT_EQ(QAccessible::accessibleInterface(id), cell);
  EXPECT_EQ(cell->text(QAccessible::Name), "Wed") << "asked, the cell still answers";
}

}  // namespace
}  // namespace kelvora
