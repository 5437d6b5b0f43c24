#pragma once

// A grid for the tests of the grid base: it keeps texts for the editor,
// records the hooks it is called through, and can refuse cells; beside it
// the one test support that these tests share with the others.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/grid_layout.h"
#include "common/patience.h"
#include "common/recorded_calls.h"
#include "common/show_focused.h"
#include "common/typing.h"
#include "toolkit/grid_base/custom_grid.h"
#include "toolkit/editors/inplace_edit.h"
#include "toolkit/recording_canvas.h"

namespace kelvora::testing {

class TTestGrid : public TCustomGrid {
 public:
  using TCustomGrid::GridHasFocus;
  using TCustomGrid::KeyShift;

  std::map<std::pair<int, int>, std::string> Texts;
  std::set<std::pair<int, int>> Refused;  // SelectCell answers false for these
  std::vector<std::string> Log;           // hooks, in the order they ran
  std::vector<std::string> Drawn;         // "c,r L,T,R,B state", state letters S F X or -
  std::vector<std::string> Colours;       // "c,r brush/font" as the base set them
  bool LogDrawing = false;

  TTestGrid() { SetMeasureCanvas(std::make_unique<TRecordingCanvas>()); }

  std::string Text(int col, int row) const {
    const auto it = Texts.find({col, row});
    return it == Texts.end() ? std::string() : it->second;
  }

  void ClearLog() {
    Log.clear();
    Drawn.clear();
    Colours.clear();
  }

  // Shows the grid in a window of its own and gives it the focus.
  void ShowFocused(int width = 400, int height = 300) { ASSERT_TRUE(testing::ShowFocused(*this, width, height)); }

  // The widget that holds the focus now: the grid or its edit control.
  QWidget* FocusTarget() { return testing::FocusTarget(*this); }

  TGridCoord EditorCellForTest() const { return EditorCell(); }
  std::string EditorText() const { return InplaceEditor() ? InplaceEditor()->Text() : std::string(); }

 protected:
  void DrawCell(int col, int row, const TRect& r, TGridDrawState state) override {
    std::string flags;
    if (state.contains(gdSelected)) flags += "S";
    if (state.contains(gdFocused)) flags += "F";
    if (state.contains(gdFixed)) flags += "X";
    Drawn.push_back(std::to_string(col) + "," + std::to_string(row) + " " + std::to_string(r.Left) + "," +
                    std::to_string(r.Top) + "," + std::to_string(r.Right) + "," + std::to_string(r.Bottom) +
                    " " + (flags.empty() ? "-" : flags));
    Colours.push_back(std::to_string(col) + "," + std::to_string(row) + " " +
                      ColorToString(Canvas().Brush().Color) + "/" + ColorToString(Canvas().Font().Color));
    if (LogDrawing) Log.push_back("DrawCell");
  }
  bool SelectCell(int col, int row) override {
    Log.push_back("SelectCell " + std::to_string(col) + "," + std::to_string(row));
    return !Refused.count({col, row});
  }
  bool CanEditShow() override {
    Log.push_back("CanEditShow");
    return TCustomGrid::CanEditShow();
  }
  std::string GetEditText(int col, int row) override { return Text(col, row); }
  void SetEditText(int col, int row, const std::string& value) override {
    Log.push_back("SetEditText " + std::to_string(col) + "," + std::to_string(row) + " " + value);
    Texts[{col, row}] = value;
  }
  void KeyDown(int& key, TShiftState shift) override {
    Log.push_back("KeyDown " + std::to_string(key));
    TCustomGrid::KeyDown(key, shift);
  }
  void CharMessage(char32_t& key) override {
    Log.push_back("CharMessage " + std::to_string(static_cast<int>(key)));
    TCustomGrid::CharMessage(key);
  }
  void KeyPress(char32_t& key) override {
    Log.push_back("KeyPress " + std::to_string(static_cast<int>(key)));
    TCustomGrid::KeyPress(key);
  }
  void DoEnter() override {
    Log.push_back("DoEnter");
    TCustomGrid::DoEnter();
  }
  void DoExit() override {
    Log.push_back("DoExit");
    TCustomGrid::DoExit();
  }
  void Click() override { Log.push_back("Click"); }
  void Paint() override { Log.push_back("Paint"); }
  void TopLeftChanged() override { Log.push_back("TopLeftChanged"); }
  void SizeChanged(int oldCols, int oldRows) override {
    Log.push_back("SizeChanged " + std::to_string(oldCols) + "," + std::to_string(oldRows));
  }
  void RowDeleted(int row) override { Log.push_back("RowDeleted " + std::to_string(row)); }
  void RowInserted(int row) override { Log.push_back("RowInserted " + std::to_string(row)); }
  void RowMoved(int from, int to) override {
    Log.push_back("RowMoved " + std::to_string(from) + "," + std::to_string(to));
  }
  void ColumnDeleted(int col) override { Log.push_back("ColumnDeleted " + std::to_string(col)); }
};

// Types each character into whatever holds the focus at that moment, as a
// person typing would: the first one may open the editor for the rest.
inline void Type(TTestGrid& grid, const std::string& text) { TypeInto(grid, QString::fromStdString(text)); }

}  // namespace kelvora::testing
