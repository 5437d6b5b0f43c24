#pragma once

// Column fitting timed over one column of the main window's grid, the way
// the mark-up and the rich-text benches compare it with a text document's
// measuring.
#include <cstdio>
#include <string>
#include <vector>

#include "app/form1_grid.h"
#include "grid/cell_grid.h"
#include "support/stopwatch.h"

namespace kelvora::bench {

// `text` picks the cell text out of each bench's own cell record; the
// fitted width goes to standard error, so runs can be compared by eye.
template <typename Cell>
double FirstColumnFitSeconds(const std::vector<Cell>& cells, std::string Cell::*text, const char* what) {
  TCellGrid grid;
  ApplyGridDescription(grid);
  grid.SetRowCount(static_cast<int>(cells.size()));
  for (std::size_t row = 0; row < cells.size(); ++row) grid.SetCells(0, static_cast<int>(row), cells[row].*text);
  const auto start = Clock::now();
  grid.FitColumnsToText(true, 2);
  const double seconds = SecondsSince(start);
  std::fprintf(stderr, "%s fitted width: %d pixels\n", what, grid.ColWidths(0));
  return seconds;
}

}  // namespace kelvora::bench
