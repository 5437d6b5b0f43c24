#pragma once

// What the row-key tests share: the main window's grid, three columns wide,
// its first column naming each row ("r0", "r1", ...) and its second one
// "s0", "s1", ..., with every row event written down as it fires.

#include <string>
#include <vector>

#include "cell_grid_edit_support.h"

namespace kelvora::grid_test {

class RowKeys : public CellEditing {
 protected:
  void SetUp() override {
    ApplyMainWindowColumn(grid);
    grid.SetColCount(3);
    Fill(4);
    grid.OnCanDeleteRow = [this](TObject*, int row, bool&) { events.push_back("CanDelete " + std::to_string(row)); };
    grid.OnAutoDeleteRow = [this](TObject*, int row) { events.push_back("AutoDelete " + std::to_string(row)); };
    grid.OnCanInsertRow = [this](TObject*, int row, bool&) { events.push_back("CanInsert " + std::to_string(row)); };
    grid.OnAutoInsertRow = [this](TObject*, int row) { events.push_back("AutoInsert " + std::to_string(row)); };
  }

 public:
  void Fill(int rows) {
    grid.EraseAllCells();
    grid.SetRowCount(rows);
    for (int row = 0; row < rows; ++row) {
      grid.SetCells(0, row, "r" + std::to_string(row));
      grid.SetCells(1, row, "s" + std::to_string(row));
    }
  }
  // The first column, top to bottom, joined by spaces; an empty cell is "-".
  std::string FirstColumn() const {
    std::string joined;
    for (int row = 0; row < grid.RowCount(); ++row) {
      const std::string text = grid.Cells(0, row);
      joined += (row ? " " : "") + (text.empty() ? std::string("-") : text);
    }
    return joined;
  }
  // Every row still pairs its two cells: "r5" beside "s5".
  bool RowsIntact() const {
    for (int row = 0; row < grid.RowCount(); ++row) {
      const std::string first = grid.Cells(0, row);
      const std::string second = grid.Cells(1, row);
      if (first.empty() != second.empty()) return false;
      if (!first.empty() && first.substr(1) != second.substr(1)) return false;
    }
    return true;
  }
  void GoToRow(int row) { grid.SetRow(row); }

  std::vector<std::string> events;
};

}  // namespace kelvora::grid_test
