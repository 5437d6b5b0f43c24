#pragma once

namespace kelvora {

class TCellGrid;

// The main window's settings of its grid, applied over the grid's defaults.
void ApplyGridDescription(TCellGrid& grid);

}  // namespace kelvora
