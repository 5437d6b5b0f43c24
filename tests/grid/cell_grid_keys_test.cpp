// The grid's own keys driven as a person presses them: Delete and Insert on
// rows with every modifier, Space on a check box, Tab past fixed right
// columns.
#include <QKeyEvent>
#include <QPaintEvent>
#include <QRegion>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "cell_grid_keys_support.h"

namespace kelvora {
namespace {

using grid_test::RowKeys;
using grid_test::TPaintWatch;
using Events = std::vector<std::string>;

// --- Delete and Insert, from a table --------------------------------------------------

struct TRowKeyCase {
  const char* name;
  int rows;
  int current;
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  std::function<void(TCellGrid&)> configure;  // beyond the main window's settings
  const char* cells;   // the first column afterwards
  int currentAfter;
  Events events;
};

class RowKeyTable : public RowKeys, public ::testing::WithParamInterface<TRowKeyCase> {};

TEST_P(RowKeyTable, ChangesTheRowsAsTheKeySays) {
  const TRowKeyCase& c = GetParam();
  Fill(c.rows);
  if (c.configure) c.configure(grid);
  Show();
  GoToRow(c.current);
  Key(c.key, c.modifiers);
  EXPECT_EQ(FirstColumn(), c.cells);
  EXPECT_EQ(grid.Row(), c.currentAfter);
  EXPECT_EQ(events, c.events);
  EXPECT_TRUE(RowsIntact());
  EXPECT_FALSE(BoxOpen());
  EXPECT_EQ(grid.CheckConsistency(), "");
}

const auto kInsertOn = [](TCellGrid& g) { g.Navigation().AllowInsertRow = true; };
const auto kInsertAfter = [](TCellGrid& g) {
  g.Navigation().AllowInsertRow = true;
  g.Navigation().InsertPosition = pInsertAfter;
};

INSTANTIATE_TEST_SUITE_P(
    CellGridKeys, RowKeyTable,
    ::testing::Values(
        TRowKeyCase{"DeleteRemovesTheCurrentRow", 4, 1, Qt::Key_Delete, Qt::NoModifier, {}, "r0 r2 r3", 1,
                    {"CanDelete 1", "AutoDelete 1"}},
        TRowKeyCase{"CtrlDeleteToo", 4, 1, Qt::Key_Delete, Qt::ControlModifier, {}, "r0 r2 r3", 1,
                    {"CanDelete 1", "AutoDelete 1"}},
        TRowKeyCase{"ShiftDeleteToo", 4, 1, Qt::Key_Delete, Qt::ShiftModifier, {}, "r0 r2 r3", 1,
                    {"CanDelete 1", "AutoDelete 1"}},
        TRowKeyCase{"CtrlShiftDeleteToo", 4, 2, Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier, {},
                    "r0 r1 r3", 2, {"CanDelete 2", "AutoDelete 2"}},
        TRowKeyCase{"AltDeleteDoesNothing", 4, 1, Qt::Key_Delete, Qt::AltModifier, {}, "r0 r1 r2 r3", 1, {}},
        TRowKeyCase{"DeleteOnTheLastRowMakesTheRowAboveCurrent", 4, 3, Qt::Key_Delete, Qt::NoModifier, {},
                    "r0 r1 r2", 2, {"CanDelete 3", "AutoDelete 3"}},
        TRowKeyCase{"DeleteOnTheFirstRow", 4, 0, Qt::Key_Delete, Qt::NoModifier, {}, "r1 r2 r3", 0,
                    {"CanDelete 0", "AutoDelete 0"}},
        TRowKeyCase{"DeleteOnTheOnlyRowEmptiesIt", 1, 0, Qt::Key_Delete, Qt::NoModifier, {}, "-", 0,
                    {"CanDelete 0", "AutoDelete 0"}},
        TRowKeyCase{"DeleteWithDeletingOffDoesNothing", 4, 1, Qt::Key_Delete, Qt::NoModifier,
                    [](TCellGrid& g) { g.Navigation().AllowDeleteRow = false; }, "r0 r1 r2 r3", 1, {}},
        TRowKeyCase{"DeleteAboveAFooterKeepsTheFooter", 4, 2, Qt::Key_Delete, Qt::NoModifier,
                    [](TCellGrid& g) { g.SetFixedFooters(1); }, "r0 r1 r3", 1, {"CanDelete 2", "AutoDelete 2"}},
        TRowKeyCase{"DeleteOnTheOnlyRowBetweenFixedRowsEmptiesIt", 3, 1, Qt::Key_Delete, Qt::NoModifier,
                    [](TCellGrid& g) {
                      g.SetFixedRows(1);
                      g.SetFixedFooters(1);
                    },
                    "r0 - r2", 1, {"CanDelete 1", "AutoDelete 1"}},
        TRowKeyCase{"InsertIsOffInTheMainWindow", 4, 1, Qt::Key_Insert, Qt::NoModifier, {}, "r0 r1 r2 r3", 1, {}},
        TRowKeyCase{"InsertPutsARowBeforeAndGoesThere", 4, 1, Qt::Key_Insert, Qt::NoModifier, kInsertOn,
                    "r0 - r1 r2 r3", 1, {"CanInsert 1", "AutoInsert 1"}},
        TRowKeyCase{"InsertAfterPutsARowBelowAndGoesThere", 4, 1, Qt::Key_Insert, Qt::NoModifier, kInsertAfter,
                    "r0 r1 - r2 r3", 2, {"CanInsert 1", "AutoInsert 2"}},
        TRowKeyCase{"InsertAfterTheLastRow", 4, 3, Qt::Key_Insert, Qt::NoModifier, kInsertAfter, "r0 r1 r2 r3 -",
                    4, {"CanInsert 3", "AutoInsert 4"}},
        TRowKeyCase{"CtrlInsertInsertsNothing", 4, 1, Qt::Key_Insert, Qt::ControlModifier, kInsertOn,
                    "r0 r1 r2 r3", 1, {}},
        TRowKeyCase{"ShiftInsertInsertsNothing", 4, 1, Qt::Key_Insert, Qt::ShiftModifier, kInsertOn,
                    "r0 r1 r2 r3", 1, {}},
        TRowKeyCase{"AltInsertInsertsNothing", 4, 1, Qt::Key_Insert, Qt::AltModifier, kInsertOn, "r0 r1 r2 r3",
                    1, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Delete: handlers and the edit box ----------------------------------------------------

TEST_F(RowKeys, AHandlerThatRefusesLeavesEverything) {
  grid.OnCanDeleteRow = [](TObject*, int, bool& canDelete) { canDelete = false; };
  Show();
  GoToRow(2);
  Key(Qt::Key_Delete);
  EXPECT_EQ(FirstColumn(), "r0 r1 r2 r3");
  EXPECT_EQ(grid.Row(), 2);
}

TEST_F(RowKeys, DeleteInsideTheEditBoxEditsItsText) {
  Show();
  GoToRow(1);
  Key(Qt::Key_F2);
  Key(Qt::Key_Home);
  Key(Qt::Key_Delete);
  ASSERT_TRUE(BoxOpen());
  EXPECT_EQ(BoxText(), "1");
  EXPECT_EQ(grid.Cells(0, 1), "1");
  EXPECT_EQ(grid.RowCount(), 4);
  EXPECT_TRUE(events.empty());
}

TEST_F(RowKeys, HiddenColumnsLeaveWithTheirRow) {
  grid.HideColumn(1);
  Show();
  GoToRow(1);
  Key(Qt::Key_Delete);
  EXPECT_EQ(grid.Cells(1, 1), "s2");
  EXPECT_EQ(grid.Cells(1, 2), "s3");
  EXPECT_EQ(grid.Cells(1, 3), "");
}

TEST_F(RowKeys, DeletingTheOnlyRowEmptiesItsHiddenCellsToo) {
  Fill(1);
  grid.HideColumn(1);
  Show();
  Key(Qt::Key_Delete);
  EXPECT_EQ(grid.Cells(0, 0), "");
  EXPECT_EQ(grid.Cells(1, 0), "");
  EXPECT_EQ(grid.RowCount(), 1);
}

TEST_F(RowKeys, AHandlerThatDeletesRowsItselfIsLeftToIt) {
  grid.OnCanDeleteRow = [this](TObject*, int, bool&) { grid.RemoveRows(0, 1); };
  Show();
  GoToRow(2);
  Key(Qt::Key_Delete);
  EXPECT_EQ(FirstColumn(), "r1 r2 r3");
  EXPECT_TRUE(RowsIntact());
  EXPECT_LT(grid.Row(), grid.RowCount());
}

TEST_F(RowKeys, AHandlerThatThrowsChangesNothingAndIsShown) {
  grid.OnCanDeleteRow = [](TObject*, int, bool&) { throw std::runtime_error("no deleting today"); };
  Show();
  GoToRow(1);
  Key(Qt::Key_Delete);
  EXPECT_EQ(FirstColumn(), "r0 r1 r2 r3");
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].find("no deleting today"), std::string::npos);
  // The grid takes the next key as before.
  grid.OnCanDeleteRow = {};
  Key(Qt::Key_Delete);
  EXPECT_EQ(FirstColumn(), "r0 r2 r3");
}

TEST_F(RowKeys, AnAutoDeleteHandlerMayWriteCells) {
  grid.OnAutoDeleteRow = [this](TObject*, int row) {
    grid.SetCells(2, row, "after");
    grid.SetCells(2, row + 10, "far");
  };
  Show();
  GoToRow(1);
  Key(Qt::Key_Delete);
  EXPECT_EQ(FirstColumn(), "r0 r2 r3");
  EXPECT_EQ(grid.Cells(2, 1), "after");
  EXPECT_EQ(grid.Cells(2, 11), "far");
  EXPECT_TRUE(RowsIntact());
  EXPECT_EQ(grid.CheckConsistency(), "");
}

TEST_F(RowKeys, DeleteWithoutNormalRowsDoesNothing) {
  Fill(2);
  grid.SetFixedRows(1);
  grid.SetFixedFooters(1);
  Show();
  Key(Qt::Key_Delete);
  EXPECT_EQ(FirstColumn(), "r0 r1");
  EXPECT_TRUE(events.empty());
  grid.SetFixedRows(0);
  grid.SetRowCount(0);
  Key(Qt::Key_Delete);
  EXPECT_EQ(grid.RowCount(), 0);
  EXPECT_TRUE(events.empty());
}

TEST_F(RowKeys, DeletingEveryRowOneByOneEndsWithOneEmptyRow) {
  Show();
  GoToRow(1);
  for (int i = 0; i < 6; ++i) {
    Key(Qt::Key_Delete);
    ASSERT_LT(grid.Row(), grid.RowCount());
    ASSERT_TRUE(RowsIntact());
  }
  EXPECT_EQ(FirstColumn(), "-");
  EXPECT_EQ(grid.Cells(1, 0), "");
}

// A held key arrives as a run of auto-repeated presses; every one deletes a
// row, and no row loses its cells or takes another's.
TEST_F(RowKeys, DeleteHeldDownOnAMillionRows) {
  constexpr int kRows = 1'000'000;
  constexpr int kRepeats = 300;
  Fill(0);
  grid.SetRowCount(kRows);
  for (int row = 0; row < kRows; ++row) {
    const std::string number = std::to_string(row);
    grid.SetCells(0, row, "r" + number);
    grid.SetCells(1, row, "s" + number);
  }
  Show();
  GoToRow(kRows / 2);
  for (int i = 0; i < kRepeats; ++i) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QString(), i > 0);
    QCoreApplication::sendEvent(FocusTarget(), &press);
  }
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier);
  QCoreApplication::sendEvent(FocusTarget(), &release);
  EXPECT_EQ(grid.RowCount(), kRows - kRepeats);
  EXPECT_EQ(grid.Row(), kRows / 2);
  EXPECT_EQ(grid.Cells(0, kRows / 2 - 1), "r" + std::to_string(kRows / 2 - 1));
  EXPECT_EQ(grid.Cells(0, kRows / 2), "r" + std::to_string(kRows / 2 + kRepeats));
  EXPECT_EQ(grid.Cells(1, kRows / 2), "s" + std::to_string(kRows / 2 + kRepeats));
  EXPECT_EQ(grid.Cells(0, kRows - kRepeats - 1), "r" + std::to_string(kRows - 1));
  EXPECT_EQ(grid.Cells(0, kRows - kRepeats), "");
  EXPECT_EQ(events.size(), 2u * kRepeats);
  EXPECT_EQ(grid.CheckConsistency(), "");
}

