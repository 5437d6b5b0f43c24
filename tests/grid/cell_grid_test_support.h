#pragma once

// What the tests of the cell grid share: a grid that measures with the
// recording canvas and counts its paints, a way to lay it out without
// showing it, and the main window's settings of its grid.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QResizeEvent>
#include <QPaintEvent>
#include <QRegion>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "app/form1_grid.h"
#include "grid/cell_grid.h"
#include "toolkit/editors/inplace_edit.h"
#include "toolkit/recording_canvas.h"

namespace kelvora::grid_test {

// Counts a widget's paints and gathers the regions they covered.
class TPaintWatch : public QObject {
 public:
  explicit TPaintWatch(QWidget* widget) { widget->installEventFilter(this); }
  int Paints = 0;
  QRegion Painted;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      ++Paints;
      Painted += static_cast<QPaintEvent*>(event)->region();
    }
    return false;
  }
};

inline constexpr int kPatience = 5000;  // milliseconds a test waits for a condition

class TTestCellGrid : public TCellGrid {
 public:
  TTestCellGrid() { SetMeasureCanvas(std::make_unique<TRecordingCanvas>()); }

  int Paints = 0;  // times the grid's own paint step ran

  // Shows the grid in a window of its own and gives it the focus.
  void ShowFocused(int width = 400, int height = 300) {
    resize(width, height);
    show();
    QApplication::setActiveWindow(this);
    activateWindow();
    setFocus();
    ASSERT_TRUE(QTest::qWaitFor([this] { return GridHasFocus(); }, kPatience));
  }

  std::string EditorText() const { return InplaceEditor() ? InplaceEditor()->Text() : std::string(); }

 protected:
  void Paint() override {
    ++Paints;
    TCellGrid::Paint();
  }
};

// A hidden widget lays out its viewport only when shown; tests that paint
// without showing want the size now. Without frame and scroll bars the
// viewport is the widget.
inline void LayOut(TCellGrid& grid, int width = 400, int height = 300) {
  grid.setFrameShape(QFrame::NoFrame);
  grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid.resize(width, height);
  QResizeEvent resize(grid.size(), QSize());
  QCoreApplication::sendEvent(&grid, &resize);
}

// The texts drawn, in drawing order, from a recording canvas.
inline std::vector<std::string> DrawnTexts(const TRecordingCanvas& canvas) {
  std::vector<std::string> texts;
  for (const std::string& call : canvas.Calls()) {
    if (call.rfind("DrawText \"", 0) != 0) continue;
    const std::size_t end = call.find("\" ", 10);
    texts.push_back(call.substr(10, end - 10));
  }
  return texts;
}

inline TFont FontOf(const std::string& name, int height, TColor color) {
  TFont font;
  font.Name = name;
  font.Height = height;
  font.Color = color;
  return font;
}

// The grid as the main window sets it up, through the program's own
// description, so that tests here check that description too.
inline void ApplyMainWindowColumn(TCellGrid& grid) {
  ApplyGridDescription(grid);
  grid.Loaded();
}

}  // namespace kelvora::grid_test
