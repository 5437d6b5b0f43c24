// The main window through a screen reader: the dates "Get Data" writes are a
// table of cells it can read, and it hears of the new rows once.

#include <QAccessible>

#include "common/assistive_tool.h"
#include "form1_fixture.h"

namespace kelvora::testing {
namespace {

using Form1Accessible = Form1Test;

TEST_F(Form1Accessible, AReaderFindsTheDatesInTheGrid) {
  TAssistiveTool tool;
  ClickOpen(SamplePath());
  ClickGetData();
  SettleEvents();

  QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(&Grid());
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->role(), QAccessible::Table);
  EXPECT_EQ(grid->parent()->object(), Grid().parentWidget());
  QAccessibleTableInterface* table = grid->tableInterface();
  ASSERT_EQ(table->rowCount(), Grid().RowCount());
  ASSERT_EQ(table->columnCount(), 7);
  for (int col = 0; col < 7; ++col)
    EXPECT_EQ(table->cellAt(0, col)->text(QAccessible::Name), QString::fromStdString(Grid().Cells(col, 0)));
  EXPECT_EQ(tool.Heard("RowsInserted"),
            std::vector<std::string>({"RowsInserted 1.." + std::to_string(Grid().RowCount() - 1)}));
}

}  // namespace
}  // namespace kelvora::testing