// --- The selection frame ----------------------------------------------------------------

// The frame is drawn along the outer edge of the selection by the cells at
// its edge, so a grown selection repaints more than the cells it gained.
TEST_F(RowKeys, AChangedSelectionRedrawsItsFrame) {
  for (const bool frame : {false, true}) {
    grid.SetSelectionRectangle(frame);
    Show();
    GoToRow(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid.Paints > 0; }, grid_test::kPatience));
    QCoreApplication::processEvents();
    TPaintWatch watch(grid.viewport());
    Key(Qt::Key_Down, Qt::ShiftModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return watch.Paints > 0; }, grid_test::kPatience));
    // A cell well away from the selection is painted only for the frame.
    const TRect away = grid.CellRect(2, 3);
    EXPECT_EQ(watch.Painted.contains(QPoint(away.Left + 2, away.Top + 2)), frame) << "frame " << frame;
  }
}

// --- Space on a check box -------------------------------------------------------------

class CheckBoxKeys : public RowKeys {
 protected:
  void SetUp() override {
    RowKeys::SetUp();
    grid.SetEnableGraphics(true);
    grid.SetCellGraphic(0, 1, std::make_unique<TCellCheckBox>());
    grid.OnCheckBoxClick = [this](TObject*, int col, int row, bool state) {
      events.push_back("CheckBox " + std::to_string(col) + "," + std::to_string(row) + (state ? " on" : " off"));
    };
  }
  bool Checked() const { return static_cast<TCellCheckBox*>(grid.CellGraphic(0, 1))->Checked(); }
};

