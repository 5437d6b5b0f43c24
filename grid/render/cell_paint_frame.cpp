// The lines around a cell: the borders its handler asks for, and the edges
// of cells that only this grid treats as fixed.
#include <algorithm>
#include <cstdint>

#include "grid/render/cell_painter.h"
#include "toolkit/canvas_keeper.h"

namespace kelvora {
namespace {

void Line(TCanvas& canvas, int x0, int y0, int x1, int y1) {
  canvas.MoveTo(x0, y0);
  canvas.LineTo(x1, y1);
}

// A pen wider than the cell covers the cell already; wider still it would
// only ask the surface for shapes it cannot represent.
int UsableWidth(int width, const TRect& cell) { return std::clamp(width, 0, std::max(cell.Width(), cell.Height())); }

}  // namespace

void TCellPainter::PaintBorders() {
  const TCanvasKeeper keeper(canvas_, {cpPen});
  const TCellBorders sides = host_.CellBorders(cell_.DataCol, cell_.Row, canvas_.Pen());
  if (!sides.empty()) {
    TPen& pen = canvas_.Pen();
    pen.Width = UsableWidth(pen.Width, rect_);
    const int half = pen.Width / 2;
    const TRect r{rect_.Left + half, rect_.Top + half, rect_.Right - half, rect_.Bottom - half};
    const TCellClip clip(canvas_, rect_, context_.PaintArea);
    if (sides.contains(cbLeft)) Line(canvas_, r.Left, r.Top, r.Left, r.Bottom);
    if (sides.contains(cbRight)) Line(canvas_, r.Right - 1, r.Top, r.Right - 1, r.Bottom);
    if (sides.contains(cbTop)) Line(canvas_, r.Left, r.Top, r.Right, r.Top);
    if (sides.contains(cbBottom)) Line(canvas_, r.Left, r.Bottom - 1, r.Right, r.Bottom - 1);
  }
}

// The grid base gives its own fixed cells their edges; these are the cells
// it does not know for fixed.
void TCellPainter::PaintFixedEdges() {
  if (!extraFixed_ && !settings_.Areas.IsRightFixedCol(cell_.DataCol)) return;
  const bool vertical = settings_.Options.contains(goFixedVertLine);
  const bool horizontal = settings_.Options.contains(goFixedHorzLine);
  if (!vertical && !horizontal) return;
  if (settings_.Flat) {
    PaintFlatEdges(vertical, horizontal);
    return;
  }
  TEdgeSides lowerRight, upperLeft;
  if (vertical) lowerRight.insert(esRight), upperLeft.insert(esLeft);
  if (horizontal) lowerRight.insert(esBottom), upperLeft.insert(esTop);
  canvas_.DrawEdge(rect_, lowerRight);
  canvas_.DrawEdge(rect_, upperLeft);
}

// Flat edges lie on the grid lines, one pixel outside the cell.
void TCellPainter::PaintFlatEdges(bool vertical, bool horizontal) {
  const TCanvasKeeper keeper(canvas_, {cpPen});
  canvas_.Pen() = TPen{clBlack, 1, psSolid};
  const int left = rect_.Left - 1, top = rect_.Top - 1, right = rect_.Right + 1, bottom = rect_.Bottom + 1;
  if (horizontal) {
    Line(canvas_, left, top, right, top);
    Line(canvas_, left, bottom, right, bottom);
  }
  if (vertical) {
    Line(canvas_, left, top, left, bottom);
    Line(canvas_, right, top, right, bottom);
  }
}

}  // namespace kelvora
