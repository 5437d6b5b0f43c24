// The mouse: clicking and dragging select, a click on the current cell opens
// the editor, the wheel scrolls, and borders in the fixed cells resize.
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "toolkit/application.h"
#include "toolkit/grid_base/custom_grid.h"

namespace kelvora {
namespace {

// How near a border the mouse must be to grab it, in pixels either side.
constexpr int kBorderSlack = 3;

int ClampToInt(std::int64_t value) { return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX)); }

}  // namespace

// Each mouse handler runs guarded at its edge, as the key handlers do.
void TCustomGrid::mousePressEvent(QMouseEvent* event) {
  RunGuarded([&] { MousePressed(event); });
}

void TCustomGrid::MousePressed(QMouseEvent* event) {
  if (PanPress(event)) return;
  if (event->button() != Qt::LeftButton) return;
  if (!GridHasFocus()) setFocus(Qt::MouseFocusReason);
  const QPoint p = event->position().toPoint();
  if (StartSizing(p.x(), p.y())) return;
  int col = -1;
  int row = -1;
  MouseToCell(p.x(), p.y(), col, row);
  if (col < fixedCols_ || row < fixedRows_) return;
  mouseState_ = TMouseState::Selecting;
  if ((event->modifiers() & Qt::ShiftModifier) && options_.contains(goRangeSelect)) {
    MoveAnchor({col, row});
    return;
  }
  const bool onCurrent = row == current_.Y && (col == current_.X || options_.contains(goRowSelect));
  if (onCurrent && options_.contains(goEditing)) {
    ShowEditor();
    return;
  }
  MoveCurrent(col, row, true, true);
}

void TCustomGrid::mouseMoveEvent(QMouseEvent* event) {
  RunGuarded([&] {
    const QPoint p = event->position().toPoint();
    if (panner_.Active()) return panner_.MoveTo(p);
    switch (mouseState_) {
      case TMouseState::ColSizing:
      case TMouseState::RowSizing: ContinueSizing(p.x(), p.y()); break;
      case TMouseState::Selecting:
        if (event->buttons() & Qt::LeftButton) DragSelection(p.x(), p.y());
        break;
      case TMouseState::Normal: UpdateMouseCursor(p.x(), p.y()); break;
    }
  });
}

// The editor follows a click once the button is up, as the classic grids do.
void TCustomGrid::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton) return panner_.Released();
  if (event->button() != Qt::LeftButton) return;
  const TMouseState state = mouseState_;
  mouseState_ = TMouseState::Normal;
  if (state != TMouseState::Selecting) return;
  RunGuarded([this] {
    UpdateEdit();
    Click();
  });
}

// Rows go by the system's scroll-lines count for each notch's worth of turn;
// columns one a notch. A device that gives only pixels scrolls a row for
// each default row height it moves.
// A double click on a column's sizing border sizes the column to its text;
// anywhere else it is a second press.
void TCustomGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  const int col = event->button() == Qt::LeftButton && !panner_.Active() && options_.contains(goColSizing)
                      ? SizingBorderCol(p.x(), p.y())
                      : -1;
  if (col < 0) return mousePressEvent(event);
  mouseState_ = TMouseState::Normal;
  RunGuarded([&] { ColumnBorderDoubleClicked(col); });
}

void TCustomGrid::ColumnBorderDoubleClicked(int) {}

void TCustomGrid::wheelEvent(QWheelEvent* event) {
  event->accept();
  const QPoint angle = event->angleDelta();
  const QPoint pixels = event->pixelDelta();
  const bool byAngle = !angle.isNull() || pixels.isNull();
  const int rows = byAngle ? wheelRows_.Add(std::int64_t{angle.y()} * wheelScrollLines_, TWheelSteps::kNotch)
                           : wheelRows_.Add(pixels.y(), rows_.DefaultSize());
  const int cols = byAngle ? wheelCols_.Add(angle.x(), TWheelSteps::kNotch)
                           : wheelCols_.Add(pixels.x(), cols_.DefaultSize());
  if (rows == 0 && cols == 0) return;
  RunGuarded([&] {
    MoveTopLeft(ClampToInt(std::int64_t{topLeft_.X} - cols), ClampToInt(std::int64_t{topLeft_.Y} - rows));
  });
}

