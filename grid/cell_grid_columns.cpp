#include "grid/cell_grid.h"

namespace kelvora {

namespace {

void CheckHideable(int dataCol) {
  if (dataCol < 0 || dataCol >= TCellGrid::kHideableColumns)
    throw ECellGridError("Column " + std::to_string(dataCol) +
                         " cannot be hidden: only columns 0 to 255 can");
}

}  // namespace

bool TCellGrid::IsHiddenColumn(int dataCol) const {
  return dataCol >= 0 && dataCol < kHideableColumns && !columnVisible_[dataCol];
}

// A hidden column leaves the display; its cells stay where they are stored.
// A column that is not displayed has no place to leave, and hiding it would
// pull another stored column into view in its stead.
void TCellGrid::HideColumn(int dataCol) {
  CheckHideable(dataCol);
  if (!columnVisible_[dataCol]) return;
  if (DataToDisplayColumn(dataCol) >= ColCount())
    throw ECellGridError("Column " + std::to_string(dataCol) +
                         " cannot be hidden: it is not displayed");
  columnVisible_[dataCol] = false;
  RebuildColumnMaps();
  SetColCount(ColCount() - 1);
  InvalidateGrid();
}

void TCellGrid::UnHideColumn(int dataCol) {
  CheckHideable(dataCol);
  if (columnVisible_[dataCol]) return;
  columnVisible_[dataCol] = true;
  RebuildColumnMaps();
  SetColCount(ColCount() + 1);
  InvalidateGrid();
}

void TCellGrid::RebuildColumnMaps() {
  int shown = 0;
  for (int col = 0; col < kHideableColumns; ++col) {
    displayOfColumn_[col] = static_cast<std::int16_t>(columnVisible_[col] ? shown : -1);
    if (columnVisible_[col]) shownColumns_[shown++] = static_cast<std::int16_t>(col);
  }
  hiddenColumnCount_ = kHideableColumns - shown;
}

// The displayed columns are the stored columns in order with the hidden ones
// left out. Only the first 256 stored columns carry a visibility flag, so a
// displayed column past the visible flagged ones lies beyond them, shifted by
// the hidden count. (Reading it as column 0, or a displayed column of 256 or
// more as itself, would show one stored column twice and lose the last one
// as soon as a column is hidden.)
int TCellGrid::DisplayToDataColumn(int DisplayCol) const {
  if (DisplayCol < 0) return 0;
  if (hiddenColumnCount_ == 0) return DisplayCol;
  if (DisplayCol < kHideableColumns - hiddenColumnCount_) return shownColumns_[DisplayCol];
  const std::int64_t beyond = std::int64_t{DisplayCol} + hiddenColumnCount_;
  return static_cast<int>(std::min<std::int64_t>(beyond, TCellStore::kMaxIndex));
}

int TCellGrid::DataToDisplayColumn(int DataCol) const {
  if (DataCol < 0) return -1;
  if (hiddenColumnCount_ == 0) return DataCol;
  if (DataCol >= kHideableColumns) return DataCol - hiddenColumnCount_;
  return displayOfColumn_[DataCol];
}

}  // namespace kelvora
