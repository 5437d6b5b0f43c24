#pragma once

#include "toolkit/set.h"

namespace kelvora {

enum TGridOption {
  goFixedVertLine,
  goFixedHorzLine,
  goVertLine,
  goHorzLine,
  goRangeSelect,
  goDrawFocusSelected,
  goRowSizing,
  goColSizing,
  goRowMoving,
  goColMoving,
  goEditing,
  goTabs,
  goRowSelect,
  goAlwaysShowEditor,
  goThumbTracking,
};
using TGridOptions = TSet<TGridOption>;

// What a fresh grid starts with: lines everywhere and range selection.
inline constexpr TGridOptions kDefaultGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine,
                                                  goHorzLine, goRangeSelect};

enum TGridDrawStateFlag { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateFlag>;

// A block of cells; all four bounds are cell indexes and inclusive.
struct TGridRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  constexpr bool Contains(int col, int row) const {
    return col >= Left && col <= Right && row >= Top && row <= Bottom;
  }
  bool operator==(const TGridRect&) const = default;
};

struct TGridCoord {
  int X = 0;
  int Y = 0;
  bool operator==(const TGridCoord&) const = default;
};

enum TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateFlag>;

}  // namespace kelvora
