// Deleting and inserting rows.
#include "grid/cell_grid.h"

namespace kelvora {

void TCellGrid::RemoveRows(int, int) {}
void TCellGrid::InsertRows(int, int) {}

}  // namespace kelvora
