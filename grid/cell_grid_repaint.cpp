#include <QMetaObject>

#include "grid/cell_grid.h"

namespace kelvora {

void TCellGrid::StartRepaint(int displayCol, int row) {
  repaintPending_ = true;
  pendingRepaint_ = {displayCol, row, displayCol, row};
  // Queued on the grid itself, so that it is dropped if the grid goes first.
  QMetaObject::invokeMethod(this, [this] { FlushRepaint(); }, Qt::QueuedConnection);
}

// One cell, or one row, is repainted alone; a larger block repaints what is
// in view, which costs one paint of the visible cells however many cells
// were written. Counts may have shrunk meanwhile: the base ignores cells
// that are gone.
void TCellGrid::FlushRepaint() {
  if (!repaintPending_) return;
  repaintPending_ = false;
  const TGridRect& block = pendingRepaint_;
  if (block.Top != block.Bottom) {
    InvalidateGrid();
  } else if (block.Left == block.Right) {
    InvalidateCell(block.Left, block.Top);
  } else {
    InvalidateRow(block.Top);
  }
}

}  // namespace kelvora
