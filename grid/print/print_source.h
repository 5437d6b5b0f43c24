#pragma once

#include "toolkit/canvas.h"
#include "toolkit/color.h"
#include "toolkit/geometry.h"
#include "toolkit/grid_types.h"

namespace kelvora {

// The grid as printing reads it: its measures and its cells. Columns are
// displayed columns. Counts and sizes are read once a job begins.
class TPrintSource {
 public:
  virtual int ColCount() const = 0;
  virtual int RowCount() const = 0;
  virtual int FixedCols() const = 0;
  virtual int FixedRows() const = 0;
  virtual int ColWidth(int col) const = 0;
  virtual int RowHeight(int row) const = 0;
  virtual int GridLineWidth() const = 0;
  // Which grid lines the screen draws, and in what colour.
  virtual TGridOptions Options() const = 0;
  virtual TColor LineColor(bool fixedArea) const = 0;
  // Paints one cell as the screen shows it, but with no selection and no
  // focus, and in the print settings' fonts and colours; nothing it draws
  // leaves `area`.
  virtual void PaintCell(TCanvas& canvas, int col, int row, const TRect& rect, const TRect& area) = 0;

 protected:
  ~TPrintSource() = default;
};

}  // namespace kelvora
