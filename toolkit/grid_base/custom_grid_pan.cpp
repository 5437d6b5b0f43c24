// Middle-button panning: the press starts it, TGridPanner runs it, and its
// steps scroll the grid by whole rows and columns.
#include <QHideEvent>
#include <QMouseEvent>

#include <algorithm>
#include <climits>
#include <cstdint>

#include "toolkit/grid_base/custom_grid.h"

namespace kelvora {

// Any press while a pan runs only ends it, so the click that ends a pan
// selects nothing; a middle press starts one where the grid allows it, and
// leaves the focus, and an open edit box, where they are.
bool TCustomGrid::PanPress(QMouseEvent* event) {
  if (panner_.Active()) {
    panner_.End();
    return true;
  }
  if (event->button() != Qt::MiddleButton) return false;
  const TPanAxes axes = PanAxes();
  if (axes.Any()) panner_.Start(event->position().toPoint(), axes);
  return true;
}

void TCustomGrid::PanBy(int cols, int rows) {
  const auto moved = [](int from, int by) {
    return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{from} + by, INT_MIN, INT_MAX));
  };
  MoveTopLeft(moved(topLeft_.X, cols), moved(topLeft_.Y, rows));
}

void TCustomGrid::hideEvent(QHideEvent* event) {
  panner_.End();
  QAbstractScrollArea::hideEvent(event);
}

}  // namespace kelvora
