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

// A check box in a cell: Space and a click on the box toggle it while the
// cell may be edited.
class TCellCheckBox : public TCellGraphic {
 public:
  explicit TCellCheckBox(bool checked = false) : checked_(checked) {}
  bool Checked() const { return checked_; }
  void SetChecked(bool on) { checked_ = on; }
  int Width() const override { return 16; }
  void Draw(TCanvas& canvas, const TRect& cell) override;
  // Where the box is drawn in a cell; empty when the cell is too small.
  TRect BoxRect(const TRect& cell) const;

 private:
  bool checked_;
};

}  // namespace kelvora
