#include <algorithm>

#include "grid/cell_grid.h"
#include "grid/grid_file_events.h"
#include "grid/textio/csv_writer.h"
#include "toolkit/long_command.h"

namespace kelvora {

namespace {

// The grid as the CSV writer sees it. Every count is read from the grid when
// asked, since handlers may change the grid while it is written.
//
// With IncludeFilteredRows the rows that a filter hides are written too,
// after the shown normal rows and before the footer rows, as they will
// stand when the filter is cleared; the rest of the writer never knows.
class TGridCsvSource : public TGridFileEvents<TCsvCellSource> {
 public:
  using TGridFileEvents::TGridFileEvents;

  int RowCount() const override {
    return static_cast<int>(std::min<std::int64_t>(std::int64_t{grid_.RowCount()} + Hidden(), TCellStore::kMaxIndex));
  }
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
    row = StoredRow(row);
    if (col < 0 || row < 0 || col > TCellStore::kMaxIndex || row > TCellStore::kMaxIndex) return {};
    return grid_.CellText(col, row);
  }
  void RowTexts(int row, int first, int last, std::string_view* out) override {
    row = StoredRow(row);
    const int stored = row < 0 ? first - 1 : std::min(last, TCellStore::kMaxIndex);
    if (stored >= first) grid_.RowCellTexts(row, first, stored, out);
    std::fill(out + std::max(stored - first + 1, 0), out + (last - first + 1), std::string_view());
  }
  bool RowPackedTexts(int row, int first, int last, std::uint64_t* out) override {
    // Past the last storable index the views' path reads empty texts.
    row = StoredRow(row);
    if (last > TCellStore::kMaxIndex || row < 0) return false;
    return grid_.RowInlineCellWords(row, first, last, out);
  }

 private:
  std::int64_t Hidden() const { return grid_.IncludeFilteredRows ? grid_.FilteredOutRowCount() : 0; }
  // The stored row written at a place; -1 for a hidden empty row.
  int StoredRow(int row) const {
    const std::int64_t hidden = Hidden();
    if (hidden == 0) return row;
    const std::int64_t footers = std::int64_t{grid_.RowCount()} - grid_.FixedFooters();
    const std::int64_t stored = grid_.FilteredStoredRowCount();
    if (row < footers) return row;
    if (row < footers + stored) return static_cast<int>(row + grid_.FixedFooters());
    if (row < footers + hidden) return -1;
    return static_cast<int>(row - hidden);
  }
};

}  // namespace

void TCellGrid::WriteCsvFile(const std::string& FileName, bool Append) {
  const TCsvSettings settings{FieldDelimiter,      IncludeFixedCells, IncludeHiddenColumns,
                              CaretTildeEncoding, OemConvert(),      Multilinecells()};
  TGridCsvSource source(*this);
  // The window keeps painting while a long write processes its messages,
  // but nothing the person does may change the grid or start another
  // command until the file is the grid as it stood at the start.
  TLongCommand oneStep;
  kelvora::WriteCsvFile(source, settings, FileName, Append);
  // What the person did while the file was synced, when no messages were
  // handled, is refused too rather than acted on once the save has ended.
  QCoreApplication::processEvents();
}

}  // namespace kelvora
