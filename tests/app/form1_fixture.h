#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/date_line.h"
#include "app/form1.h"
#include "grid/cell_grid.h"
#include "toolkit/file_dialog.h"
#include "toolkit/message_box.h"
#include "toolkit/screen_cursor.h"

namespace kelvora::testing {

using TRowCells = std::array<std::string, kDateColumnCount>;

// The files that ship with the program and the CSV that saving the sample's
// dates must give, found from this file's place in the tree.
std::filesystem::path SourceRoot();
std::filesystem::path SamplePath();
std::filesystem::path ExpectedCsvPath();

std::string ReadWholeFile(const std::filesystem::path& path);
void WriteWholeFile(const std::filesystem::path& path, const std::string& bytes);

// Whether this process holds the file open, by any of its descriptors.
bool ProcessHoldsOpen(const std::filesystem::path& path);

// The main window as a person meets it: shown, the file dialogs answered by
// a script, error boxes captured. Every test starts with no file chosen.
class Form1Test : public ::testing::Test {
 protected:
  Form1Test();
  ~Form1Test() override;

  // The menu items and the button, through the same signals a click sends.
  void ClickOpen(const std::filesystem::path& chosen);
  void ClickOpenCancelled();
  void ClickGetData();
  void ClickSaveGrid(const std::filesystem::path& chosen);
  void ClickSaveGridCancelled();

  // File > Open on a file holding these bytes, then "Get Data".
  void GetDataFrom(const std::string& bytes);
  std::filesystem::path TempFile(const std::string& name) const;

  TCellGrid& Grid() { return *form_->CellGrid1; }
  TForm1& Form() { return *form_; }
  TRowCells Row(int row);
  // Every stored cell in the first columns and rows is empty.
  bool AllCellsEmpty(int cols, int rows);
  std::vector<int> ColumnWidths();

  // The error boxes shown so far, as their texts.
  const std::vector<std::string>& ErrorBoxes() const { return errorBoxes_; }
  std::string LastErrorBox() const { return errorBoxes_.empty() ? std::string() : errorBoxes_.back(); }

  // Lets the window handle what is pending (repaints above all), so that a
  // hook armed next sees only what the following command does.
  static void SettleEvents();

  // No hourglass left behind, in the program's state nor on the screen.
  static void ExpectDefaultCursor();

  TFileDialogScript dialogs_;
  QTemporaryDir temp_;

 private:
  std::vector<std::string> errorBoxes_;
  TMessageSinkGuard sink_;
  std::unique_ptr<TForm1> form_;
};

}  // namespace kelvora::testing