TEST_F(CheckBoxKeys, SpaceTogglesItWithoutTypingOverTheCell) {
  Show();
  GoToRow(1);
  Key(Qt::Key_Space);
  EXPECT_TRUE(Checked());
  EXPECT_FALSE(BoxOpen());
  EXPECT_EQ(grid.Cells(0, 1), "r1");
  Key(Qt::Key_Space);
  EXPECT_FALSE(Checked());
  EXPECT_EQ(events, (Events{"CheckBox 0,1 on", "CheckBox 0,1 off"}));
  // The next cell has no check box: Space types there as ever.
  Key(Qt::Key_Down);
  Key(Qt::Key_Space);
  EXPECT_TRUE(BoxOpen());
  EXPECT_EQ(grid.Cells(0, 2), " ");
}

// A click on the drawn box toggles it, first click included; a click on
// the cell beside the box only makes the cell current. No edit box opens
// over a check box, however the cell is reached.
TEST_F(CheckBoxKeys, AClickOnTheBoxTogglesItAndNoEditBoxOpensOverIt) {
  Show();
  GoToRow(0);
  const TRect box = static_cast<TCellCheckBox*>(grid.CellGraphic(0, 1))->BoxRect(grid.CellRect(0, 1));
  const QPoint inBox((box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2);
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, inBox);
  EXPECT_TRUE(Checked());
  EXPECT_EQ(grid.Row(), 1);
  const TRect cell = grid.CellRect(0, 1);
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(cell.Right - 3, inBox.y()));
  EXPECT_TRUE(Checked());
  Key(Qt::Key_F2);
  Key(Qt::Key_X);
  EXPECT_FALSE(BoxOpen());
  EXPECT_EQ(grid.Cells(0, 1), "r1");
  EXPECT_EQ(events, (Events{"CheckBox 0,1 on"}));
}

