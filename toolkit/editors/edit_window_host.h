#pragma once

#include <string>

#include "toolkit/color.h"
#include "toolkit/font.h"
#include "toolkit/grid_types.h"

namespace kelvora {

// What an edit window asks of the grid it is laid over, and all it may ask:
// the grid's look, the text the current cell starts from, the keys the
// window hands on and the options that decide which keys those are.
class TEditWindowHost {
 public:
  virtual TFont EditorFont() const = 0;
  virtual TColor EditorColor() const = 0;
  virtual TGridOptions EditorOptions() const = 0;
  // The current cell's text as an editor starts from it.
  virtual std::string EditorStartText() = 0;
  // The window's text changed; the host writes it to the cell.
  virtual void EditorTextChanged() = 0;
  // The shift state of the key on its way in, before any step sees it.
  virtual void EditorKeyShift(TShiftState Shift) = 0;
  virtual void EditorKeyDown(int& Key, TShiftState Shift) = 0;
  virtual void EditorKeyUp(int& Key, TShiftState Shift) = 0;
  virtual void EditorKeyPress(char32_t& Key) = 0;
  // Tab without goTabs: the focus goes to the window beside the grid.
  virtual void EditorFocusNeighbour(bool forward) = 0;

 protected:
  ~TEditWindowHost() = default;
};

}  // namespace kelvora
