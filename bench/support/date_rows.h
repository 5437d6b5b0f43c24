#pragma once

// The seven fields of a date line, 1 to 4 bytes each: weekday, day, month,
// year, hour, minute, second. The CSV benches save and read these rows; the
// python anchor of the save bench builds the same rows from the same rules.
#include <array>
#include <string>

#include "grid/cell_grid.h"

namespace kelvora::bench {

inline std::array<std::string, 7> DateRow(int i) {
  static constexpr const char* kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  return {kDays[i % 7],           std::to_string(i % 31 + 1),     kMonths[i % 12],
          std::to_string(1990 + i % 35), std::to_string(i % 24), std::to_string(i * 7 % 60),
          std::to_string(i * 13 % 60)};
}

// The grid as the main window leaves it after "Get Data": seven columns, no
// fixed ones, one date row each.
inline void FillDateGrid(TCellGrid& grid, int rows) {
  grid.SetFixedCols(0);
  grid.SetFixedRows(0);
  grid.SetColCount(7);
  grid.SetRowCount(rows);
  for (int r = 0; r < rows; ++r) {
    const auto row = DateRow(r);
    for (int c = 0; c < 7; ++c) grid.SetCells(c, r, row[c]);
  }
}

}  // namespace kelvora::bench