// Without graphics nothing is drawn, and the cell is edited as any other.
TEST_F(CheckBoxKeys, WithoutGraphicsTheCellIsAPlainOne) {
  grid.SetEnableGraphics(false);
  Show();
  GoToRow(1);
  Key(Qt::Key_Space);
  EXPECT_FALSE(Checked());
  EXPECT_TRUE(BoxOpen());
  EXPECT_EQ(grid.Cells(0, 1), " ");
}

TEST_F(CheckBoxKeys, ACellThatMayNotBeEditedKeepsItsState) {
  grid.OnCanEditCell = [](TObject*, int row, int, bool& canEdit) { canEdit = row != 1; };
  Show();
  GoToRow(1);
  Key(Qt::Key_Space);
  EXPECT_FALSE(Checked());
  EXPECT_TRUE(events.empty());
}

// --- Tab past fixed right columns -------------------------------------------------------

struct TTabCase {
  const char* name;
  int col, row;
  int colAfter, rowAfter;
};

class TabWrap : public RowKeys, public ::testing::WithParamInterface<TTabCase> {
 protected:
  void SetUp() override {
    RowKeys::SetUp();
    grid.SetColCount(4);
    grid.SetFixedRightCols(1);
    TGridOptions options = grid.Options();
    options.insert(goTabs);
    grid.SetOptions(options);
  }
};

TEST_P(TabWrap, GoesOnToTheNextRowsFirstColumn) {
  Show();
  grid.SetCol(GetParam().col);
  GoToRow(GetParam().row);
  Key(Qt::Key_Tab);
  EXPECT_EQ(grid.Col(), GetParam().colAfter);
  EXPECT_EQ(grid.Row(), GetParam().rowAfter);
}

INSTANTIATE_TEST_SUITE_P(CellGridKeys, TabWrap,
                         ::testing::Values(TTabCase{"WithinTheRow", 1, 1, 2, 1},
                                           TTabCase{"FromTheLastNormalColumn", 2, 1, 0, 2},
                                           TTabCase{"FromTheLastNormalCellToTheFirst", 2, 3, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelvora
