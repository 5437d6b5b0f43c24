#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <memory>

#include "custom_grid_test_grid.h"
#include "toolkit/keys.h"

namespace kelvora {
namespace {

using testing::Count;
using testing::kPatience;
using testing::TTestGrid;
using testing::Type;

void MakeEditable(TTestGrid& grid) {
  grid.SetOptions(grid.Options().insert(goEditing));
  grid.Texts[{1, 1}] = "abc";
  grid.Texts[{1, 2}] = "below";
  grid.Texts[{2, 1}] = "right";
}

void Key(TTestGrid& grid, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTest::keyClick(grid.FocusTarget(), key, modifiers);
}

TEST(GridEditor, TypingOpensTheEditorAndWritesEveryChange) {
  TTestGrid grid;
  MakeEditable(grid);
  grid.ShowFocused();
  grid.ClearLog();
  Type(grid, "xyz");
  ASSERT_TRUE(grid.EditorShowing());
  EXPECT_EQ(grid.Text(1, 1), "xyz");
  EXPECT_EQ(grid.EditorText(), "xyz");
  EXPECT_EQ(testing::CallsStartingWith(grid.Log, "SetEditText"), (std::vector<std::string>{"SetEditText 1,1 x", "SetEditText 1,1 xy", "SetEditText 1,1 xyz"}));
  // The character that opened the editor reached the grid's KeyPress too.
  EXPECT_EQ(Count(grid.Log, "KeyPress 120"), 1);
}

TEST(GridEditor, BackspaceOpensTheEditorEmpty) {
  TTestGrid grid;
  MakeEditable(grid);
  grid.ShowFocused();
  Key(grid, Qt::Key_Backspace);
  ASSERT_TRUE(grid.EditorShowing());
  EXPECT_EQ(grid.Text(1, 1), "");
}

TEST(GridEditor, F2PutsTheCaretAtTheEndAndEnterSelectsAll) {
  TTestGrid grid;
  MakeEditable(grid);
  grid.ShowFocused();
  Key(grid, Qt::Key_F2);
  ASSERT_TRUE(grid.EditorShowing());
  EXPECT_EQ(grid.InplaceEditor()->SelLength(), 0);
  EXPECT_EQ(grid.InplaceEditor()->SelStart(), 3);
  Type(grid, "d");
  EXPECT_EQ(grid.Text(1, 1), "abcd");

  Key(grid, Qt::Key_Return);  // closes
  EXPECT_FALSE(grid.EditorMode());
  EXPECT_FALSE(grid.EditorShowing());
  EXPECT_TRUE(grid.hasFocus());
  Key(grid, Qt::Key_Return);  // opens with all selected
  ASSERT_TRUE(grid.EditorShowing());
  EXPECT_EQ(grid.InplaceEditor()->SelStart(), 0);
  EXPECT_EQ(grid.InplaceEditor()->SelLength(), 4);
}

TEST(GridEditor, EditorModeFollowsTheCurrentCellAndAsksEachTime) {
  TTestGrid grid;
  MakeEditable(grid);
  grid.ShowFocused();
  Key(grid, Qt::Key_F2);
  grid.ClearLog();
  Key(grid, Qt::Key_Down);
  ASSERT_TRUE(grid.EditorShowing());
  EXPECT_EQ(grid.EditorCellForTest(), (TGridCoord{1, 2}));
  EXPECT_EQ(grid.EditorText(), "below");
  EXPECT_EQ(grid.InplaceEditor()->geometry(), QRect(65, 50, 64, 24));
  EXPECT_GE(Count(grid.Log, "CanEditShow"), 1);
  // Moving did not write anything into either cell.
  EXPECT_EQ(Count(grid.Log, "SetEditText"), 0);
  Key(grid, Qt::Key_Up);
  EXPECT_EQ(grid.EditorText(), "abc");
}

TEST(GridEditor, ShowsOnlyWithEditingWithoutRowSelectAndWithFocus) {
  TTestGrid grid;
  grid.Texts[{1, 1}] = "abc";
  grid.ShowFocused();
  grid.ShowEditor();
  EXPECT_FALSE(grid.EditorShowing());  // no goEditing
  Type(grid, "q");
  EXPECT_EQ(grid.Text(1, 1), "abc");

  grid.SetOptions(grid.Options().insert(goEditing).insert(goRowSelect));
  grid.ShowEditor();
  EXPECT_FALSE(grid.EditorShowing());

  grid.SetOptions(grid.Options().erase(goRowSelect));
  grid.ShowEditor();
  EXPECT_TRUE(grid.EditorShowing());
  grid.SetOptions(grid.Options().erase(goEditing));
  EXPECT_FALSE(grid.EditorShowing());
}

TEST(GridEditor, FocusLeavingTheGridEndsEditorMode) {
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* grid = new TTestGrid;
  auto* other = new QLineEdit;
  layout->addWidget(grid);
  layout->addWidget(other);
  MakeEditable(*grid);
  window.resize(400, 400);
  window.show();
  QApplication::setActiveWindow(&window);
  grid->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return grid->hasFocus(); }, kPatience));
  Type(*grid, "x");
  ASSERT_TRUE(grid->EditorShowing());
  EXPECT_EQ(Count(grid->Log, "DoEnter"), 1);
  grid->ClearLog();

  other->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return other->hasFocus(); }, kPatience));
  EXPECT_EQ(grid->Log, std::vector<std::string>{"DoExit"});
  EXPECT_FALSE(grid->EditorShowing());
  EXPECT_FALSE(grid->EditorMode());
  EXPECT_EQ(grid->Text(1, 1), "x");

  // Without the focus the editor does not show even in editor mode.
  grid->ShowEditor();
  EXPECT_TRUE(grid->EditorMode());
  EXPECT_FALSE(grid->EditorShowing());
}

