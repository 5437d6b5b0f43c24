// A save is one step for the person: what they do while it runs changes
// neither the file nor the grid, and the window stays open.

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QShortcutEvent>

#include <string>

#include "common/event_loop.h"
#include "form1_fixture.h"

namespace kelvora::testing {
namespace {

std::string DateLines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += "Date: Tue, " + std::to_string(10 + i % 18) + " Feb 2003 12:34:" + std::to_string(10 + i % 50) + " +0100\n";
  return text;
}

class SaveAsOneStep : public Form1Test {
 protected:
  // What a person may do in the middle of a save: delete a row and type in
  // the grid, press "Get Data", open File > Open by its shortcut, close the
  // window. Posted, as the window system posts them.
  void PostInput() {
    const QPointF centre = QPointF(Form().Button1->rect().center());
    QCoreApplication::postEvent(&Grid(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier));
    QCoreApplication::postEvent(&Grid(), new QKeyEvent(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x"));
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
      QCoreApplication::postEvent(Form().Button1, new QMouseEvent(type, centre, Form().Button1->mapToGlobal(centre),
                                                                 Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(Form().Open1, new QShortcutEvent(Form().Open1->shortcut(), 0));
    // As the window manager's close arrives: queued, then asked of the window.
    QMetaObject::invokeMethod(&Form(), [this] { Form().close(); }, Qt::QueuedConnection);
  }
};

TEST_F(SaveAsOneStep, InputDuringTheSaveChangesNeitherTheFileNorTheGrid) {
  GetDataFrom(DateLines(3000));
  Form().show();
  const auto before = TempFile("before.csv");
  ClickSaveGrid(before);
  const std::string expected = ReadWholeFile(before);
  const int rows = Grid().RowCount();

  // Halfway through the write the window handles its messages, as the
  // writer lets it. What comes after the last row, while the file is
  // synced, is not handled until the save has ended, and is refused too.
  int halfway = 0;
  Grid().OnFileProgress = [&](TObject*, short percent) {
    if (percent == 100) PostInput();
    if (percent != 50) return;
    ++halfway;
    PostInput();
    QCoreApplication::processEvents();
  };
  const auto during = TempFile("during.csv");
  ClickSaveGrid(during);
  ASSERT_EQ(halfway, 1);
  ASSERT_TRUE(DrainEvents());
  EXPECT_EQ(ReadWholeFile(during), expected);
  EXPECT_EQ(Grid().RowCount(), rows);
  EXPECT_TRUE(Form().isVisible());
  EXPECT_EQ(dialogs_.AnswersLeft(), 0u);
  EXPECT_EQ(dialogs_.Requests().size(), 3u) << "a dialog opened during the save";
  EXPECT_TRUE(ErrorBoxes().empty()) << LastErrorBox();

  // The same input without a save does act: the rows change, the Open
  // dialog is asked for, the window closes.
  Grid().OnFileProgress = nullptr;
  dialogs_.Cancel();
  PostInput();
  ASSERT_TRUE(DrainEvents());
  EXPECT_NE(Grid().RowCount(), rows);
  EXPECT_EQ(dialogs_.Requests().size(), 4u);
  EXPECT_FALSE(Form().isVisible());
}

// An error met while the save lets messages through (a cell that cannot be
// painted) waits until the file is written, then shows.
TEST_F(SaveAsOneStep, AnErrorBoxDuringTheSaveWaitsUntilItHasEnded) {
  GetDataFrom(DateLines(100));
  std::size_t boxesDuring = 99;
  Grid().OnFileProgress = [&](TObject*, short percent) {
    if (percent != 50) return;
    ShowErrorBox("Kelvora", "A cell could not be painted.");
    QCoreApplication::processEvents();
    boxesDuring = ErrorBoxes().size();
  };
  const auto saved = TempFile("saved.csv");
  ClickSaveGrid(saved);
  EXPECT_EQ(boxesDuring, 0u);
  EXPECT_TRUE(std::filesystem::exists(saved));
  ASSERT_TRUE(DrainEvents());
  EXPECT_EQ(ErrorBoxes(), std::vector<std::string>{"A cell could not be painted."});
}

}  // namespace
}  // namespace kelvora::testing
