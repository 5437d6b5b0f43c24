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

class CellEditing : public GridDriving {
 protected:
  void SetUp() override {
    ApplyMainWindowColumn(grid);
    grid.SetColCount(3);
    grid.SetRowCount(3);
    grid.SetCells(0, 0, "abc");
    grid.SetCells(1, 0, "right");
    grid.SetCells(0, 1, "below");
  }

 public:
  void ClickCell(int col, int row) {
    const TRect r = grid.CellRect(col, row);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
  }

  TInplaceEdit* Box() const { return grid.InplaceEditor(); }
  std::string BoxText() const { return grid.EditorText(); }
  std::string BoxSelection() const { return Box() ? Box()->SelText() : std::string(); }

  std::vector<std::string> shown;  // error boxes, their texts
  TMessageSinkGuard sink{[this](const std::string&, const std::string& text) { shown.push_back(text); }};
};

}  // namespace kelvora::grid_test