TEST(GridEditor, TabWithoutTabsOptionMovesTheFocusOnFromTheEditor) {
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* grid = new TTestGrid;
  auto* other = new QLineEdit;
  layout->addWidget(grid);
  layout->addWidget(other);
  MakeEditable(*grid);
  window.show();
  QApplication::setActiveWindow(&window);
  grid->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return grid->hasFocus(); }, kPatience));
  QTest::keyClick(grid->FocusTarget(), Qt::Key_F2);
  ASSERT_TRUE(grid->EditorShowing());
  QTest::keyClick(grid->FocusTarget(), Qt::Key_Tab);
  EXPECT_TRUE(other->hasFocus());
  EXPECT_FALSE(grid->EditorShowing());
  EXPECT_EQ(grid->Text(1, 1), "abc");
}

TEST(GridEditor, HidingTheWindowKeepsEditorMode) {
  TTestGrid grid;
  MakeEditable(grid);
  grid.ShowFocused();
  Key(grid, Qt::Key_F2);
  grid.HideEditWindow();
  EXPECT_FALSE(grid.EditorShowing());
  EXPECT_TRUE(grid.EditorMode());
  EXPECT_TRUE(grid.hasFocus());
  Key(grid, Qt::Key_Right);
  ASSERT_TRUE(grid.EditorShowing());
  EXPECT_EQ(grid.EditorText(), "right");
}

TEST(GridEditor, InvalidateEditorRereadsAndUpdateTextWrites) {
  TTestGrid grid;
  MakeEditable(grid);
  grid.ShowFocused();
  Key(grid, Qt::Key_F2);
  grid.Texts[{1, 1}] = "changed by the program";
  grid.InvalidateEditor();
  EXPECT_EQ(grid.EditorText(), "changed by the program");
  EXPECT_EQ(grid.InplaceEditor()->SelLength(), 22);

  grid.Texts[{1, 1}] = "stale";
  grid.UpdateText();
  EXPECT_EQ(grid.Text(1, 1), "changed by the program");
}

TEST(GridEditor, EnterAndEscapeInTheEditorReachTheGridFirst) {
  TTestGrid grid;
  MakeEditable(grid);
  grid.ShowFocused();
  Type(grid, "new");
  grid.ClearLog();
  Key(grid, Qt::Key_Escape);
  EXPECT_EQ(Count(grid.Log, "KeyDown 27"), 1);
  EXPECT_EQ(Count(grid.Log, "KeyPress 27"), 1);
  EXPECT_TRUE(grid.EditorShowing());  // the base leaves Escape to the grid
  EXPECT_EQ(grid.EditorText(), "new");
  Key(grid, Qt::Key_Return);
  EXPECT_EQ(Count(grid.Log, "KeyPress 13"), 1);
  EXPECT_FALSE(grid.EditorShowing());
  EXPECT_EQ(grid.Text(1, 1), "new");
  EXPECT_EQ(Count(grid.Log, "SetEditText"), 0);
}

TEST(GridEditor, EnterTypesALineBreakWhenTheGridLetsItThrough) {
  TTestGrid grid;
  MakeEditable(grid);
  grid.SetOptions(grid.Options().insert(goAlwaysShowEditor));
  grid.ShowFocused();
  ASSERT_TRUE(grid.EditorShowing());
  Key(grid, Qt::Key_F2);  // in the editor: caret to the end
  Key(grid, Qt::Key_Return);
  Type(grid, "d");
  EXPECT_EQ(grid.Text(1, 1), "abc\r\nd");
  EXPECT_TRUE(grid.EditorShowing());
}

