// The grid's own keys, after the base has moved the current cell.
#include "grid/cell_grid.h"

namespace kelvora {

void TCellGrid::KeyDown(int& Key, TShiftState Shift) { TCustomGrid::KeyDown(Key, Shift); }

}  // namespace kelvora
