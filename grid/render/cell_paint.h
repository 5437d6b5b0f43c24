#pragma once

#include <span>

#include <cstdint>
#include <string>
#include <string_view>

#include "grid/render/cell_paint_types.h"
#include "grid/render/markup.h"
#include "toolkit/bitmap.h"
#include "toolkit/canvas.h"
#include "toolkit/color.h"
#include "toolkit/font.h"
#include "toolkit/geometry.h"
#include "toolkit/grid_types.h"

namespace kelvora {

// Where a cell lies among the grid's fixed areas. Columns are stored
// columns; the fixed counts are the ones the cell grid reads (a fixed row
// kept on counts as one).
struct TCellAreas {
  int FixedCols = 0;
  int FixedRows = 0;
  int StoredColCount = 0;  // the displayed columns and the hidden ones
  int RowCount = 0;
  int FixedRightCols = 0;
  int FixedFooters = 0;

  // Counted in 64 bits: counts near the limit of an int must not wrap.
  bool IsRightFixedCol(int dataCol) const {
    return std::int64_t{dataCol} >= std::int64_t{StoredColCount} - FixedRightCols;
  }
  bool IsFooterRow(int row) const { return std::int64_t{row} >= std::int64_t{RowCount} - FixedFooters; }
  // Neither fixed, nor right fixed, nor a footer: the cells that bands colour.
  bool IsNormalDataCell(int dataCol, int row) const {
    return dataCol >= FixedCols && row >= FixedRows && !IsRightFixedCol(dataCol) && !IsFooterRow(row);
  }
};

struct TBandColours {
  bool Active = false;
  TColor PrimaryColor = clInfoBk;
  int PrimaryLength = 1;
  TColor SecondaryColor = clWindow;
  int SecondaryLength = 1;
};

// The band colour of a data row, counted from the first non-fixed row;
// clNone when bands are off or both lengths are 0.
TColor BandColour(const TBandColours& bands, int row, int fixedRows);

struct TBackgroundPicture {
  const TBitmap* Bitmap = nullptr;  // none when null or empty
  TBackgroundDisplay Display = bdTile;
  TBackgroundCells Cells = bcNormal;
  int Left = 0;
  int Top = 0;
};

// A sorted column as its header shows it: the stored column, its place
// among the sort columns (from 1) and its direction.
struct TSortMark {
  int Col = 0;
  int Rank = 1;
  bool Descending = false;
};

// The grid's settings as painting one cell reads them. The grid fills one for
// every cell it paints; fonts and pictures stay the grid's own.
struct TCellPaintSettings {
  const TFont* Font = nullptr;
  const TFont* FixedFont = nullptr;
  TColor Color = clWindow;
  TColor FixedColor = clBtnFace;
  TCellAreas Areas;
  TGridOptions Options;
  bool Flat = false;
  TGridRect Selection;  // displayed columns
  int CurrentRow = 0;
  bool GridFocused = false;
  bool EditorShowing = false;  // the base draws no focus rectangle then

  TColor SelectionColor = clHighlight;
  TColor SelectionTextColor = clHighlightText;
  bool ShowSelection = true;
  bool HideFocusRect = false;
  bool SelectionRectangle = false;
  bool DisjunctRowSelect = false;

  TVAlignment VAlignment = vtaTop;
  bool WordWrap = false;
  bool Multilinecells = false;
  bool EnableHTML = true;
  bool EnhTextSize = false;
  bool URLShow = false;
  bool URLFull = false;
  TColor URLColor = clBlue;
  bool RightToLeft = false;

  TBandColours Bands;
  TBackgroundPicture BackGround;
  bool SortShow = false;
  int SortColumn = 0;
  bool SortFixedCols = false;
  std::span<const TSortMark> SortMarks;  // ranks shown only when there are several
  const TBitmap* RowIndicator = nullptr;
  const TImageList* GridImages = nullptr;
  bool EnableGraphics = false;

  char PasswordChar = '*';
  int FontSizeOffset = 0;
  bool BlinkPhase = false;
};

// What painting asks of the grid: its events and its overridable hooks.
// Columns are stored columns.
class TCellPaintHost {
 public:
  // The view may end with the next handler, which could change the cell.
  virtual std::string_view StoredText(int ACol, int ARow) const = 0;
  virtual bool IsExtraFixedCell(int ACol, int ARow) = 0;
  virtual void ApplyCellColours(int ACol, int ARow, TGridDrawState AState, TBrush& ABrush, TFont& AFont) = 0;
  virtual TAlignment CellAlignment(int ACol, int ARow) = 0;
  virtual bool IsPasswordCell(int ACol, int ARow) = 0;
  // Whether the row is in the disjoint row selection.
  virtual bool RowSelect(int ARow) const = 0;
  // The formula hook: turns the text of a formula cell into what is shown.
  virtual void CalcFormula(int ACol, int ARow, std::string& Text) = 0;
  // The sides to draw; the pen may be changed for them.
  virtual TCellBorders CellBorders(int ACol, int ARow, TPen& APen) = 0;
  // A graphic that fills the whole cell leaves no room for the text.
  virtual bool CellGraphicFillsCell(int ACol, int ARow) = 0;
  virtual void DrawCellGraphic(int ACol, int ARow, const TRect& ARect) = 0;
  virtual void DrawCellEvent(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) = 0;

 protected:
  ~TCellPaintHost() = default;
};

using TMarkupPainter = TMarkupResult (*)(TCanvas& canvas, const TMarkupInput& input);

// Everything painting a cell works with besides the cell itself.
struct TCellPaintContext {
  TCanvas& Canvas;
  const TCellPaintSettings& Settings;
  TCellPaintHost& Host;
  // The text being painted: a copy of the stored one, which handlers cannot
  // take away, reused from cell to cell so that it costs no allocation.
  std::string& Text;
  // The clip that painting goes back to after clipping to a cell.
  TRect PaintArea;
  TMarkupPainter PaintMarkup = &DrawMarkup;
};

struct TCellToPaint {
  int Col = 0;      // displayed
  int DataCol = 0;  // stored
  int Row = 0;
  TRect Rect;
  TGridDrawState State;
};

// Paints one cell, the way the grid base asks for it: the surface's brush is
// the one the base chose for the cell's state.
void PaintCell(const TCellPaintContext& context, const TCellToPaint& cell);

// Whether a cell of row 0 leaves room for the sort glyph.
bool IsSortHeader(const TCellPaintSettings& settings, int dataCol, int row);
// The mark of a sorted column; null for a column not sorted by.
const TSortMark* FindSortMark(const TCellPaintSettings& settings, int dataCol);

}  // namespace kelvora
