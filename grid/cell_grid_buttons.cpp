// Fixed cells as buttons (FixedAsButtons): raised, and pressed while the
// left button is held down on one, as a push button is; and the double
// click on a column's sizing border, which fits the column to its text.
#include <QMouseEvent>

#include "grid/cell_grid.h"
#include "grid/render/fixed_button.h"
#include "toolkit/application.h"

namespace kelvora {

void TCellGrid::SetFixedAsButtons(bool v) {
  TCellGridProperties::SetFixedAsButtons(v);
  InvalidateGrid();
}

void TCellGrid::DrawFixedEdge(TCanvas& canvas, int ACol, int ARow, const TRect& ARect) {
  if (!FixedAsButtons()) return TCustomGrid::DrawFixedEdge(canvas, ACol, ARow, ARect);
  const bool pressed = pressedShown_ && pressedFixed_ == TGridCoord{ACol, ARow};
  PaintFixedButton(canvas, ARect, pressed);
}

void TCellGrid::ColumnBorderDoubleClicked(int ACol) { FitColumnToText(ACol); }

// A press that starts sizing a column presses no button.
void TCellGrid::PressFixedCell(int x, int y) {
  if (!FixedAsButtons() || Sizing() || Panning()) return;
  int col = -1;
  int row = -1;
  MouseToCell(x, y, col, row);
  if (col < 0 || row < 0 || (col >= FixedCols() && row >= FixedRows())) return;
  pressedFixed_ = {col, row};
  pressedShown_ = true;
  InvalidateCell(col, row);
}

// The button shows pressed only while the mouse is on it, so that a person
// can still slide off it.
void TCellGrid::TrackPressedCell(int x, int y) {
  if (pressedFixed_.X < 0) return;
  int col = -1;
  int row = -1;
  MouseToCell(x, y, col, row);
  const bool on = TGridCoord{col, row} == pressedFixed_;
  if (on == pressedShown_) return;
  pressedShown_ = on;
  InvalidateCell(pressedFixed_.X, pressedFixed_.Y);
}

void TCellGrid::ReleaseFixedCell() {
  if (pressedFixed_.X < 0) return;
  const TGridCoord released = pressedFixed_;
  pressedFixed_ = {-1, -1};
  pressedShown_ = false;
  InvalidateCell(released.X, released.Y);
}

void TCellGrid::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) ReplayHeldPress();
  if (event->button() == Qt::LeftButton) ReleaseFixedCell();
  TCustomGrid::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton) RunGuarded([this] { PlaceCaretAfterClick(); });
}

}  // namespace kelvora
