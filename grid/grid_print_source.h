#pragma once

#include <string>

#include "grid/print/print_settings.h"
#include "grid/print/print_source.h"
#include "grid/render/cell_paint.h"

namespace kelvora {

class TCellGrid;

// The cell grid as printing reads it. Cells are painted by the screen's cell
// painting, as the grid base would hand them over but never selected or
// focused, in the print settings' fonts; with colours off, black on white.
// The user's draw event is left out: it draws on the screen's surface.
class TGridPrintSource : public TPrintSource, private TCellPaintHost {
 public:
  TGridPrintSource(TCellGrid& grid, const TPrintSettings& settings);

  int ColCount() const override;
  int RowCount() const override;
  int FixedCols() const override;
  int FixedRows() const override;
  int ColWidth(int col) const override;
  int RowHeight(int row) const override;
  int GridLineWidth() const override;
  TGridOptions Options() const override;
  TColor LineColor(bool fixedArea) const override;
  void PaintCell(TCanvas& canvas, int col, int row, const TRect& rect, const TRect& area) override;

 private:
  std::string_view StoredText(int ACol, int ARow) const override;
  bool IsExtraFixedCell(int ACol, int ARow) override;
  void ApplyCellColours(int ACol, int ARow, TGridDrawState AState, TBrush& ABrush, TFont& AFont) override;
  TAlignment CellAlignment(int ACol, int ARow) override;
  bool IsPasswordCell(int ACol, int ARow) override;
  bool RowSelect(int) const override { return false; }
  void CalcFormula(int ACol, int ARow, std::string& Text) override;
  TCellBorders CellBorders(int ACol, int ARow, TPen& APen) override;
  bool CellGraphicFillsCell(int ACol, int ARow) override;
  void DrawCellGraphic(int ACol, int ARow, const TRect& ARect) override;
  void DrawCellEvent(int, int, const TRect&, TGridDrawState) override {}

  void DrawFixedEdges(TCanvas& canvas, const TRect& rect);

  TCellGrid& grid_;
  const TPrintSettings& print_;
  TFont font_;
  TFont fixedFont_;
  TCellPaintSettings settings_;
  std::string text_;
  TCanvas* canvas_ = nullptr;  // the page's, while a cell is painted
};

}  // namespace kelvora
