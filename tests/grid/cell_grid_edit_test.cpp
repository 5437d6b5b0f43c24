#include <QLineEdit>
#include <QPaintEvent>
#include <QRegion>
#include <QVBoxLayout>

#include <functional>
#include <string>
#include <vector>

#include "cell_grid_edit_support.h"

namespace kelvora {
namespace {

using grid_test::CellEditing;
using grid_test::TPaintWatch;

// --- Opening the edit box -----------------------------------------------------------

struct TOpening {
  const char* name;
  std::function<void(CellEditing&)> open;
  const char* cell;      // the cell's text afterwards
  const char* selected;  // the box's selection afterwards
  int caret;             // where the selection starts
};

class EditOpening : public CellEditing, public ::testing::WithParamInterface<TOpening> {};

TEST_P(EditOpening, OpensOnTheCurrentCell) {
  Show();
  GetParam().open(*this);
  ASSERT_TRUE(BoxOpen());
  EXPECT_EQ(grid.Cells(0, 0), GetParam().cell);
  EXPECT_EQ(BoxText(), GetParam().cell);
  EXPECT_EQ(BoxSelection(), GetParam().selected);
  EXPECT_EQ(Box()->SelStart(), GetParam().caret);
}

INSTANTIATE_TEST_SUITE_P(
    CellGridEdit, EditOpening,
    ::testing::Values(
        TOpening{"TypingReplacesTheText", [](CellEditing& t) { t.Type("x"); }, "x", "", 1},
        TOpening{"BackspaceEmptiesIt", [](CellEditing& t) { t.Key(Qt::Key_Backspace); }, "", "", 0},
        TOpening{"F2PutsTheCaretAtTheEnd", [](CellEditing& t) { t.Key(Qt::Key_F2); }, "abc", "", 3},
        TOpening{"EnterSelectsAll", [](CellEditing& t) { t.Key(Qt::Key_Return); }, "abc", "abc", 0},
        TOpening{"AClickOnTheCurrentCellSelectsAll", [](CellEditing& t) { t.ClickCell(0, 0); }, "abc",
                 "abc", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CellEditing, AClickOnAnotherCellOnlySelectsIt) {
  Show();
  ClickCell(1, 0);
  EXPECT_EQ(grid.Col(), 1);
  EXPECT_FALSE(BoxOpen());
}

TEST_F(CellEditing, EditorModeFollowsTheCurrentCellUntilEnter) {
  Show();
  Key(Qt::Key_F2);
  Key(Qt::Key_Down);
  ASSERT_TRUE(BoxOpen());
  EXPECT_EQ(BoxText(), "below");
  ClickCell(1, 0);
  ASSERT_TRUE(BoxOpen());
  EXPECT_EQ(BoxText(), "right");
  Key(Qt::Key_Return);
  EXPECT_FALSE(BoxOpen());
  Key(Qt::Key_Left);
  EXPECT_FALSE(BoxOpen());
  EXPECT_EQ(grid.Cells(0, 0), "abc");
  EXPECT_EQ(grid.Cells(1, 0), "right");
}

TEST_F(CellEditing, EveryKeystrokeReachesTheCell) {
  Show();
  Key(Qt::Key_F2);
  Type("de");
  EXPECT_EQ(grid.Cells(0, 0), "abcde");
  Key(Qt::Key_Left);
  Key(Qt::Key_Backspace);
  EXPECT_EQ(grid.Cells(0, 0), "abce");
  Key(Qt::Key_Delete);  // in the box Delete edits the text
  EXPECT_EQ(grid.Cells(0, 0), "abc");
  EXPECT_EQ(grid.RowCount(), 3);
}

TEST_F(CellEditing, AKeystrokeRepaintsItsCellAlone) {
  Show();
  Key(Qt::Key_Down);
  Key(Qt::Key_F2);
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  TPaintWatch watch(grid.viewport());
  Type("x");
  ASSERT_TRUE(QTest::qWaitFor([&] { return watch.Paints > 0; }, grid_test::kPatience));
  const TRect cell = grid.CellRect(0, 1);
  const QRect around(cell.Left - 1, cell.Top - 1, cell.Width() + 2, cell.Height() + 2);
  EXPECT_TRUE(around.contains(watch.Painted.boundingRect())) << watch.Painted.boundingRect().x() << ","
                                                             << watch.Painted.boundingRect().y() << " "
                                                             << watch.Painted.boundingRect().width() << "x"
                                                             << watch.Painted.boundingRect().height();
  EXPECT_EQ(grid.Cells(0, 1), "belowx");
}

TEST_F(CellEditing, EditsAHiddenColumnsNeighbourThroughItsDataColumn) {
  grid.HideColumn(0);  // displayed column 0 now shows stored column 1
  Show();
  Type("x");
  EXPECT_EQ(grid.Cells(1, 0), "x");
  EXPECT_EQ(grid.Cells(0, 0), "abc");
}

// --- Escape -------------------------------------------------------------------------

TEST_F(CellEditing, EscapeBringsTheTextBackAndKeepsTheBoxOpenWithItSelected) {
  Show();
  Type("x");
  EXPECT_EQ(grid.Cells(0, 0), "x");
  Key(Qt::Key_Escape);
  EXPECT_EQ(grid.Cells(0, 0), "abc");
  ASSERT_TRUE(BoxOpen());
  EXPECT_EQ(BoxSelection(), "abc");
  Key(Qt::Key_Return);
  EXPECT_FALSE(BoxOpen());
  EXPECT_EQ(grid.Cells(0, 0), "abc");
}

TEST_F(CellEditing, EscapeGoesBackToTheTextOfTheLatestOpening) {
  Show();
  Type("x");
  Key(Qt::Key_Return);
  Key(Qt::Key_F2);
  Type("y");
  Key(Qt::Key_Escape);
  EXPECT_EQ(grid.Cells(0, 0), "x");
  // And on the grid, after Enter, Escape goes back as well.
  Type("z");
  Key(Qt::Key_Return);
  ASSERT_FALSE(BoxOpen());
  Key(Qt::Key_Escape);
  EXPECT_EQ(grid.Cells(0, 0), "x");
  EXPECT_FALSE(BoxOpen());
}

TEST_F(CellEditing, EscapeWithoutEditingInTheGridChangesNothing) {
  grid.SetOptions(grid.Options().erase(goEditing));
  Show();
  Key(Qt::Key_Escape);
  Key(Qt::Key_Down);
  Key(Qt::Key_Escape);
  EXPECT_EQ(grid.Cells(0, 0), "abc");
  EXPECT_EQ(grid.Cells(0, 1), "below");
}

// The program writes the cell that Escape would restore: its text stays.
struct TProgramWrite {
  const char* name;
  bool boxOpen;  // the user is editing the cell meanwhile
  std::function<void(grid_test::TTestCellGrid&)> write;
  const char* kept;  // the first column after Escape, rows apart by "|"
};

class EscapeAfterTheProgramWrote : public CellEditing, public ::testing::WithParamInterface<TProgramWrite> {};

TEST_P(EscapeAfterTheProgramWrote, KeepsTheProgramsText) {
  Show();
  Key(Qt::Key_Down);
  Key(Qt::Key_Up);  // (0,0) selected: its revert text is "abc"
  if (GetParam().boxOpen) Type("typed");
  GetParam().write(grid);
  Key(Qt::Key_Escape);
  EXPECT_EQ(grid.Cells(0, 0) + "|" + grid.Cells(0, 1) + "|" + grid.Cells(0, 2), GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(
    CellGridEdit, EscapeAfterTheProgramWrote,
    ::testing::Values(
        // As "Get Data" does: everything emptied, then rows written anew.
        TProgramWrite{"GetDataRefill", false,
                      [](grid_test::TTestCellGrid& g) {
                        g.EraseAllCells();
                        g.SetRowCount(1);
                        g.SetColCount(7);
                        for (int row = 0; row < 3; ++row) {
                          g.SetRowCount(row + 1);
                          for (int col = 0; col < 7; ++col) g.SetCells(col, row, row == 0 ? "Mon" : "x");
                        }
                      },
                      "Mon|x|x"},
        TProgramWrite{"CellWritten", false, [](grid_test::TTestCellGrid& g) { g.SetCells(0, 0, "Mon"); },
                      "Mon|below|"},
        TProgramWrite{"CellsErased", false, [](grid_test::TTestCellGrid& g) { g.EraseAllCells(); }, "||"},
        TProgramWrite{"CellWrittenWhileEditing", true,
                      [](grid_test::TTestCellGrid& g) { g.SetCells(0, 0, "Mon"); }, "Mon|below|"},
        // The current cell moves down with its row: Escape still knows it.
        TProgramWrite{"RowInsertedAbove", false,
                      [](grid_test::TTestCellGrid& g) {
                        g.InsertRow(0);
                        g.SetCells(0, 0, "new");
                        g.SetCells(0, 1, "changed");
                      },
                      "new|changed|below"},
        // The row below takes the current row's place: its text is not the
        // one Escape knows, so nothing is put back.
        TProgramWrite{"RowDeletedUnderIt", false, [](grid_test::TTestCellGrid& g) { g.DeleteRow(0); },
                      "below||"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CellEditing, EscapeAfterTheProgramMovedTheCurrentCellPutsNoForeignTextThere) {
  grid.SetCells(2, 2, "far");
  Show();
  Key(Qt::Key_Down);
  Key(Qt::Key_Up);  // (0,0) selected: its revert text is "abc"
  grid.SetSelection({2, 2, 2, 2});
  Key(Qt::Key_Escape);
  EXPECT_EQ(grid.Cells(2, 2), "far");
  EXPECT_EQ(grid.Cells(0, 0), "abc");
}

TEST_F(CellEditing, EscapeAfterAColumnWasHiddenRestoresNothingForeign) {
  Show();
  Key(Qt::Key_Right);  // (1,0) "right" selected
  Key(Qt::Key_Left);   // (0,0) "abc" selected
  grid.HideColumn(0);  // displayed column 0 is stored column 1 now
  Key(Qt::Key_Escape);
  EXPECT_EQ(grid.Cells(1, 0), "right");
  EXPECT_EQ(grid.Cells(0, 0), "abc");
}

// --- Enter and validation ----------------------------------------------------------

struct TValidatorCall {
  int col;
  int row;
  std::string value;
  bool operator==(const TValidatorCall&) const = default;
};

class CellValidation : public CellEditing {
 protected:
  // Records each call, then lets `decide` change Value and Valid.
  void Validate(std::function<void(std::string&, bool&)> decide = {}) {
    grid.OnCellValidate = [this, decide](TObject* sender, int col, int row, std::string& value, bool& valid) {
      EXPECT_EQ(sender, &grid);
      calls.push_back({col, row, value});
      rowsAtCall.push_back(grid.Row());
      if (decide) decide(value, valid);
    };
  }
  std::vector<TValidatorCall> calls;
  std::vector<int> rowsAtCall;
};

TEST_F(CellValidation, EnterOnAnUnchangedCellValidatesNothing) {
  Validate();
  Show();
  Key(Qt::Key_F2);
  Key(Qt::Key_Return);
  Key(Qt::Key_Return);
  Type("abc");  // the same text typed over it
  Key(Qt::Key_Return);
  EXPECT_TRUE(calls.empty());
  EXPECT_FALSE(BoxOpen());
}

struct TVerdictCase {
  const char* name;
  std::function<void(std::string&, bool&)> decide;
  const char* cell;  // after Enter
  bool boxOpen;
};

class ValidationVerdict : public CellValidation, public ::testing::WithParamInterface<TVerdictCase> {};

TEST_P(ValidationVerdict, OnEnter) {
  Validate(GetParam().decide);
  Show();
  Type("x");
  Key(Qt::Key_Return);
  EXPECT_EQ(calls, (std::vector<TValidatorCall>{{0, 0, "x"}}));
  EXPECT_EQ(grid.Cells(0, 0), GetParam().cell);
  EXPECT_EQ(BoxOpen(), GetParam().boxOpen);
  if (GetParam().boxOpen) {
    EXPECT_EQ(BoxText(), GetParam().cell);
    EXPECT_EQ(grid.Col(), 0);
    EXPECT_EQ(grid.Row(), 0);
  }
  EXPECT_TRUE(shown.empty());  // a verdict is never an error
}

INSTANTIATE_TEST_SUITE_P(
    CellGridEdit, ValidationVerdict,
    ::testing::Values(TVerdictCase{"ValidKeepsTheText", nullptr, "x", false},
                      TVerdictCase{"ValidWithAValueStoresIt", [](std::string& v, bool&) { v = "X!"; }, "X!", false},
                      TVerdictCase{"InvalidRestoresTheTextFromBefore", [](std::string&, bool& ok) { ok = false; },
                                   "abc", true},
                      TVerdictCase{"InvalidWithAValueStoresIt",
                                   [](std::string& v, bool& ok) {
                                     v = "fixed";
                                     ok = false;
                                   },
                                   "fixed", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CellValidation, AfterAnInvalidEnterTheNextEditIsValidatedToo) {
  Validate([](std::string& v, bool& ok) { ok = v.find('!') == std::string::npos; });
  Show();
  Type("no!");
  Key(Qt::Key_Return);
  ASSERT_TRUE(BoxOpen());
  Type("again!");  // over the restored text, all selected
  Key(Qt::Key_Return);
  ASSERT_TRUE(BoxOpen());
  EXPECT_EQ(grid.Cells(0, 0), "abc");
  Type("fine");
  Key(Qt::Key_Return);
  EXPECT_FALSE(BoxOpen());
  EXPECT_EQ(grid.Cells(0, 0), "fine");
  EXPECT_EQ(calls.size(), 3u);
}

TEST_F(CellValidation, ReceivesTheDataColumn) {
  grid.HideColumn(0);
  Validate();
  Show();
  Type("x");
  Key(Qt::Key_Return);
  EXPECT_EQ(calls, (std::vector<TValidatorCall>{{1, 0, "x"}}));
}

// Each moment at which an edit is committed validates it exactly once.
struct TCommitMoment {
  const char* name;
  std::function<void(CellValidation&, QWidget& other)> act;
  int rowAtCall;  // the current row while the handler ran
};

class CommitMoment : public CellValidation, public ::testing::WithParamInterface<TCommitMoment> {};

TEST_P(CommitMoment, ValidatesTheEditOnce) {
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* other = new QLineEdit;
  layout->addWidget(&grid);
  layout->addWidget(other);
  window.resize(400, 300);
  window.show();
  QApplication::setActiveWindow(&window);
  grid.setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return grid.hasFocus(); }, grid_test::kPatience));
  Validate([](std::string&, bool& ok) { ok = false; });
  Type("x");
  GetParam().act(*this, *other);
  EXPECT_EQ(calls, (std::vector<TValidatorCall>{{0, 0, "x"}}));
  EXPECT_EQ(rowsAtCall, std::vector<int>{GetParam().rowAtCall});
  EXPECT_EQ(grid.Cells(0, 0), "abc");
  layout->removeWidget(&grid);
  grid.setParent(nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    CellGridEdit, CommitMoment,
    ::testing::Values(
        TCommitMoment{"EnterInTheBox", [](CellValidation& t, QWidget&) { t.Key(Qt::Key_Return); }, 0},
        TCommitMoment{"MovingBeforeTheMove", [](CellValidation& t, QWidget&) { t.Key(Qt::Key_Down); }, 0},
        TCommitMoment{"ClickingAnotherCell", [](CellValidation& t, QWidget&) { t.ClickCell(1, 1); }, 0},
        TCommitMoment{"FocusLeavingTheGrid",
                      [](CellValidation&, QWidget& other) {
                        other.setFocus();
                        ASSERT_TRUE(QTest::qWaitFor([&] { return other.hasFocus(); }, grid_test::kPatience));
                      },
                      0},
        TCommitMoment{"TabLeavingTheGrid", [](CellValidation& t, QWidget&) { t.Key(Qt::Key_Tab); }, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CellValidation, AMoveAfterAnInvalidEditStillMoves) {
  Validate([](std::string&, bool& ok) { ok = false; });
  Show();
  Type("x");
  Key(Qt::Key_Down);
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(grid.Cells(0, 0), "abc");
  ASSERT_TRUE(BoxOpen());
  EXPECT_EQ(BoxText(), "below");
}

TEST_F(CellValidation, EditsInEachCellOfTheStickyEditorAreValidated) {
  Validate();
  Show();
  Type("one");
  Key(Qt::Key_Down);
  Type("two");
  Key(Qt::Key_Down);
  Type("three");
  Key(Qt::Key_Return);
  EXPECT_EQ(calls, (std::vector<TValidatorCall>{{0, 0, "one"}, {0, 1, "two"}, {0, 2, "three"}}));
}

// --- Enter and line breaks -------------------------------------------------------------

TEST_F(CellEditing, EnterWithLineFeedOnEnterTypesALineBreakAndCtrlEnterCommits) {
  grid.Navigation().LineFeedOnEnter = true;
  int validations = 0;
  grid.OnCellValidate = [&](TObject*, int, int, std::string&, bool&) { ++validations; };
  Show();
  Key(Qt::Key_F2);
  Key(Qt::Key_Return);
  Type("d");
  EXPECT_EQ(grid.Cells(0, 0), "abc\r\nd");
  ASSERT_TRUE(BoxOpen());
  Key(Qt::Key_Return, Qt::ControlModifier);
  EXPECT_FALSE(BoxOpen());
  EXPECT_EQ(validations, 1);
  EXPECT_EQ(grid.Cells(0, 0), "abc\r\nd");
}

TEST_F(CellEditing, CtrlEnterCommitsWithoutLineFeedOnEnterToo) {
  Show();
  Type("x");
  Key(Qt::Key_Return, Qt::ControlModifier);
  EXPECT_FALSE(BoxOpen());
  EXPECT_EQ(grid.Cells(0, 0), "x");
}

TEST_F(CellEditing, UpAndDownMoveInsideAMultiLineTextFirst) {
  grid.SetCells(0, 1, "one\r\ntwo");
  Show();
  Key(Qt::Key_Down);
  Key(Qt::Key_F2);  // caret at the end of "two"
  Key(Qt::Key_Up);
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(Box()->SelStart(), 3);
  Key(Qt::Key_Down);
  EXPECT_EQ(grid.Row(), 1);
  Key(Qt::Key_Down);  // on the last line: to the grid
  EXPECT_EQ(grid.Row(), 2);
  Key(Qt::Key_Up);  // one line only
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(grid.Cells(0, 1), "one\r\ntwo");
}

TEST_F(CellEditing, LeftAndRightWalkOutOfTheBoxOnlyWithCursorWalkEditor) {
  Show();
  Key(Qt::Key_F2);
  Key(Qt::Key_Right);
  EXPECT_EQ(grid.Col(), 0);
  grid.Navigation().CursorWalkEditor = true;
  Key(Qt::Key_Right, Qt::ShiftModifier);  // not with Shift
  EXPECT_EQ(grid.Col(), 0);
  Key(Qt::Key_Right);
  EXPECT_EQ(grid.Col(), 1);
  ASSERT_TRUE(BoxOpen());
  Key(Qt::Key_Home);
  Key(Qt::Key_Left);
  EXPECT_EQ(grid.Col(), 0);
  EXPECT_EQ(grid.Cells(0, 0), "abc");
}

// --- Cells that may not be edited or entered ----------------------------------------

TEST_F(CellEditing, CanEditCellDecidesPerCellAndItsAnswerCarriesOn) {
  std::vector<std::string> asked;
  grid.OnCanEditCell = [&](TObject*, int row, int col, bool& canEdit) {
    asked.push_back(std::to_string(col) + "," + std::to_string(row) + (canEdit ? " yes" : " no"));
    if (col == 1) canEdit = false;
  };
  Show();
  Key(Qt::Key_Right);
  Type("x");
  EXPECT_FALSE(BoxOpen());
  EXPECT_EQ(grid.Cells(1, 0), "right");
  Key(Qt::Key_Down);  // the question starts from the last answer: no
  Type("y");
  EXPECT_EQ(grid.Cells(1, 1), "");
  EXPECT_EQ(asked, (std::vector<std::string>{"1,0 yes", "1,1 no"}));
}

TEST_F(CellEditing, AClickOnTheCurrentCellAsksCanEditCell) {
  bool allow = false;
  grid.OnCanEditCell = [&](TObject*, int, int, bool& canEdit) { canEdit = allow; };
  Show();
  ClickCell(0, 0);
  EXPECT_FALSE(BoxOpen());
  allow = true;
  ClickCell(0, 0);
  EXPECT_TRUE(BoxOpen());
}

struct TRefusal {
  const char* name;
  std::function<void(grid_test::TTestCellGrid&)> refuse;
};

class RefusedMove : public CellEditing, public ::testing::WithParamInterface<TRefusal> {};

TEST_P(RefusedMove, LeavesTheCellAndItsEditAsTheyWere) {
  GetParam().refuse(grid);
  Show();
  Type("x");
  Key(Qt::Key_Down);
  EXPECT_EQ(grid.Row(), 0);
  ASSERT_TRUE(BoxOpen());
  EXPECT_EQ(BoxText(), "x");
  Key(Qt::Key_Escape);  // still reverts this cell's own edit
  EXPECT_EQ(grid.Cells(0, 0), "abc");
  EXPECT_EQ(grid.Cells(0, 1), "below");
}

INSTANTIATE_TEST_SUITE_P(
    CellGridEdit, RefusedMove,
    ::testing::Values(
        TRefusal{"ByRowChanging",
                 [](auto& g) { g.OnRowChanging = [](TObject*, int, int, bool& allow) { allow = false; }; }},
        TRefusal{"ByCellChanging",
                 [](auto& g) {
                   g.OnCellChanging = [](TObject*, int, int, int, int, bool& allow) { allow = false; };
                 }},
        TRefusal{"IntoAFooterRow",
                 [](auto& g) {
                   g.SetRowCount(2);
                   g.SetFixedFooters(1);
                 }},
        TRefusal{"IntoACellReportedFixed",
                 [](auto& g) {
                   g.OnIsFixedCell = [](TObject*, int row, int, bool& fixed) { fixed = row == 1; };
                   g.OnCanEditCell = [](TObject*, int, int, bool& canEdit) { canEdit = false; };
                 }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CellEditing, ChangingEventsSeeTheOldAndTheNewCell) {
  std::vector<std::string> fired;
  grid.OnRowChanging = [&](TObject*, int from, int to, bool&) {
    fired.push_back("row " + std::to_string(from) + ">" + std::to_string(to));
  };
  grid.OnColChanging = [&](TObject*, int from, int to, bool&) {
    fired.push_back("col " + std::to_string(from) + ">" + std::to_string(to));
  };
  grid.OnCellChanging = [&](TObject*, int oldRow, int oldCol, int newRow, int newCol, bool&) {
    fired.push_back("cell " + std::to_string(oldCol) + "," + std::to_string(oldRow) + ">" + std::to_string(newCol) +
                    "," + std::to_string(newRow));
  };
  Show();
  Key(Qt::Key_Down);
  ClickCell(2, 2);
  EXPECT_EQ(fired, (std::vector<std::string>{"row 0>1", "cell 0,0>0,1", "row 1>2", "col 0>2", "cell 0,1>2,2"}));
}

}  // namespace
}  // namespace kelvora