// Dragging past an edge of the scrolling area reaches for the next row or
// column beyond it, which scrolls it into view.
void TCustomGrid::DragSelection(int x, int y) {
  const int width = viewport()->width();
  const int height = viewport()->height();
  int col = ColAt(std::clamp(x, 0, std::max(width - 1, 0)));
  int row = RowAt(std::clamp(y, 0, std::max(height - 1, 0)));
  if (x < FixedWidth()) col = std::max(topLeft_.X - 1, fixedCols_);
  else if (x >= width || col < 0) col = std::min(LastVisibleCol() + (x >= width ? 1 : 0), ColCount() - 1);
  if (y < FixedHeight()) row = std::max(topLeft_.Y - 1, fixedRows_);
  else if (y >= height || row < 0) row = std::min(LastVisibleRow() + (y >= height ? 1 : 0), RowCount() - 1);
  if (col < fixedCols_ || row < fixedRows_) return;
  const TGridCoord cell{col, row};
  if (options_.contains(goRangeSelect)) {
    if (cell != anchor_) MoveAnchor(cell);
  } else if (cell != current_) {
    MoveCurrent(col, row, true, true);
  }
}

// The column whose right border lies under x, when y is in the fixed rows.
int TCustomGrid::SizingBorderCol(int x, int y) const {
  if (y < 0 || y >= FixedHeight() || ColCount() == 0) return -1;
  const int at = ColAt(x);
  const int candidates[] = {at, at - 1, at < 0 ? LastVisibleCol() : -1};
  for (const int col : candidates) {
    if (col < 0 || col >= ColCount() || (col >= fixedCols_ && col < topLeft_.X)) continue;
    const std::int64_t border = ColLeft(col) + cols_.Size(col) + cols_.Gap() / 2;
    if (std::llabs(x - border) <= kBorderSlack) return col;
  }
  return -1;
}

int TCustomGrid::SizingBorderRow(int x, int y) const {
  if (x < 0 || x >= FixedWidth() || RowCount() == 0) return -1;
  const int at = RowAt(y);
  const int candidates[] = {at, at - 1, at < 0 ? LastVisibleRow() : -1};
  for (const int row : candidates) {
    if (row < 0 || row >= RowCount() || (row >= fixedRows_ && row < topLeft_.Y)) continue;
    const std::int64_t border = RowTop(row) + rows_.Size(row) + rows_.Gap() / 2;
    if (std::llabs(y - border) <= kBorderSlack) return row;
  }
  return -1;
}

bool TCustomGrid::StartSizing(int x, int y) {
  const int col = options_.contains(goColSizing) ? SizingBorderCol(x, y) : -1;
  if (col >= 0) {
    mouseState_ = TMouseState::ColSizing;
    sizingIndex_ = col;
    sizingStart_ = ClampToInt(ColLeft(col));
    return true;
  }
  const int row = options_.contains(goRowSizing) ? SizingBorderRow(x, y) : -1;
  if (row < 0) return false;
  mouseState_ = TMouseState::RowSizing;
  sizingIndex_ = row;
  sizingStart_ = ClampToInt(RowTop(row));
  return true;
}

void TCustomGrid::ContinueSizing(int x, int y) {
  if (mouseState_ == TMouseState::ColSizing && sizingIndex_ < ColCount())
    SetColWidths(sizingIndex_, std::max(x - sizingStart_, 0));
  else if (mouseState_ == TMouseState::RowSizing && sizingIndex_ < RowCount())
    SetRowHeights(sizingIndex_, std::max(y - sizingStart_, 0));
}

void TCustomGrid::UpdateMouseCursor(int x, int y) {
  if (options_.contains(goColSizing) && SizingBorderCol(x, y) >= 0) viewport()->setCursor(Qt::SplitHCursor);
  else if (options_.contains(goRowSizing) && SizingBorderRow(x, y) >= 0) viewport()->setCursor(Qt::SplitVCursor);
  else viewport()->unsetCursor();
}

}  // namespace kelvora
