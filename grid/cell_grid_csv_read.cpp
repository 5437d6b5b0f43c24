// Reading CSV back into the grid: the file goes into a store of its own, and
// only a file read to its end takes its place in the grid.
#include <algorithm>

#include "grid/cell_grid.h"
#include "grid/grid_file_events.h"
#include "grid/textio/csv_reader.h"
#include "toolkit/long_command.h"

namespace kelvora {
namespace {

constexpr std::int64_t kIndexLimit = std::int64_t{TCellStore::kMaxIndex} + 1;

}  // namespace

// The file in the writer's dialect, bounded so that its cells fit from
// (col, row) on.
TCsvShape TCellGrid::LoadCsv(const std::string& fileName, std::int64_t col, std::int64_t row, TCellStore& into) {
  const TCsvSettings settings{FieldDelimiter,      IncludeFixedCells, IncludeHiddenColumns,
                              CaretTildeEncoding, OemConvert(),      Multilinecells()};
  TCsvReadLimits limits;
  limits.MaxRows = kIndexLimit - row;
  limits.MaxCols = std::min(limits.MaxCols, kIndexLimit - col);
  TGridFileEvents<TCsvReadEvents> events(*this);
  TMessagePacer pacer;
  // The window paints while the file is read, but nothing the person does
  // may change the grid under the read or start another command meanwhile.
  TLongCommand oneStep;
  return kelvora::ReadCsvFile(fileName, CsvReadRules(settings), limits, into, events, pacer);
}

// The whole file is the whole grid when it holds every stored column in
// order: then its store simply takes the grid's place. Otherwise its cells
// replace those the writer would have written, and the rest stay.
void TCellGrid::ReadCsvFile(const std::string& FileName) {
  TCellStore loaded;
  if (IncludeFixedCells && (IncludeHiddenColumns || hiddenColumnCount_ == 0)) {
    TakeLoadedStore(loaded, LoadCsv(FileName, 0, 0, loaded));
    return;
  }
  const int col = IncludeFixedCells ? 0 : FixedCols();
  const int row = IncludeFixedCells ? 0 : FixedRows();
  const TCsvShape shape = LoadCsv(FileName, col, row, loaded);
  if (IncludeFixedCells) {
    GrowForLoaded(shape, 0, 0, 0, 0);
    FitCountsToLoaded(shape);
  } else {
    GrowForLoaded(shape, col, row, fixedFooters_, fixedRightCols_);
  }
  EraseWrittenCellsForRead();
  PlaceLoadedCells(loaded, shape, col, row, false);
}

void TCellGrid::ReadCsvFile(const std::string& FileName, int ACol, int ARow) {
  CheckAddress(ACol, ARow);
  TCellStore loaded;
  const TCsvShape shape = LoadCsv(FileName, ACol, ARow, loaded);
  GrowForLoaded(shape, ACol, ARow, 0, 0);
  PlaceLoadedCells(loaded, shape, ACol, ARow, true);
}

void TCellGrid::FitCountsToLoaded(const TCsvShape& shape) {
  const std::int64_t hidden = IncludeHiddenColumns ? hiddenColumnCount_ : 0;
  SetColCount(static_cast<int>(std::max<std::int64_t>(shape.Cols - hidden, FixedCols() + 1)));
  SetRowCount(static_cast<int>(std::max<std::int64_t>(shape.Rows, FixedRows() + 1)));
}

// The counts fit the file, keeping the fixed rows and columns with one
// normal one each, as the grid base always does.
void TCellGrid::TakeLoadedStore(TCellStore& loaded, const TCsvShape& shape) {
  store_.Swap(loaded);
  if (EnableGraphics()) loaded.Clear([this](int, int, void* object) { return ReleaseGraphic(object); });
  else loaded.Clear();
  FitCountsToLoaded(shape);
  store_.SetColumnCapacityHint(ColCount());
  InvalidateGrid();
  AccessibleRowsChanged(0, std::max(RowCount() - 1, 0));
  session_.Reread();
  RefreshEditorIn(0, 0, TCellStore::kMaxIndex, TCellStore::kMaxIndex);
}

// Rows are added before the footer rows, so the file's rows are normal ones.
// Right fixed columns cannot move aside, so a file wider than the columns
// before them is refused before anything changes.
void TCellGrid::GrowForLoaded(const TCsvShape& shape, int col, int row, int footers, int rightCols) {
  const std::int64_t hidden = IncludeHiddenColumns ? hiddenColumnCount_ : 0;
  const std::int64_t neededCols = col + shape.Cols + rightCols - hidden;
  if (neededCols > ColCount() && rightCols > 0)
    throw ECellGridError("The file has " + std::to_string(shape.Cols) +
                         " columns, more than fit before the grid's right fixed columns");
  const std::int64_t neededRows = row + shape.Rows + footers;
  if (neededRows > RowCount()) AddNormalRows(static_cast<int>(std::min(neededRows, kIndexLimit) - RowCount()));
  if (neededCols > ColCount()) SetColCount(static_cast<int>(std::min(neededCols, kIndexLimit)));
}

// The cells the writer would write, with the counts as they are now.
void TCellGrid::EraseWrittenCellsForRead() {
  const int firstRow = IncludeFixedCells ? 0 : FixedRows();
  const int lastRow = RowCount() - (IncludeFixedCells ? 0 : fixedFooters_) - 1;
  const int firstCol = IncludeFixedCells ? 0 : FixedCols();
  const int lastCol = ColCount() - (IncludeFixedCells ? 0 : fixedRightCols_) - 1;
  if (lastRow < firstRow || lastCol < firstCol) return;
  if (IncludeHiddenColumns) {
    EraseCellRange(firstCol, firstRow, std::min(lastCol + hiddenColumnCount_, TCellStore::kMaxIndex), lastRow);
    return;
  }
  for (int col = firstCol; col <= lastCol; ++col) {
    const int dataCol = DisplayToDataColumn(col);
    EraseCellRange(dataCol, firstRow, dataCol, lastRow);
  }
}

int TCellGrid::LoadedDataColumn(std::int64_t col) const {
  const int index = static_cast<int>(std::min(col, std::int64_t{TCellStore::kMaxIndex}));
  return IncludeHiddenColumns ? index : DisplayToDataColumn(index);
}

// Over cells that were not emptied first, the file's empty cells are
// written too, as a paste writes them.
void TCellGrid::PlaceLoadedCells(const TCellStore& loaded, const TCsvShape& shape, int col, int row,
                                 bool emptyCellsToo) {
  for (std::int64_t r = 0; r < shape.Rows; ++r) {
    const int target = static_cast<int>(row + r);
    if (emptyCellsToo) {
      for (std::int64_t c = 0; c < shape.Cols; ++c)
        SetCells(LoadedDataColumn(col + c), target, loaded.TextView(static_cast<int>(c), static_cast<int>(r)));
      continue;
    }
    loaded.ForEachTextInRow(static_cast<int>(r), [&](int c, std::string_view text) {
      SetCells(LoadedDataColumn(col + std::int64_t{c}), target, text);
    });
  }
}

}  // namespace kelvora