TEST(GridEditor, DeleteAndArrowsStayInTheBox) {
  TTestGrid grid;
  MakeEditable(grid);
  grid.ShowFocused();
  Key(grid, Qt::Key_F2);
  Key(grid, Qt::Key_Home);
  Key(grid, Qt::Key_Right);
  Key(grid, Qt::Key_Delete);
  EXPECT_EQ(grid.Text(1, 1), "ac");
  Key(grid, Qt::Key_Left);
  Key(grid, Qt::Key_End);
  EXPECT_EQ(grid.Col(), 1);
  EXPECT_EQ(grid.Row(), 1);
}

TEST(GridEditor, FollowsItsCellWhenTheViewScrolls) {
  TTestGrid grid;
  MakeEditable(grid);
  grid.SetRowCount(50);
  grid.ShowFocused(400, 300);
  Key(grid, Qt::Key_F2);
  ASSERT_TRUE(grid.EditorShowing());
  grid.SetTopRow(10);
  EXPECT_FALSE(grid.EditorShowing());
  EXPECT_TRUE(grid.GridHasFocus());
  grid.SetTopRow(1);
  ASSERT_TRUE(grid.EditorShowing());
  EXPECT_EQ(grid.InplaceEditor()->geometry(), QRect(65, 25, 64, 24));
  grid.SetColWidths(0, 100);
  EXPECT_EQ(grid.InplaceEditor()->geometry(), QRect(101, 25, 64, 24));
}

TEST(GridEditor, DeletingTheRowUnderTheEditorShowsTheNextRowsText) {
  TTestGrid grid;
  MakeEditable(grid);
  grid.ShowFocused();
  Key(grid, Qt::Key_F2);
  grid.Texts.erase({1, 1});
  grid.Texts[{1, 1}] = "below";  // the grid moves its own data on RowDeleted
  grid.DeleteRow(1);
  ASSERT_TRUE(grid.EditorShowing());
  EXPECT_EQ(grid.EditorText(), "below");
  EXPECT_EQ(grid.Row(), 1);
}

// A grid that refreshes the editor whenever its current cell is written, as
// a grid with a cell store does.
class TRefreshingGrid : public TTestGrid {
 protected:
  void SetEditText(int col, int row, const std::string& value) override {
    TTestGrid::SetEditText(col, row, value);
    InvalidateEditor();
  }
};

TEST(GridEditor, RefreshingTheEditorFromItsOwnChangeDoesNotFightTheTyping) {
  TRefreshingGrid grid;
  MakeEditable(grid);
  grid.ShowFocused();
  Key(grid, Qt::Key_F2);
  Key(grid, Qt::Key_Home);
  Key(grid, Qt::Key_Right);
  Type(grid, "XY");
  EXPECT_EQ(grid.Text(1, 1), "aXYbc");
  EXPECT_EQ(grid.InplaceEditor()->SelStart(), 3);
  EXPECT_EQ(grid.InplaceEditor()->SelLength(), 0);
}

TEST(GridEditor, ControlShortcutsOnTheGridTypeNothing) {
  TTestGrid grid;
  MakeEditable(grid);
  grid.ShowFocused();
  Key(grid, Qt::Key_C, Qt::ControlModifier);
  Key(grid, Qt::Key_V, Qt::ControlModifier);
  EXPECT_FALSE(grid.EditorShowing());
  EXPECT_EQ(grid.Text(1, 1), "abc");
  EXPECT_EQ(Count(grid.Log, "KeyPress 3"), 1);
}

// A grid's own edit class: it upper-cases what is typed.
class TShoutingEdit : public TInplaceEdit {
 public:
  using TInplaceEdit::TInplaceEdit;

 protected:
  void KeyPress(char32_t& key) override {
    TInplaceEdit::KeyPress(key);
    if (key >= U'a' && key <= U'z') key = key - U'a' + U'A';
  }
};

class TShoutingGrid : public TTestGrid {
 protected:
  TInplaceEdit* CreateEditor() override { return new TShoutingEdit(this); }
};

TEST(GridEditor, AGridBringsItsOwnEditClass) {
  TShoutingGrid grid;
  MakeEditable(grid);
  grid.ShowFocused();
  Type(grid, "hey");
  EXPECT_NE(dynamic_cast<TShoutingEdit*>(grid.InplaceEditor()), nullptr);
  EXPECT_EQ(grid.Text(1, 1), "HEY");
}

}  // namespace
}  // namespace kelvora
