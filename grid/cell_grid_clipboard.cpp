// The clipboard shortcuts: the selection as tab-separated lines.
#include "grid/cell_grid.h"

namespace kelvora {

bool TCellGrid::ClipboardShortcut(int, TShiftState) { return false; }

}  // namespace kelvora
