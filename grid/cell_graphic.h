#pragma once

#include "toolkit/canvas.h"
#include "toolkit/geometry.h"

namespace kelvora {

// A picture or control drawn in a cell beside its text. The grid owns the
// graphics of its cells.
class TCellGraphic {
 public:
  virtual ~TCellGraphic() = default;
  virtual int Width() const = 0;  // room it takes beside the text
  // Drawn after the cell's text and borders while EnableGraphics is on.
  virtual void Draw(TCanvas& /*canvas*/, const TRect& /*cell*/) {}
  // A graphic that takes the whole cell leaves no room for its text.
  virtual bool FillsCell() const { return false; }
};

}  // namespace kelvora
