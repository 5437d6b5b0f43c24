#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "grid_base/custom_grid_test_grid.h"
#include "toolkit/clipboard.h"

namespace kelvora {
namespace {

using testing::Count;
using testing::TTestGrid;
using testing::Type;

// A focused grid whose editor shows cell (1,1).
class InplaceEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    grid.SetOptions(grid.Options().insert(goEditing));
    grid.Texts[{1, 1}] = "abc";
    grid.ShowFocused();
    QTest::keyClick(grid.FocusTarget(), Qt::Key_F2);
    ASSERT_TRUE(grid.EditorShowing());
    edit = grid.InplaceEditor();
    grid.ClearLog();
  }
  void TearDown() override { QGuiApplication::clipboard()->clear(); }

  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(grid.FocusTarget(), key, modifiers);
  }

  TTestGrid grid;
  TInplaceEdit* edit = nullptr;
};

TEST_F(InplaceEdit, CountsALineBreakAsTwoCharacters) {
  edit->SetText("ab\r\ncd");
  EXPECT_EQ(edit->Text(), "ab\r\ncd");
  EXPECT_EQ(grid.Text(1, 1), "ab\r\ncd");  // set by the program, written all the same
  edit->SetSelStart(4);
  edit->SetSelLength(2);
  EXPECT_EQ(edit->SelText(), "cd");
  EXPECT_EQ(edit->SelStart(), 4);
  EXPECT_FALSE(edit->CaretOnFirstLine());
  EXPECT_TRUE(edit->CaretOnLastLine());
  edit->SetSelStart(3);  // inside the line break: before it
  EXPECT_EQ(edit->SelStart(), 2);
  EXPECT_TRUE(edit->CaretOnFirstLine());
  edit->SetSelLength(3);
  EXPECT_EQ(edit->SelText(), "\r\nc");
  edit->SelectAll();
  EXPECT_EQ(edit->SelLength(), 6);
  edit->Deselect();
  EXPECT_EQ(edit->SelStart(), 6);
  EXPECT_EQ(edit->SelLength(), 0);
  edit->SetSelStart(1);
  edit->SetSelLength(1);
  edit->SetSelText("XY");
  EXPECT_EQ(grid.Text(1, 1), "aXY\r\ncd");
}

TEST_F(InplaceEdit, ShowsOldBytesAsTheyLookAndStoresTypingAsUtf8) {
  grid.Texts[{1, 2}] = "caf\xE9";  // Windows-1252
  Key(Qt::Key_Down);
  ASSERT_TRUE(grid.EditorShowing());
  EXPECT_EQ(edit->Text(), "caf\xC3\xA9");
  Key(Qt::Key_Up);
  EXPECT_EQ(grid.Text(1, 2), "caf\xE9");  // looking at a cell does not rewrite it
  Key(Qt::Key_Down);
  Key(Qt::Key_End);
  Type(grid, "!");
  EXPECT_EQ(grid.Text(1, 2), "caf\xC3\xA9!");
}

TEST_F(InplaceEdit, TheLengthLimitStopsTypingAndPastingButNotTheProgram) {
  edit->SetMaxLength(4);
  Type(grid, "de");
  EXPECT_EQ(grid.Text(1, 1), "abcd");
  Key(Qt::Key_Backspace);
  EXPECT_EQ(grid.Text(1, 1), "abc");
  SetClipboardText("wxyz");
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(grid.Text(1, 1), "abcw");
  Key(Qt::Key_Return, Qt::NoModifier);  // the grid closes the editor; nothing typed
  EXPECT_EQ(grid.Text(1, 1), "abcw");
  Key(Qt::Key_F2);
  edit->SetText("longer than four");
  EXPECT_EQ(grid.Text(1, 1), "longer than four");
  edit->SetMaxLength(-1);
  EXPECT_EQ(edit->MaxLength(), 0);
}

TEST_F(InplaceEdit, PastesLineBreaksIntoTheCell) {
  edit->SetText("");
  SetClipboardText("a\r\nb");
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(grid.Text(1, 1), "a\r\nb");
  EXPECT_EQ(edit->SelStart(), 4);
}

TEST_F(InplaceEdit, ShortcutsOfTheBoxStillWork) {
  Key(Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(edit->SelLength(), 3);
  Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(ClipboardText(), "abc");
  EXPECT_EQ(grid.Text(1, 1), "abc");  // Ctrl+C typed nothing
  Key(Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(grid.Text(1, 1), "");
  EXPECT_EQ(Count(grid.Log, "KeyPress 3"), 1);  // the grid saw Ctrl+C's character
}

TEST_F(InplaceEdit, APasswordCharacterMakesASingleLineMaskedBox) {
  edit->SetSelStart(1);
  edit->SetPasswordChar(U'*');
  auto* line = qobject_cast<QLineEdit*>(edit->Control());
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->echoMode(), QLineEdit::Password);
  EXPECT_EQ(edit->Text(), "abc");
  EXPECT_EQ(edit->SelStart(), 1);  // kept across the new window
  EXPECT_TRUE(line->hasFocus());
  Type(grid, "Z");
  EXPECT_EQ(grid.Text(1, 1), "aZbc");
  SetClipboardText("unchanged");
  edit->SelectAll();
  Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(ClipboardText(), "unchanged");  // a password is not copied out

  edit->SetPasswordChar(0);
  EXPECT_NE(qobject_cast<QPlainTextEdit*>(edit->Control()), nullptr);
  EXPECT_EQ(edit->Text(), "aZbc");
}

TEST_F(InplaceEdit, IsFramelessWithoutScrollBarsOverItsCell) {
  auto* box = qobject_cast<QPlainTextEdit*>(edit->Control());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->frameShape(), QFrame::NoFrame);
  EXPECT_EQ(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  const TRect cell = grid.CellRect(1, 1);
  EXPECT_EQ(edit->geometry(), QRect(cell.Left, cell.Top, cell.Width(), cell.Height()));
  EXPECT_EQ(box->geometry(), QRect(0, 0, cell.Width(), cell.Height()));
  EXPECT_EQ(box->palette().color(QPalette::Base), ToQColor(clWindow));
  edit->SetEditColors(clYellow, clRed);
  EXPECT_EQ(box->palette().color(QPalette::Base), QColor(Qt::yellow));
  EXPECT_EQ(box->palette().color(QPalette::Text), QColor(Qt::red));
}

}  // namespace
}  // namespace kelvora
