#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "grid/cell_graphic.h"
#include "grid/cell_grid_events.h"
#include "grid/cell_grid_properties.h"
#include "grid/cell_store.h"
#include "grid/grid_settings.h"
#include "grid/render/cell_extent.h"
#include "grid/textio/cell_grid_error.h"
#include "toolkit/custom_grid.h"

namespace kelvora {

class TWindowTimer;

// The cell grid: a string grid on the grid base, with a sparse cell store,
// fixed areas that can be kept on, hidden columns, column fitting and a CSV
// writer. It is a facade: each large concern lives in its own file and the
// members here are short calls into it.
//
// Cells are addressed by stored column and row. A negative index, or one past
// TCellStore::kMaxIndex, raises ECellGridError naming the address.
class TCellGrid : public TCustomGrid, public TCellGridProperties, public TCellGridEvents {
  Q_OBJECT

 public:
  explicit TCellGrid(QWidget* owner = nullptr);
  ~TCellGrid() override;

  // What the owner calls once it has applied its own settings to the grid.
  void Loaded();

  // Cells.
  std::string Cells(int ACol, int ARow) const;
  void SetCells(int ACol, int ARow, std::string_view text);
  // The view stays valid until the next change of any cell.
  std::string_view CellText(int ACol, int ARow) const;
  TCellGraphic* CellGraphic(int ACol, int ARow) const;
  void SetCellGraphic(int ACol, int ARow, std::unique_ptr<TCellGraphic> graphic);
  // The cell's own background colour; clNone when it has none.
  TColor CellColor(int ACol, int ARow) const;
  void SetCellColor(int ACol, int ARow, TColor color);

  // Dimensions, with the rules that keep a fixed row or column on.
  void SetColCount(int count);
  void SetRowCount(int count);
  int FixedCols() const;
  void SetFixedCols(int count) { TCustomGrid::SetFixedCols(count); }
  int FixedRows() const;
  void SetFixedRows(int count) { TCustomGrid::SetFixedRows(count); }
  bool FixedColAlways() const { return fixedColAlways_; }
  void SetFixedColAlways(bool on) { fixedColAlways_ = on; }
  bool FixedRowAlways() const { return fixedRowAlways_; }
  void SetFixedRowAlways(bool on) { fixedRowAlways_ = on; }
  int FixedColWidth() const;
  void SetFixedColWidth(int width);
  int FixedRowHeight() const;
  void SetFixedRowHeight(int height);
  int FixedRightCols() const { return fixedRightCols_; }
  void SetFixedRightCols(int count);
  int FixedFooters() const { return fixedFooters_; }
  void SetFixedFooters(int count);

  // Emptying cells. Ranges are inclusive; cells beyond the counts are erased
  // as well, fixed cells too. Graphics are freed while EnableGraphics is on.
  virtual void EraseCellRange(int FromCol, int FromRow, int ToCol, int ToRow);
  void EraseAllCells();
  void EraseRowRange(int FromRow, int Count);

  // Hidden columns. The first 256 stored columns can be hidden; a hidden
  // column leaves the display and is kept after the last displayed one.
  static constexpr int kHideableColumns = 256;
  int HiddenColumnCount() const { return hiddenColumnCount_; }
  bool IsHiddenColumn(int dataCol) const;
  void HideColumn(int dataCol);
  void UnHideColumn(int dataCol);
  int DisplayToDataColumn(int DisplayCol) const;

  // Column fitting: each column as wide as its widest text plus 4 pixels.
  void FitColumnsToText(bool IncludeFixed, int ExtraWidth);
  void FitColumnToText(int ACol);
  void FitColumnWidth(int ACol, bool OnlyGrow);
  // Width and height of a stored cell's text in the canvas's current font.
  TSize CellTextExtent(int ACol, int ARow);
  TCellTextOptions CellTextOptions() const;
  // Bands, the cell's own colour, then OnGetCellColor; may change the font.
  virtual void ApplyCellColours(int ACol, int ARow, TGridDrawState AState, TBrush& ABrush,
                                TFont& AFont);
  // Points added to every cell font (the zoom), kept within -10..10.
  int FontSizeOffset() const { return fontSizeOffset_; }
  void SetFontSizeOffset(int points);

