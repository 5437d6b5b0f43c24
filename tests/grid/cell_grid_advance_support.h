#pragma once

// What the tests of advancing, searching and the clipboard shortcuts share:
// the main window's grid, shown and focused, driven by keys, with the
// grid's events recorded in the order they fire.

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include <string>
#include <vector>

#include "cell_grid_test_support.h"

namespace kelvora::grid_test {

// The shortcuts go through the grid's own key handler, as in the window.
using TShortcutCellGrid = TTestCellGrid;

class GridKeys : public GridDriving {
 protected:
  // Four columns by four rows holding "c,r", as the main window sets up.
  void SetUp() override {
    ApplyMainWindowColumn(grid);
    grid.SetColCount(4);
    grid.SetRowCount(4);
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c) grid.SetCells(c, r, std::to_string(c) + "," + std::to_string(r));
  }
  // A character beyond ASCII, its key named after its capital.
  void TypeWide(QChar c) { Type(QString(c)); }
  void GoTo(int col, int row) {
    grid.SetCol(col);
    grid.SetRow(row);
  }
  TGridCoord Current() const { return {grid.Col(), grid.Row()}; }

  void RecordEvents() {
    grid.OnCanAddRow = [this](TObject*, bool&) { events.push_back("CanAddRow"); };
    grid.OnAutoAddRow = [this](TObject*, int row) { events.push_back("AutoAddRow " + std::to_string(row)); };
    grid.OnAutoInsertCol = [this](TObject*, int col) { events.push_back("AutoInsertCol " + std::to_string(col)); };
    grid.OnClipboardCut = [this](TObject*, bool&) { events.push_back("Cut"); };
    grid.OnClipboardCopy = [this](TObject*, bool&) { events.push_back("Copy"); };
    grid.OnClipboardPaste = [this](TObject*, bool&) { events.push_back("Paste"); };
  }

  std::vector<std::string> events;
};

}  // namespace kelvora::grid_test

namespace kelvora {
inline std::ostream& operator<<(std::ostream& out, TGridCoord cell) {
  return out << "(" << cell.X << ", " << cell.Y << ")";
}
}  // namespace kelvora
