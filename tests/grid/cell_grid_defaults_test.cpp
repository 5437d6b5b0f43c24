#include <QStyle>

#include <map>
#include <string>
#include <vector>

#include "cell_grid_test_support.h"
#include "common/main_window_grid.h"

namespace kelvora {
namespace {

TEST(CellGridDefaults, AGridJustMadeHoldsTheConstructionDefaults) {
  TCellGrid grid;
  const std::map<std::string, std::string> settings = testing::PublishedSettings(grid);
  for (const auto& [name, value] : testing::ConstructionDefaults()) EXPECT_EQ(settings.at(name), value) << name;
}

TEST(CellGridDefaults, TheScrollWidthIsTheSystemsScrollBarWidth) {
  TCellGrid grid;
  EXPECT_EQ(grid.ScrollWidth(), grid.style()->pixelMetric(QStyle::PM_ScrollBarExtent));
  EXPECT_EQ(grid.WheelScrollLines(), std::max(QApplication::wheelScrollLines(), 1));
}

TEST(CellGridDefaults, EveryColumnIsVisibleAtFirst) {
  TCellGrid grid;
  for (int col = 0; col < TCellGrid::kHideableColumns; ++col) {
    ASSERT_FALSE(grid.IsHiddenColumn(col)) << col;
    ASSERT_EQ(grid.DisplayToDataColumn(col), col);
  }
}

TEST(CellGridDefaults, TheNavigationOptionsOfTheKeyboardStartOff) {
  TCellGrid grid;
  const TNavigation& n = grid.Navigation();
  for (bool option : {n.AllowInsertRow, n.AllowDeleteRow, n.AdvanceOnEnter, n.AdvanceInsert,
                      n.AllowClipboardShortCuts, n.AutoGotoWhenSorted, n.AutoGotoIncremental,
                      n.AlwaysEdit, n.AdvanceAuto, n.CursorWalkEditor, n.LineFeedOnEnter})
    EXPECT_FALSE(option);
  EXPECT_EQ(n.AdvanceDirection, adLeftRight);
  EXPECT_EQ(n.InsertPosition, pInsertBefore);
  EXPECT_FALSE(grid.MouseActions().DirectEdit);
  EXPECT_FALSE(grid.MouseActions().DisjunctRowSelect);
  EXPECT_FALSE(grid.SizeWhileTyping().Width);
  EXPECT_FALSE(grid.ColumnSize().Save);
  EXPECT_TRUE(grid.BackGround().Bitmap.Empty());
  EXPECT_EQ(grid.BackGround().Display, bdTile);
  EXPECT_EQ(grid.BackGround().Cells, bcNormal);
  EXPECT_TRUE(grid.LookupItems().empty());
}

TEST(CellGridLifecycle, LoadingAppliesTheHeaderListsToTheFirstRowAndColumn) {
  TCellGrid grid;
  grid.ColumnHeaders() = {"", "Day", "Month"};
  grid.RowHeaders() = {"", "first", "second"};
  grid.Loaded();
  EXPECT_EQ(grid.Cells(1, 0), "Day");
  EXPECT_EQ(grid.Cells(2, 0), "Month");
  EXPECT_EQ(grid.Cells(0, 1), "first");
  EXPECT_EQ(grid.Cells(0, 2), "second");
}

TEST(CellGridLifecycle, TheTimerStartsWithTheWindowAndTogglesTheBlinkPhase) {
  grid_test::TTestCellGrid grid;
  const bool phase = grid.BlinkPhase();
  grid.show();
  EXPECT_TRUE(QTest::qWaitFor([&] { return grid.BlinkPhase() != phase; }, grid_test::kPatience));
}

// The grid keeps an eye on its form's size and lets every other listener
// see the resize too; it stops watching when it goes, whichever goes first.
TEST(CellGridLifecycle, FollowsItsFormWithoutTakingItsResizeAway) {
  QWidget form;
  form.resize(250, 289);
  int formResizes = 0;
  struct TResizeCounter : QObject {
    int* count;
    explicit TResizeCounter(int* c) : count(c) {}
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Resize) ++*count;
      return false;
    }
  } counter(&formResizes);
  form.installEventFilter(&counter);
  auto* grid = new TCellGrid(&form);
  EXPECT_EQ(grid->OwnerFormSize().cx, 250);
  EXPECT_EQ(grid->OwnerFormSize().cy, 289);
  QResizeEvent resize(QSize(300, 320), QSize(250, 289));
  QCoreApplication::sendEvent(&form, &resize);
  EXPECT_EQ(formResizes, 1);
  delete grid;
  QCoreApplication::sendEvent(&form, &resize);
  EXPECT_EQ(formResizes, 2);
}

}  // namespace
}  // namespace kelvora
