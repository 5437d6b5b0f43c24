#pragma once

// What the editing tests share: the main window's grid, three columns by
// three rows, shown and focused, driven by keys and clicks as a person
// drives it, with the error box captured.

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include <string>
#include <vector>

#include "cell_grid_test_support.h"
#include "toolkit/message_box.h"

namespace kelvora::grid_test {

class CellEditing : public ::testing::Test {
 protected:
  void SetUp() override {
    ApplyMainWindowColumn(grid);
    grid.SetColCount(3);
    grid.SetRowCount(3);
    grid.SetCells(0, 0, "abc");
    grid.SetCells(1, 0, "right");
    grid.SetCells(0, 1, "below");
  }
  void TearDown() override { QGuiApplication::clipboard()->clear(); }

 public:
  // What a person does; public, so that test tables can hold the steps.

  // Shown and focused only now, so that a test can set the grid up first.
  void Show() { grid.ShowFocused(); }

  // The widget that holds the focus: the grid or its edit box.
  QWidget* FocusTarget() const {
    QWidget* focus = grid.window()->focusWidget();
    return focus ? focus : const_cast<TTestCellGrid*>(&grid);
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(FocusTarget(), key, modifiers);
  }
  // Each character into whatever holds the focus at that moment: the first
  // one may open the edit box for the rest.
  void Type(const QString& text) {
    for (const QChar c : text) {
      if (c.unicode() < 128) {
        QTest::keyClicks(FocusTarget(), QString(c));
        continue;
      }
      // Beyond ASCII a key is named after its capital, as keyboards do.
      const auto key = static_cast<Qt::Key>(c.toUpper().unicode());
      QTest::sendKeyEvent(QTest::Press, FocusTarget(), key, QString(c), Qt::NoModifier);
      QTest::sendKeyEvent(QTest::Release, FocusTarget(), key, QString(c), Qt::NoModifier);
    }
  }
  void ClickCell(int col, int row) {
    const TRect r = grid.CellRect(col, row);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
  }

  TInplaceEdit* Box() const { return grid.InplaceEditor(); }
  bool BoxOpen() const { return grid.EditorShowing(); }
  std::string BoxText() const { return grid.EditorText(); }
  std::string BoxSelection() const { return Box() ? Box()->SelText() : std::string(); }

  std::vector<std::string> shown;  // error boxes, their texts
  TMessageSinkGuard sink{[this](const std::string&, const std::string& text) { shown.push_back(text); }};
  TTestCellGrid grid;
};

}  // namespace kelvora::grid_test
