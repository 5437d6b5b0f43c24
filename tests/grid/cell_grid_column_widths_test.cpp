#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>

#include "cell_grid_test_support.h"

namespace kelvora {
namespace {

// Each test keeps its settings in a folder of its own.
class CellGridColumnWidths : public ::testing::Test {
 protected:
  void SetUp() override { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path()); }

  // A grid named as the main window names it, in its form, shown.
  std::unique_ptr<QWidget> Form(int cols, bool save) {
    auto form = std::make_unique<QWidget>();
    form->setObjectName("Form1");
    auto* grid = new grid_test::TTestCellGrid;
    grid->setParent(form.get());
    grid->setObjectName("CellGrid1");
    grid->SetColCount(cols);
    grid->ColumnSize().Save = save;
    form->resize(400, 300);
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    return form;
  }
  static TCellGrid& GridOf(QWidget& form) { return *form.findChild<TCellGrid*>("CellGrid1"); }

  QTemporaryDir dir_;
};

TEST_F(CellGridColumnWidths, AreSavedWhenTheGridGoesAndLoadedWhenItsWindowIsMade) {
  {
    auto form = Form(3, true);
    GridOf(*form).SetColWidths(0, 40);
    GridOf(*form).SetColWidths(2, 90);
  }
  auto form = Form(3, true);
  EXPECT_EQ(GridOf(*form).ColWidths(0), 40);
  EXPECT_EQ(GridOf(*form).ColWidths(1), 64);
  EXPECT_EQ(GridOf(*form).ColWidths(2), 90);
}

TEST_F(CellGridColumnWidths, StaleCorruptOrUnwantedEntriesAreIgnored) {
  { GridOf(*Form(3, true)).SetColWidths(0, 40); }
  EXPECT_EQ(GridOf(*Form(4, true)).ColWidths(0), 64);  // another column count
  EXPECT_EQ(GridOf(*Form(3, false)).ColWidths(0), 64);  // Save off
  QSettings(QSettings::NativeFormat, QSettings::UserScope, "Kelvora", "Kelvora")
      .setValue("ColumnWidths/Form1/CellGrid1", "40,x,-5");
  EXPECT_EQ(GridOf(*Form(3, true)).ColWidths(0), 64);
}

}  // namespace
}  // namespace kelvora
