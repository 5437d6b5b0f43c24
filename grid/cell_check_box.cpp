// The check box a cell can carry.
#include "grid/cell_graphic.h"

#include <algorithm>

namespace kelvora {

// A square at the cell's left, centred on its height, with a cross when
// checked; drawn in the pen's colour so that it follows the cell's look.
TRect TCellCheckBox::BoxRect(const TRect& cell) const {
  const int side = std::min({Width() - 4, cell.Width() - 2, cell.Height() - 2});
  if (side < 4) return {};
  const int left = cell.Left + 2;
  const int top = cell.Top + (cell.Height() - side) / 2;
  return {left, top, left + side, top + side};
}

void TCellCheckBox::Draw(TCanvas& canvas, const TRect& cell) {
  const TRect box = BoxRect(cell);
  if (box.IsEmpty()) return;
  canvas.Brush().Color = canvas.Pen().Color;
  canvas.FrameRect(box);
  if (!checked_) return;
  canvas.MoveTo(box.Left + 3, box.Top + 3);
  canvas.LineTo(box.Right - 3, box.Bottom - 3);
  canvas.MoveTo(box.Right - 4, box.Top + 3);
  canvas.LineTo(box.Left + 2, box.Bottom - 3);
}

}  // namespace kelvora
