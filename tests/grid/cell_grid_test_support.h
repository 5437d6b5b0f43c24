#pragma once

// What the tests of the cell grid share: a grid that measures with the
// recording canvas and counts its paints, and the one test support's paint
// watch, lay-out, patience and recorded-call queries under the names these
// tests know them by.

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "common/fonts.h"
#include "common/grid_layout.h"
#include "common/main_window_grid.h"
#include "common/paint_watch.h"
#include "common/patience.h"
#include "common/recorded_calls.h"
#include "common/show_focused.h"
#include "common/typing.h"
#include "grid/cell_grid.h"
#include "toolkit/editors/inplace_edit.h"
#include "toolkit/recording_canvas.h"

namespace kelvora::grid_test {

using testing::ApplyMainWindowColumn;
using testing::DrawnTexts;
using testing::FontOf;
using testing::kPatience;
using testing::LayOut;
using testing::TPaintWatch;

class TTestCellGrid : public TCellGrid {
 public:
  TTestCellGrid() { SetMeasureCanvas(std::make_unique<TRecordingCanvas>()); }

  int Paints = 0;  // times the grid's own paint step ran

  // Shows the grid in a window of its own and gives it the focus.
  void ShowFocused(int width = 400, int height = 300) { ASSERT_TRUE(testing::ShowFocused(*this, width, height)); }

  std::string EditorText() const { return InplaceEditor() ? InplaceEditor()->Text() : std::string(); }

 protected:
  void Paint() override {
    ++Paints;
    TCellGrid::Paint();
  }
};

// A test that drives the grid as a person does: shown and focused only
// when the test says so, so that it can set the grid up first, then keys
// and characters into whatever holds the focus, the grid or its edit box.
// Public, so that test tables can hold the steps.
class GridDriving : public ::testing::Test {
 protected:
  void TearDown() override { QGuiApplication::clipboard()->clear(); }

 public:
  void Show() { grid.ShowFocused(); }
  QWidget* FocusTarget() { return testing::FocusTarget(grid); }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(FocusTarget(), key, modifiers);
  }
  void Type(const QString& text) { testing::TypeInto(grid, text); }
  bool BoxOpen() const { return grid.EditorShowing(); }

  TTestCellGrid grid;
};

}  // namespace kelvora::grid_test
