// The window from the keyboard alone: the File menu by Alt+F and its
// mnemonics, the shortcuts shown beside its items, and the Tab order.

#include <QAction>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

#include "form1_fixture.h"

namespace kelvora::testing {
namespace {

class Form1Keyboard : public Form1Test {
 protected:
  void SetUp() override {
    QApplication::setActiveWindow(&Form());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form()));
    ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::focusWidget() == Form().CellGrid1; }));
  }

  // Keys go where a person's keys go: to the focused widget, or to the open menu.
  static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::activePopupWidget();
    if (!target) target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, key, modifiers);
  }

  bool FileMenuOpen() { return QApplication::activePopupWidget() == Form().File1; }

  std::size_t DialogsAsked() const { return dialogs_.Requests().size(); }
  TFileDialogKind LastDialogKind() const { return dialogs_.Requests().back().Kind; }
};

TEST_F(Form1Keyboard, AltFOpensTheFileMenuAndEscapeClosesIt) {
  Press(Qt::Key_F, Qt::AltModifier);
  ASSERT_TRUE(QTest::qWaitFor([this] { return FileMenuOpen(); }));
  Press(Qt::Key_Escape);
  EXPECT_TRUE(QTest::qWaitFor([this] { return !Form().File1->isVisible(); }));
  EXPECT_EQ(DialogsAsked(), 0u);
}

TEST_F(Form1Keyboard, MnemonicsInTheFileMenuRunTheirCommands) {
  dialogs_.Cancel();
  Press(Qt::Key_F, Qt::AltModifier);
  ASSERT_TRUE(QTest::qWaitFor([this] { return FileMenuOpen(); }));
  Press(Qt::Key_O);
  ASSERT_TRUE(QTest::qWaitFor([this] { return DialogsAsked() == 1; }));
  EXPECT_EQ(LastDialogKind(), fdOpen);

  dialogs_.Cancel();
  Press(Qt::Key_F, Qt::AltModifier);
  ASSERT_TRUE(QTest::qWaitFor([this] { return FileMenuOpen(); }));
  Press(Qt::Key_S);
  ASSERT_TRUE(QTest::qWaitFor([this] { return DialogsAsked() == 2; }));
  EXPECT_EQ(LastDialogKind(), fdSave);

  Press(Qt::Key_F, Qt::AltModifier);
  ASSERT_TRUE(QTest::qWaitFor([this] { return FileMenuOpen(); }));
  Press(Qt::Key_X);
  EXPECT_TRUE(QTest::qWaitFor([this] { return !Form().isVisible(); }));
}

TEST_F(Form1Keyboard, ItemsKeepTheirTextsBesideTheirMnemonicsAndShortcuts) {
  EXPECT_EQ(Form().File1->menuAction()->text(), "&File");
  struct Item {
    QAction* action;
    const char* text;
    const char* shortcut;
  };
  const Item items[] = {{Form().Open1, "&Open", "Ctrl+O"},
                        {Form().SaveGrid1, "&Save Grid", "Ctrl+S"},
                        {Form().Exit1, "E&xit", "Ctrl+Q"}};
  for (const Item& item : items) {
    EXPECT_EQ(item.action->text(), item.text);
    // The menu draws the shortcut of an item that has one beside its text.
    EXPECT_EQ(item.action->shortcut().toString(QKeySequence::PortableText), item.shortcut) << item.text;
  }
}

TEST_F(Form1Keyboard, ShortcutsWorkWhileTheGridHasTheFocus) {
  dialogs_.Cancel();
  Press(Qt::Key_O, Qt::ControlModifier);
  ASSERT_EQ(DialogsAsked(), 1u);
  EXPECT_EQ(LastDialogKind(), fdOpen);

  dialogs_.Cancel();
  Press(Qt::Key_S, Qt::ControlModifier);
  ASSERT_EQ(DialogsAsked(), 2u);
  EXPECT_EQ(LastDialogKind(), fdSave);

  Press(Qt::Key_Q, Qt::ControlModifier);
  EXPECT_FALSE(Form().isVisible());
}

TEST_F(Form1Keyboard, SaveGridShortcutWorksFromTheCellEditorAndSavesTheTypedText) {
  const auto saved = TempFile("typed.csv");
  Press(Qt::Key_A);  // typing over a cell opens its editor with the character
  ASSERT_TRUE(QTest::qWaitFor([this] { return Grid().EditorShowing(); }));
  dialogs_.Choose(saved.string());
  Press(Qt::Key_S, Qt::ControlModifier);
  ASSERT_EQ(DialogsAsked(), 1u);
  EXPECT_EQ(ReadWholeFile(saved).substr(0, 1), "a");
}

TEST_F(Form1Keyboard, ShortcutsWorkFromTheEditBox) {
  Form().Edit1->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::focusWidget() == Form().Edit1; }));
  dialogs_.Cancel();
  Press(Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(DialogsAsked(), 1u);
}

TEST_F(Form1Keyboard, TabWalksTheGridThenThePanelsEditBoxAndButtonAndShiftTabWalksBack) {
  const QWidget* forward[] = {Form().Edit1, Form().Button1, Form().CellGrid1};
  for (const QWidget* next : forward) {
    Press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next);
  }
  const QWidget* backward[] = {Form().Button1, Form().Edit1, Form().CellGrid1};
  for (const QWidget* next : backward) {
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), next);
  }
}

}  // namespace
}  // namespace kelvora::testing
