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
void TCellGrid::HideColumn(int dataCol) {
  CheckHideable(dataCol);
  if (!columnVisible_[dataCol]) return;
  columnVisible_[dataCol] = false;
  ++hiddenColumnCount_;
  if (ColCount() > 0) SetColCount(ColCount() - 1);
  InvalidateGrid();
}

void TCellGrid::UnHideColumn(int dataCol) {
  CheckHideable(dataCol);
  if (columnVisible_[dataCol]) return;
  columnVisible_[dataCol] = true;
  --hiddenColumnCount_;
  SetColCount(ColCount() + 1);
  InvalidateGrid();
}

int TCellGrid::DisplayToDataColumn(int DisplayCol) const {
  if (DisplayCol >= kHideableColumns) return DisplayCol;
  if (hiddenColumnCount_ == 0) return DisplayCol >= 0 ? DisplayCol : 0;
  int shown = 0;
  for (int col = 0; col < kHideableColumns; ++col) {
    if (!columnVisible_[col]) continue;
    if (shown == DisplayCol) return col;
    ++shown;
  }
  return 0;
}

int TCellGrid::DataToDisplayColumn(int dataCol) const {
  if (dataCol >= kHideableColumns || hiddenColumnCount_ == 0) return dataCol;
  if (!columnVisible_[dataCol]) return -1;
  int shown = 0;
  for (int col = 0; col < dataCol; ++col)
    if (columnVisible_[col]) ++shown;
  return shown;
}

}  // namespace kelvora
