#include <QCoreApplication>

#include <algorithm>

#include "grid/cell_grid.h"
#include "grid/textio/csv_writer.h"

namespace kelvora {

namespace {

// The grid as the CSV writer sees it. Every count is read from the grid when
// asked, since handlers may change the grid while it is written.
class TGridCsvSource : public TCsvCellSource {
 public:
  explicit TGridCsvSource(TCellGrid& grid) : grid_(grid) {}

  int RowCount() const override { return grid_.RowCount(); }
  int ColCount() const override { return grid_.ColCount(); }
  int FixedRows() const override { return grid_.FixedRows(); }
  int FixedCols() const override { return grid_.FixedCols(); }
  int FixedFooters() const override { return grid_.FixedFooters(); }
  int FixedRightCols() const override { return grid_.FixedRightCols(); }
  int HiddenColumnCount() const override { return grid_.HiddenColumnCount(); }
  int DisplayToDataColumn(int displayCol) const override {
    return grid_.DisplayToDataColumn(displayCol);
  }
  // Past the last storable index nothing can be stored, so the writer may
  // ask there (a column count near the limit of an int) and read empty.
  std::string_view CellText(int col, int row) override {
    if (col < 0 || row < 0 || col > TCellStore::kMaxIndex || row > TCellStore::kMaxIndex) return {};
    return grid_.CellText(col, row);
  }
  void RowTexts(int row, int first, int last, std::string_view* out) override {
    const int stored = std::min(last, TCellStore::kMaxIndex);
    if (stored >= first) grid_.RowCellTexts(row, first, stored, out);
    std::fill(out + std::max(stored - first + 1, 0), out + (last - first + 1), std::string_view());
  }
  bool RowPackedTexts(int row, int first, int last, std::uint64_t* out) override {
    // Past the last storable index the views' path reads empty texts.
    if (last > TCellStore::kMaxIndex) return false;
    return grid_.RowInlineCellWords(row, first, last, out);
  }
  bool WantsProgress() const override { return static_cast<bool>(grid_.OnFileProgress); }
  // A copy, because a handler may replace or drop itself while it runs.
  void ReportProgress(short percent) override {
    const auto handler = grid_.OnFileProgress;
    if (handler) handler(&grid_, percent);
  }
  void ProcessMessages() override { QCoreApplication::processEvents(); }

 private:
  TCellGrid& grid_;
};

}  // namespace

void TCellGrid::WriteCsvFile(const std::string& FileName, bool Append) {
  const TCsvSettings settings{FieldDelimiter,      IncludeFixedCells, IncludeHiddenColumns,
                              CaretTildeEncoding, OemConvert(),      Multilinecells()};
  TGridCsvSource source(*this);
  kelvora::WriteCsvFile(source, settings, FileName, Append);
}

}  // namespace kelvora
