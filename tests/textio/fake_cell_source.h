#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "grid/store/cell_text.h"
#include "grid/textio/csv_writer.h"

namespace kelvora::csv_test {

// An in-memory grid for the CSV writer. Its hooks run inside the writer's
// calls to ReportProgress and ProcessMessages, so a test can change the grid
// in the middle of a write the way an event handler would.
class TFakeCellSource : public TCsvCellSource {
 public:
  int rowCount = 1;
  int colCount = 1;
  int fixedRows = 0;
  int fixedCols = 0;
  int fixedFooters = 0;
  int fixedRightCols = 0;
  int hiddenColumnCount = 0;
  // Displayed column i shows stored column dataColumns[i]; empty: none hidden.
  std::vector<int> dataColumns;
  bool wantsProgress = false;
  // Hands rows of short texts over packed, as the grid's store keeps them.
  bool packsShortTexts = false;

  std::vector<short> progress;
  int processMessagesCalls = 0;
  int maxRowRead = -1;
  std::function<void(TFakeCellSource&, short)> onProgress;
  std::function<void(TFakeCellSource&)> onProcessMessages;

  // Sets the cells of one row from column 0 on and grows the counts to fit.
  void SetRow(int row, const std::vector<std::string>& texts) {
    for (std::size_t col = 0; col < texts.size(); ++col) SetCell(static_cast<int>(col), row, texts[col]);
    if (row >= rowCount) rowCount = row + 1;
    if (static_cast<int>(texts.size()) > colCount) colCount = static_cast<int>(texts.size());
  }
  void SetCell(int col, int row, std::string text) { cells_[{col, row}] = std::move(text); }

  int RowCount() const override { return rowCount; }
  int ColCount() const override { return colCount; }
  int FixedRows() const override { return fixedRows; }
  int FixedCols() const override { return fixedCols; }
  int FixedFooters() const override { return fixedFooters; }
  int FixedRightCols() const override { return fixedRightCols; }
  int HiddenColumnCount() const override { return hiddenColumnCount; }
  int DisplayToDataColumn(int displayCol) const override {
    if (displayCol >= 0 && displayCol < static_cast<int>(dataColumns.size())) return dataColumns[displayCol];
    return displayCol;
  }

  // The text is copied into a scratch buffer, as a grid that builds the text
  // on demand would do, so a writer that keeps the view too long reads junk.
  std::string_view CellText(int col, int row) override {
    if (row > maxRowRead) maxRowRead = row;
    const auto it = cells_.find({col, row});
    scratch_ = it == cells_.end() ? std::string() : it->second;
    return scratch_;
  }

  bool RowPackedTexts(int row, int first, int last, std::uint64_t* out) override {
    if (!packsShortTexts) return false;
    for (int col = first; col <= last; ++col) {
      const auto it = cells_.find({col, row});
      const std::string text = it == cells_.end() ? std::string() : it->second;
      // The store's own cell text makes the word, so the writer is held to
      // the form the store really keeps.
      const TCellText stored(text);
      if (!stored.IsInline()) return false;
      out[col - first] = stored.Word();
    }
    if (row > maxRowRead) maxRowRead = row;
    return true;
  }

  bool WantsProgress() const override { return wantsProgress; }
  void ReportProgress(short percent) override {
    progress.push_back(percent);
    if (onProgress) onProgress(*this, percent);
  }
  void ProcessMessages() override {
    ++processMessagesCalls;
    if (onProcessMessages) onProcessMessages(*this);
  }

 private:
  std::map<std::pair<int, int>, std::string> cells_;
  std::string scratch_;
};

}  // namespace kelvora::csv_test
