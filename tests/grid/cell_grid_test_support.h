#pragma once

// What the tests of the cell grid share: a grid that measures with the
// recording canvas and counts its paints, a way to lay it out without
// showing it, and the main window's settings of its grid.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QResizeEvent>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "grid/cell_grid.h"
#include "toolkit/inplace_edit.h"
#include "toolkit/recording_canvas.h"

namespace kelvora::grid_test {

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

// The values the main window's description gives its grid, applied here
// independently of the program's own form code.
inline void ApplyMainWindowColumn(TCellGrid& grid) {
  grid.SetFixedCols(0);
  grid.SetFixedRows(0);
  grid.SetColCount(1);
  grid.SetRowCount(1);
  grid.SetDefaultColWidth(115);
  grid.SetDefaultRowHeight(21);
  grid.SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
                   goColSizing, goEditing});
  grid.SetEnableHTML(true);
  grid.SetEnableWheel(true);
  grid.SetEnableGraphics(false);
  grid.SetOleAcceptFiles(true);
  grid.SetOleAcceptText(true);
  grid.SetSortFull(true);
  grid.SetSortAutoFormat(true);
  grid.SetIntelliPan(ipVertical);
  grid.SetHideFocusRect(false);
  grid.SetFixedAsButtons(false);
  grid.SetAutoSize(false);
  grid.SetVAlignment(vtaTop);
  grid.SetHintColor(clYellow);
  grid.SetSelectionColor(clHighlight);
  grid.SetSelectionTextColor(clHighlightText);
  grid.SetURLColor(clBlue);
  grid.SetScrollType(ssNormal);
  grid.SetScrollColor(clActiveBorder);
  grid.SetScrollWidth(16);
  grid.SetFloatFormat("%.2f");
  grid.SetSizeWithForm(true);
  grid.Navigation().AllowDeleteRow = true;
  grid.Navigation().AllowClipboardRowGrow = true;
  grid.Navigation().AllowClipboardColGrow = true;
  grid.Navigation().CopyHTMLTagsToClipboard = true;
  grid.HTMLSettings().Width = 100;
  grid.Bands().PrimaryColor = clInfoBk;
  grid.Bands().SecondaryColor = clWindow;
  grid.CellNode().Color = clSilver;
  grid.CellNode().NodeColor = clBlack;
  grid.SetFixedFont(FontOf("MS Sans Serif", -11, clWindowText));
  grid.SetFont(FontOf("MS Sans Serif", -9, clNavy));
  grid.SetColor(clWhite);
  grid.SetFixedColWidth(115);
  grid.SetFixedRowHeight(21);
  grid.SetAlign(alClient);
  grid.Loaded();
}

}  // namespace kelvora::grid_test