  // CSV.
  char FieldDelimiter = '\0';  // byte 0 means a comma
  bool IncludeFixedCells = true;
  bool IncludeHiddenColumns = false;
  bool CaretTildeEncoding = false;
  void WriteCsvFile(const std::string& FileName) { WriteCsvFile(FileName, false); }
  void WriteCsvFile(const std::string& FileName, bool Append);

  // Sub-objects.
  TPrintSettings& PrintSettings() { return printSettings_; }
  THTMLSettings& HTMLSettings() { return htmlSettings_; }
  TNavigation& Navigation() { return navigation_; }
  TColumnSize& ColumnSize() { return columnSize_; }
  TCellNode& CellNode() { return cellNode_; }
  TBands& Bands() { return bands_; }
  TSizeWhileTyping& SizeWhileTyping() { return sizeWhileTyping_; }
  TMouseActions& MouseActions() { return mouseActions_; }
  TBackGround& BackGround() { return backGround_; }
  TFilter& Filter() { return filter_; }
  TFont& FixedFont() { return fixedFont_; }
  const TFont& FixedFont() const { return fixedFont_; }
  void SetFixedFont(const TFont& font);
  std::vector<std::string>& ColumnHeaders() { return columnHeaders_; }
  std::vector<std::string>& RowHeaders() { return rowHeaders_; }
  std::vector<std::string>& LookupItems() { return lookupItems_; }

  // The phase of blinking mark-up, toggled by the grid's timer.
  bool BlinkPhase() const { return blinkPhase_; }
  // The size of the owner's window when the grid was made (SizeWithForm).
  TSize OwnerFormSize() const { return ownerFormSize_; }

 protected:
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  virtual void PaintCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
  std::string GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const std::string& Value) override;
  void RowDeleted(int ARow) override;
  void RowInserted(int ARow) override;
  void RowMoved(int FromIndex, int ToIndex) override;

  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CheckAddress(int ACol, int ARow) const;
  // Writes a cell without refreshing the edit window, for the editor itself.
  void StoreCell(int ACol, int ARow, std::string_view text);
  void InvalidateStoredCell(int dataCol, int row);
  int DataToDisplayColumn(int dataCol) const;  // -1 for a hidden column
  bool ReleaseGraphic(void* object);  // answers true: the reference goes
  void ChainOwnerForm(QWidget* owner);
  void WindowCreated();
  void TimerTick();

  TCellStore store_;
  std::array<bool, kHideableColumns> columnVisible_;
  int hiddenColumnCount_ = 0;
  bool fixedColAlways_ = false;
  bool fixedRowAlways_ = false;
  int fixedRightCols_ = 0;
  int fixedFooters_ = 0;
  int fontSizeOffset_ = 0;
  bool blinkPhase_ = false;
  bool windowCreated_ = false;

  TPrintSettings printSettings_;
  THTMLSettings htmlSettings_;
  TNavigation navigation_;
  TColumnSize columnSize_;
  TCellNode cellNode_;
  TBands bands_;
  TSizeWhileTyping sizeWhileTyping_;
  TMouseActions mouseActions_;
  TBackGround backGround_;
  TFilter filter_;
  TFont fixedFont_;
  std::vector<std::string> columnHeaders_;
  std::vector<std::string> rowHeaders_;
  std::vector<std::string> lookupItems_;

  QWidget* ownerForm_ = nullptr;
  TSize ownerFormSize_;
  Qt::CursorShape rememberedCursor_ = Qt::ArrowCursor;
  std::unique_ptr<TWindowTimer> timer_;
};

}  // namespace kelvora
