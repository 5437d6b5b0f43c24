#pragma once

#include <string>

#include "grid/cell_grid_events.h"
#include "toolkit/grid_types.h"

namespace kelvora {

// What the cell grid keeps about editing: one set per grid, not per cell.
// Cells are kept as stored column and row, so that hiding a column cannot
// hand one cell's text to another.
struct TCellEditState {
  // Escape puts this text back, and only into the cell it was taken from.
  std::string RevertText;
  TGridCoord RevertCell{-1, -1};
  // The cell whose edit is tracked, and its text when the snapshot was taken.
  TGridCoord SnapshotCell{-1, -1};
  std::string SnapshotText;
  bool EditPending = false;      // the box was shown; the grid validates when it loses focus
  bool ValidationArmed = false;  // the box was shown; cleared when validation runs
  bool Validating = false;       // the box may not show meanwhile
  TEditorType EditorKind = 0;
  char32_t OpeningChar = 0;  // the character whose typing is opening the box, else 0
};

}  // namespace kelvora
