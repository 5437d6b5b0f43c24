// Key-ups: the end of an incremental search, the editor back after arrows.
#include "grid/cell_grid.h"

namespace kelvora {

void TCellGrid::KeyUp(int& Key, TShiftState Shift) { TCustomGrid::KeyUp(Key, Shift); }

}  // namespace kelvora
