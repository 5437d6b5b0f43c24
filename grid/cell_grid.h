#pragma once

#include <QMouseEvent>
#include <QPointer>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "grid/cell_graphic.h"
#include "grid/cell_grid_error.h"
#include "grid/cell_grid_events.h"
#include "grid/cell_grid_properties.h"
#include "grid/cell_paint_errors.h"
#include "grid/edit/edit_session.h"
#include "grid/grid_search.h"
#include "grid/grid_settings.h"
#include "grid/render/cell_extent.h"
#include "grid/render/cell_paint.h"
#include "grid/row_selection.h"
#include "grid/sort/file_order.h"
#include "grid/sort/sort_keys.h"
#include "grid/store/cell_store.h"
#include "toolkit/editors/edit_link.h"
#include "toolkit/grid_base/custom_grid.h"

class QMimeData;

namespace kelvora {

class TCellInplaceEdit;
class TSpecialEditor;
class TDropTarget;
struct TCsvShape;
class TWindowTimer;

// The cell grid: a string grid on the grid base, with a sparse cell store,
// fixed areas that can be kept on, hidden columns, column fitting and a CSV
// writer. It is a facade: each large concern lives in its own file and the
// members here are short calls into it.
//
// Cells are addressed by stored column and row. A negative index, or one past
// TCellStore::kMaxIndex, raises ECellGridError naming the address.
class TCellGrid : public TCustomGrid,
                  public TCellGridProperties,
                  public TCellGridEvents,
                  private TCellPaintHost {
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
  std::string_view CellText(int ACol, int ARow) const {
    CheckAddress(ACol, ARow);
    return store_.TextView(ACol, ARow);
  }
  // The texts of stored columns fromCol..toCol of one row at once, for
  // writers that walk whole rows; views as for CellText.
  void RowCellTexts(int ARow, int fromCol, int toCol, std::string_view* out) const {
    CheckAddress(fromCol, ARow);
    CheckAddress(toCol, ARow);
    store_.RowTextViews(ARow, fromCol, toCol, out);
  }
  // The same as the store's inline words, false when a text is a long one.
  bool RowInlineCellWords(int ARow, int fromCol, int toCol, std::uint64_t* out) const {
    CheckAddress(fromCol, ARow);
    CheckAddress(toCol, ARow);
    return store_.RowInlineWords(ARow, fromCol, toCol, out);
  }
  // The same for cells that are plain to an export: normal cells that no
  // hook, band, own colour, font style or number alignment gives a look of
  // their own. False when a cell of the range is not.
  bool RowPlainCellWords(int ARow, int fromCol, int toCol, std::uint64_t* out) const;
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
  // While on, no fixed row (column) reads as one, which the cells show.
  bool FixedColAlways() const { return fixedColAlways_; }
  void SetFixedColAlways(bool on) {
    fixedColAlways_ = on;
    InvalidateGrid();
  }
  bool FixedRowAlways() const { return fixedRowAlways_; }
  void SetFixedRowAlways(bool on) {
    fixedRowAlways_ = on;
    InvalidateGrid();
  }
  int FixedColWidth() const;
  void SetFixedColWidth(int width);
  int FixedRowHeight() const;
  void SetFixedRowHeight(int height);
  // Kept and repainted; a negative count raises ECellGridError.
  int FixedRightCols() const { return fixedRightCols_; }
  void SetFixedRightCols(int count);
  int FixedFooters() const { return fixedFooters_; }
  void SetFixedFooters(int count);

  // Emptying cells. Ranges are inclusive; cells beyond the counts are erased
  // as well, fixed cells too. Graphics are freed while EnableGraphics is on.
  // A range that starts at a negative address raises ECellGridError; one that
  // ends past the last storable index stops there.
  virtual void EraseCellRange(int FromCol, int FromRow, int ToCol, int ToRow);
  void EraseAllCells();
  void EraseRowRange(int FromRow, int Count);

  // Hidden columns. The first 256 stored columns can be hidden; a hidden
  // column leaves the display (ColCount drops by one) and is kept after the
  // last displayed one, so the stored columns in use run from 0 to ColCount
  // - 1 + HiddenColumnCount. Only a displayed column can be hidden.
  static constexpr int kHideableColumns = 256;
  int HiddenColumnCount() const { return hiddenColumnCount_; }
  bool IsHiddenColumn(int dataCol) const;
  void HideColumn(int dataCol);
  void UnHideColumn(int dataCol);
  // The stored column shown at a displayed column: the displayed columns are
  // the stored ones in order, hidden ones left out. Negative columns give 0.
  int DisplayToDataColumn(int DisplayCol) const;
  // The displayed column of a stored one; -1 for a hidden column.
  int DataToDisplayColumn(int DataCol) const;

  // Column fitting: each column as wide as its widest text plus 4 pixels.
  void FitColumnsToText(bool IncludeFixed, int ExtraWidth);
  void FitColumnToText(int ACol);
  void FitColumnWidth(int ACol, bool OnlyGrow);
  // Width and height of a stored cell's text in the canvas's current font.
  TSize CellTextExtent(int ACol, int ARow);
  TCellTextOptions CellTextOptions() const;

  // Painting (cell_grid_paint*.cpp). Columns are stored columns.
  // The cell-colour hook: the band colour of a data cell, then the cell's own
  // colour, then OnGetCellColor, which may change the brush and the font.
  void ApplyCellColours(int ACol, int ARow, TGridDrawState AState, TBrush& ABrush, TFont& AFont) override;
  // A cell painted as fixed although the grid base does not fix it: a footer
  // row, a right fixed column, or what OnIsFixedCell says.
  bool IsExtraFixedCell(int ACol, int ARow) override;
  // Left; right for numbers with AutoNumAlign; then OnGetAlignment.
  TAlignment CellAlignment(int ACol, int ARow) override;
  // Points added to every cell font (the zoom), kept within -10..10.
  int FontSizeOffset() const { return fontSizeOffset_; }
  void SetFontSizeOffset(int points);
  // The zoom operation (cell_grid_wheel.cpp): the offset moves by `steps`
  // within its limits, every row takes the height the zoomed text needs,
  // and the current cell stays in view.
  void Zoom(int steps);
  // What a password cell shows for each of its characters.
  char PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char c);
  // Text reads from right to left while the grid's layout does.
  bool RightToLeftReading() const { return layoutDirection() == Qt::RightToLeft; }
  // The disjoint row selection (MouseActions.DisjunctRowSelect).
  bool RowSelect(int ARow) const override { return rowSelection_.Contains(ARow); }
  void SetRowSelect(int ARow, bool selected);
  void ClearRowSelect();

  // CSV.
  char FieldDelimiter = '\0';  // byte 0 means a comma
  bool IncludeFixedCells = true;
  bool IncludeHiddenColumns = false;
  bool CaretTildeEncoding = false;
  // Whether the CSV writer writes the rows a filter hides as well (a save
  // of everything), or only the rows shown (an export of the view).
  bool IncludeFilteredRows = false;
  void WriteCsvFile(const std::string& FileName) { WriteCsvFile(FileName, false); }
  void WriteCsvFile(const std::string& FileName, bool Append);
  // Reading CSV back (cell_grid_csv_read.cpp), with the writer's settings.
  // The whole-grid form puts the file where the writer took it from: every
  // cell, or with IncludeFixedCells off the normal cells, the counts made to
  // fit the file. The other form writes the file's cells from a displayed
  // cell on (a stored one with IncludeHiddenColumns) and only grows the grid.
  // The file is read whole before the grid changes: a file that cannot be
  // read raises ECellGridError naming it (and the line) and leaves the grid
  // as it was.
  void ReadCsvFile(const std::string& FileName);
  void ReadCsvFile(const std::string& FileName, int ACol, int ARow);

  // HTML (cell_grid_html.cpp): the grid, or a block of displayed cells, as
  // one table in an HTML5 document, HTMLSettings.Width percent wide, fixed
  // cells as header cells, each cell with the colours, font style and
  // alignment that painting gives it; mark-up as sanitised HTML. The file
  // replaces an old one only once it is complete; one that cannot be made
  // raises ECellGridError("Cannot create file " + FileName).
  void WriteHtmlFile(const std::string& FileName);
  void WriteHtmlFile(const std::string& FileName, const TGridRect& Range);
  // The selection as such a document, as the clipboard offers it beside the
  // text; mark-up keeps its tags with CopyHTMLTagsToClipboard.
  std::string SelectionAsHtml();
  // Small enough for its HTML to go with its text (cell_grid_clipboard.cpp).
  bool SelectionFitsHtml() const;

  // Printing (cell_grid_print.cpp): the grid on paper, in the preview or in
  // a PDF file, laid out by PrintSettings and painted page by page by the
  // screen's cell painting. Print and PrintPreview show Qt's dialogs.
  // PrintToPdf answers false when the person stopped the job; it leaves no
  // file behind then, nor after an error, and a file that was there stays.
  void Print();
  void PrintPreview();
  bool PrintToPdf(const std::string& FileName);

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

  // What a screen reader speaks: a mark-up cell by its plain text, a
  // password cell only as its mask.
  std::string AccessibleCellText(int ACol, int ARow) override;

  // In-place editing (cell_grid_edit.cpp). CommitCellEdit validates the
  // edit of the snapshot cell once it is armed, and answers the validation's
  // verdict (true when nothing was armed); CancelCellEdit puts back the text
  // the current cell had when it was selected or its edit box opened.
  bool CommitCellEdit();
  void CancelCellEdit();
  // The special editor open over the current cell (a kind the edit box does
  // not edit itself), else nullptr.
  QWidget* SpecialEditor() const;

  // Rows from the keyboard (cell_grid_rows.cpp): deleting and inserting
  // rows with one repaint, the current cell kept inside the grid. RemoveRows
  // removes the rows from ARow that exist, up to ACount; InsertRows puts
  // ACount empty rows at ARow (0..RowCount). A count of 0 or less does
  // nothing; a first row outside those ranges, or an insertion that would
  // move a row or a stored cell past the last index, raises ECellGridError
  // and changes nothing.
  void RemoveRows(int ARow, int ACount);
  void InsertRows(int ARow, int ACount);
  // The rows between the fixed rows and the footer rows.
  int NormalRowCount() const { return std::max(RowCount() - FixedRows() - fixedFooters_, 0); }

  // Moving on after Enter (cell_grid_advance.cpp). Cells that OnCanEditCell
  // refuses are passed over, for one round of the grid at most.
  void AdvanceCell(int ACol, int ARow, bool Forward, bool OpenEditor, bool Force);
  // The cells between the fixed rows and the footer rows, and between the
  // fixed columns and the fixed right columns (displayed columns).
  TGridRect NormalCells() const;

  // The clipboard (cell_grid_clipboard.cpp), as tab-separated lines.
  // Copying takes the selection's displayed cells; pasting writes from the
  // current cell on, growing the grid as AllowClipboardRowGrow and
  // AllowClipboardColGrow allow and clipping to it otherwise. A paste that
  // would need more rows or columns than a grid can hold raises
  // ECellGridError before it changes anything.
  std::string SelectionAsText();
  void PasteText(int ACol, int ARow, std::string_view text);
  void CopySelectionToClipboard();
  void CutSelectionToClipboard();
  void PasteFromClipboard();

  // Sorting (cell_grid_sort.cpp): the normal rows, by a list of stored
  // columns and directions, stable, empty cells last. SortColumn follows
  // the first key. Fixed rows, footer rows and rows hidden by a filter stay
  // where they are. With SortFull whole rows move; without it the cells of
  // the fixed columns stay, as row labels do. Heights set for single rows
  // and marks of single rows go with their rows. A key naming a column that is
  // not stored raises ECellGridError and changes nothing; an open edit is
  // validated first, and a refused one stops the sort.
  const std::vector<TSortKey>& SortColumns() const { return sortKeys_; }
  void SetSortColumns(std::vector<TSortKey> keys);  // an empty list: file order
  void SortByColumn(int ACol, TSortDirection ADirection) { SetSortColumns({{ACol, ADirection}}); }
  void Sort();  // by the list again, after the cells changed
  // Puts the rows back in the order they had before the first sort, rows
  // added since beside the row they were added after, and empties the list.
  void RestoreFileOrder();
  bool InFileOrder() const { return !fileOrder_.Active(); }
  // Filtering (cell_grid_filter.cpp): ApplyFilter hides the normal rows
  // that do not meet Filter().Conditions, without deleting any data, and
  // ClearFilter shows them again: in file order, or sorted again by the
  // sort columns when the grid is sorted. A filter replaces the one before.
  // Hidden rows are kept after the footer rows, beyond RowCount, as hidden
  // columns are kept after the displayed ones, so that what works on the
  // shown rows (keys, editing, the clipboard, RemoveRows, the CSV writer)
  // cannot reach them. EraseAllCells and SetRowCount clear the filter first.
  void ApplyFilter();
  void ClearFilter();
  bool Filtered() const { return filtered_.Active; }
  // Rows hidden by the filter, stored or not.
  int FilteredOutRowCount() const { return static_cast<int>(filtered_.HiddenStored + filtered_.HiddenEmpty); }
  int FilteredStoredRowCount() const { return static_cast<int>(filtered_.HiddenStored); }

  // What a click on a sort header does (cell_grid_sort_header.cpp): a first
  // click sorts by the column, a second reverses it, a third goes back to
  // file order; with addKey the column is added to the list, reversed, or
  // taken out of it.
  void SortHeaderClick(int ADataCol, bool addKey);

  // Drag and drop (cell_grid_drop.cpp). While OleDropTarget is on, text
  // dropped on a cell is pasted there as the clipboard's text is (with
  // OleAcceptText), and dropped files reach OnOleDropFiles with the cell
  // they fell on (with OleAcceptFiles). The accept flags reach the drop
  // target when it is made and when the owner calls Loaded.
  void SetOleDropTarget(bool on);
  std::function<void(TObject* Sender, int ACol, int ARow, const std::vector<std::string>& Files)> OnOleDropFiles;
  // The selection as a drag: its text beside its HTML table.
  QMimeData* SelectionMimeData();

  // The phase of blinking mark-up, toggled by the grid's timer.
  bool BlinkPhase() const { return blinkPhase_; }
  // The size of the owner's window when the grid was made (SizeWithForm).
  TSize OwnerFormSize() const { return ownerFormSize_; }

  // The scroll bars' look follows these at once.
  void SetScrollType(TScrollType v);
  void SetScrollColor(TColor v);
  void SetScrollWidth(int v);
  void SetFixedAsButtons(bool v);

  // The cell store's check of its own invariants, for tests: empty when sound.
  std::string CheckConsistency() const { return store_.CheckConsistency(); }

 protected:
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  virtual void PaintCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
  // The formula hook: what a cell whose text begins with "=" shows. The text
  // comes in and goes out through Text; by default it stays as it is.
  void CalcFormula(int ACol, int ARow, std::string& Text) override;
  void Paint() override;
  void paintEvent(QPaintEvent* event) override;
  std::string GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const std::string& Value) override;
  // Editing hooks (cell_grid_edit.cpp, cell_grid_edit_hooks.cpp).
  bool SelectCell(int ACol, int ARow) override;
  bool CanEditShow() override;
  TInplaceEdit* CreateEditor() override;
  void CharMessage(char32_t& Key) override;
  void KeyPress(char32_t& Key) override;
  // The grid's own keys (cell_grid_keys.cpp) and their key-ups
  // (cell_grid_key_up.cpp).
  void KeyDown(int& Key, TShiftState Shift) override;
  void KeyUp(int& Key, TShiftState Shift) override;
  // Ctrl+X, Ctrl+C, Ctrl+V and their Insert and Delete forms
  // (cell_grid_clipboard.cpp): true when the key was one of them.
  bool ClipboardShortcut(int Key, TShiftState Shift);
  // Typing in a sorted grid that is not edited finds the row
  // (cell_grid_search.cpp); key-ups of moving keys end the search.
  void IncrementalSearch(char32_t Key);
  void DoEnter() override;
  void DoExit() override;
  void Click() override;
  // Links first, then sort headers, then the editing question, then the base.
  void mousePressEvent(QMouseEvent* event) override;
  void RowRangeDeleted(int ARow, int ACount) override;
  void RowRangeInserted(int ARow, int ACount) override;
  void RowMoved(int FromIndex, int ToIndex) override;
  // IntelliPan as the ways the middle button pans.
  TPanAxes PanAxes() const override;
  // Fixed cells as buttons (cell_grid_buttons.cpp).
  void DrawFixedEdge(TCanvas& canvas, int ACol, int ARow, const TRect& ARect) override;
  void ColumnBorderDoubleClicked(int ACol) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Links in mark-up cells under the mouse (cell_grid_anchors.cpp).
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  // Ctrl zooms, and the wheel scrolls only while EnableWheel is on.
  void wheelEvent(QWheelEvent* event) override;
  // The desktop's tool-tip moment shows a cell's hint (cell_grid_hints.cpp).
  bool viewportEvent(QEvent* event) override;
  void TopLeftChanged() override;

 private:
  // Every cell access passes here, a million times a fill, so the test is
  // inline and the error is made elsewhere.
  void CheckAddress(std::int64_t ACol, std::int64_t ARow) const {
    if (ACol < 0 || ARow < 0 || ACol > TCellStore::kMaxIndex || ARow > TCellStore::kMaxIndex)
      RaiseBadAddress(ACol, ARow);
  }
  [[noreturn]] static void RaiseBadAddress(std::int64_t ACol, std::int64_t ARow);
  void CheckFitColumn(int ACol) const;
  void RefreshEditorIn(int fromCol, int fromRow, int toCol, int toRow);
  // Writes a cell without refreshing the edit window, for the editor itself.
  void StoreCell(int ACol, int ARow, std::string_view text);
  // Marks a stored cell for repainting. A program writes thousands of cells
  // in a row, nearly all out of view, so the marks are gathered into one
  // block and handed to the base once the event loop runs again.
  void InvalidateStoredCell(int dataCol, int row) {
    if (row >= RowCount()) return;
    const int displayCol = hiddenColumnCount_ == 0 ? dataCol : DataToDisplayColumn(dataCol);
    if (displayCol < 0 || displayCol >= ColCount()) return;
    if (!repaintPending_) return StartRepaint(displayCol, row);
    TGridRect& block = pendingRepaint_;
    block.Left = std::min(block.Left, displayCol);
    block.Top = std::min(block.Top, row);
    block.Right = std::max(block.Right, displayCol);
    block.Bottom = std::max(block.Bottom, row);
  }
  // Editing (cell_grid_edit.cpp, cell_grid_edit_hooks.cpp).
  friend class TCellInplaceEdit;
  TCellInplaceEdit* CellEditor() const;
  bool CellChangeAllowed(int ACol, int ARow);
  bool AskCanEditCell(int ACol, int ARow);
  void SetEditingOption(bool on);
  bool IsFixedTarget(int ACol, int ARow);
  TGridCoord CurrentDataCell() const { return {DisplayToDataColumn(Col()), Row()}; }
  bool ChooseEditorKind();
  bool EditBoxInUse() const;
  void EditBoxFocused();
  void AskEditOnClick(int x, int y);
  // The settings of editing in place (cell_grid_edit_hooks.cpp,
  // cell_grid_size_typing.cpp): the first click that opens the box
  // (DirectEdit), the caret put where the click was (CaretPositioning), and
  // the edited cell growing with its text (SizeWhileTyping).
  void EditOnFirstClick(int x, int y, bool extendsSelection);
  void PlaceCaretAfterClick();
  void GrowToTypedText();
  TSize TypedTextExtent(TCanvas& canvas, std::string_view text, int col, TSize cap);
  TSize TypedGrowthCap() const;
  std::optional<TPoint> caretClick_;  // global; the left click not yet released
  // Room beside a measured text, so that it does not touch the grid line.
  static constexpr int kTextFitMargin = 4;
  // A program's write to a cell is no edit of the user's: it becomes the
  // text that Escape and a failed validation go back to. Checked on every
  // write, so the test is inline.
  void NoteProgramWrite(int ACol, int ARow, std::string_view text) {
    if (session_.Tracks(ARow)) session_.Written({ACol, ARow}, text);
  }
  // What the edit session reads and writes of this grid.
  class TSessionCells final : public TEditCells {
   public:
    explicit TSessionCells(TCellGrid& grid) : grid_(grid) {}
    bool HasCell(TGridCoord cell) const override;
    std::string Text(TGridCoord cell) const override;
    void Store(TGridCoord cell, const std::string& text) override;
    void Type(TGridCoord cell, const std::string& text) override;
    void Validate(TGridCoord cell, std::string& Value, bool& Valid) override;
    bool EditorInUse() const override;

   private:
    TCellGrid& grid_;
  };
  TSessionCells sessionCells_{*this};
  TEditSession session_{sessionCells_};
  // The special editors (cell_grid_widget_editor.cpp): one open at a time,
  // over the cell it was opened on (displayed column).
  bool SpecialEditorOpenHere() const;
  void ShowSpecialEditor();
  void CloseSpecialEditor();
  void PlaceOwnEditor() override;
  void HideOwnEditor() override;
  void SpecialEditorKey(int key, TShiftState shift);
  void SpecialEditorClicked();
  bool ConfigureSpecialEditor(TSpecialEditor& editor);
  std::string SpecialEditorName() const;
  QPointer<TSpecialEditor> special_;
  TGridCoord specialCell_{-1, -1};
  TEditLink editLink_;

  // The Delete and Insert keys, Space on a check box and Tab past the last
  // normal column (cell_grid_keys.cpp, cell_grid_rows.cpp).
  void DeleteCurrentRow();
  void InsertRowAtKey();
  bool IsNormalRow(int ARow) const { return ARow >= FixedRows() && ARow < RowCount() - fixedFooters_; }
  void RestoreCurrentAfterRemoval(int current, int top);
  void ToggleCheckBox();
  TCellCheckBox* CurrentCheckBox() const { return CheckBoxAt(Col(), Row()); }
  TCellCheckBox* CheckBoxAt(int col, int row) const;
  bool ClickTogglesCheckBox(int x, int y);
  void WrapTab(int colBefore);
  int LastNormalCol() const { return ColCount() - 1 - fixedRightCols_; }
  // Counts changes to the rows' order, so that a handler that moved rows
  // itself is noticed.
  unsigned rowChanges_ = 0;

  // cell_grid_advance.cpp, cell_grid_clipboard.cpp, cell_grid_search.cpp
  bool StepAdvance(TGridCoord& cell, bool forward, bool& grown);
  bool AddRowForAdvance(TGridCoord& cell);
  bool AddColForAdvance(TGridCoord& cell);
  bool EditBoxHasFocus() const;
  void AddNormalRows(int count);
  std::string ClipboardCellText(int dataCol, int row);
  // cell_grid_csv_read.cpp
  TCsvShape LoadCsv(const std::string& fileName, std::int64_t col, std::int64_t row, TCellStore& into);
  void TakeLoadedStore(TCellStore& loaded, const TCsvShape& shape);
  void PlaceLoadedCells(const TCellStore& loaded, const TCsvShape& shape, int col, int row, bool emptyCellsToo);
  void FitCountsToLoaded(const TCsvShape& shape);
  void GrowForLoaded(const TCsvShape& shape, int col, int row, int footers, int rightCols);
  void EraseWrittenCellsForRead();
  int LoadedDataColumn(std::int64_t col) const;
  void EraseSelectionForCut();
  TGridSearch search_;

  void StartRepaint(int displayCol, int row);
  // Tells a listening assistive tool about a changed stored cell.
  void AnnounceCellChange(int dataCol, int row);
  void FlushRepaint();
  bool ReleaseGraphic(void* object);  // answers true: the reference goes
  void ChainOwnerForm(QWidget* owner);
  void FollowOwnerForm();
  void ApplyScrollLook();
  // cell_grid_buttons.cpp
  void PressFixedCell(int x, int y);
  void TrackPressedCell(int x, int y);
  void ReleaseFixedCell();
  TGridCoord pressedFixed_{-1, -1};  // displayed column; -1 while none is held
  bool pressedShown_ = false;        // the mouse is on it, so it shows pressed

  // cell_grid_paint*.cpp
  TCellAreas Areas() const;
  TCellPaintSettings PaintSettings() const;
  std::string_view StoredText(int ACol, int ARow) const override { return store_.TextView(ACol, ARow); }
  bool IsPasswordCell(int ACol, int ARow) override;
  TCellBorders CellBorders(int ACol, int ARow, TPen& APen) override;
  bool CellGraphicFillsCell(int ACol, int ARow) override;
  void DrawCellGraphic(int ACol, int ARow, const TRect& ARect) override;
  void DrawCellEvent(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  bool HasExtraFixedCells() const;
  void PaintExtraFixedLines(TCanvas& canvas);
  void PaintExtraFixedCellLines(TCanvas& canvas, const TRect& cell);
  void PaintFooterLines(TCanvas& canvas, int row, int firstCol, int lastCol);
  void WindowCreated();
  void TimerTick();
  void RepaintBlinkingCells();  // cell_grid_blink.cpp

  // Printing (cell_grid_print.cpp, grid_print_source.cpp).
  friend class TGridPrintSource;

  // cell_grid_anchors.cpp
  struct TAnchorSpot {
    int Col;  // stored
    int Row;
    int Link;
    std::string Anchor;
    bool operator==(const TAnchorSpot&) const = default;
  };
  std::optional<TAnchorSpot> AnchorAt(int x, int y);
  TFont MarkupCellFont(int ACol, int ARow);
  void TrackAnchor(int x, int y);
  bool ClickAnchor(int x, int y);
  void LeaveAnchor();
  std::optional<TAnchorSpot> hoveredAnchor_;

  // cell_grid_sort.cpp, cell_grid_sort_header.cpp
  struct TSortRange {
    int First = 0;
    int Count = 0;
  };
  TSortRange SortRange() const;
  void CheckSortKeys(const std::vector<TSortKey>& keys) const;
  bool ReadyToSort();
  void ApplyRowOrder(const TSortRange& range, std::vector<std::uint32_t>&& order, bool remember);
  void KeepFixedColumnCells(const TSortRange& range, const std::vector<std::uint32_t>& order);
  void FollowRowsAfterSort(const TSortRange& range, const std::vector<std::uint32_t>& order);
  void UpdateSortMarks();
  bool SortHeaderAt(int x, int y, int& dataCol) const;
  std::vector<TSortKey> sortKeys_;
  std::vector<TSortMark> sortMarks_;  // the keys as painting shows them
  TFileOrder fileOrder_;

  TCellStore store_;
  // The visibility table, and from it the stored column of each displayed
  // one below 256 and the displayed column of each stored one (-1: hidden),
  // worked out whenever a column is hidden or shown, since painting and
  // writing ask for every cell.
  void RebuildColumnMaps();
  std::array<bool, kHideableColumns> columnVisible_;
  std::array<std::int16_t, kHideableColumns> shownColumns_;
  std::array<std::int16_t, kHideableColumns> displayOfColumn_;
  int hiddenColumnCount_ = 0;
  bool fixedColAlways_ = false;
  bool fixedRowAlways_ = false;
  int fixedRightCols_ = 0;
  int fixedFooters_ = 0;
  int fontSizeOffset_ = 0;
  // cell_grid_wheel.cpp
  bool ZoomKey(int Key, TShiftState Shift);
  void FitRowsToZoom();
  int ZoomedTextHeight(int offset);
  // cell_grid_hints.cpp
  bool ShowHintAt(int x, int y);
  void HideHint();
  void RefreshHint(int dataCol);
  bool HintFor(int ACol, int ARow);
  std::string HintText(int dataCol, int ARow);
  TGridCoord hintCell_{-1, -1};  // stored column; -1 while no hint shows
  TPoint hintPoint_;
  int unzoomedRowHeight_ = 0;  // while zoomed: the default row height at no zoom
  TWheelSteps zoomWheel_;
  bool repaintPending_ = false;
  TGridRect pendingRepaint_;  // displayed columns and rows, while a repaint is pending
  bool blinkPhase_ = false;
  bool windowCreated_ = false;

  TPrintSettings printSettings_;
  THTMLSettings htmlSettings_;
  TNavigation navigation_;
  TColumnSize columnSize_;
  TCellNode cellNode_;
  TBands bands_{[this] { InvalidateGrid(); }};
  TSizeWhileTyping sizeWhileTyping_;
  TMouseActions mouseActions_;
  TBackGround backGround_;
  // What the grid keeps about an applied filter.
  struct TFilterState {
    bool Active = false;
    std::int64_t HiddenStored = 0;  // stored rows kept after the footers
    std::int64_t HiddenEmpty = 0;   // empty rows past the last stored one, left out of the count
    std::int64_t ShownEmpty = 0;    // such rows that stay shown, after the stored ones
    std::int64_t Ranked = 0;        // shown rows whose file order is remembered
  };
  void CheckFilterColumns() const;
  void NoteRowsDeleted(int ARow, int ACount);
  void NoteRowsInserted(int ARow, int ACount);
  void HideRows(const TSortRange& range, const std::vector<bool>& matching, bool emptyMatches);
  TFilter filter_;
  TFilterState filtered_;
  TFont fixedFont_;
  std::vector<std::string> columnHeaders_;
  std::vector<std::string> rowHeaders_;
  std::vector<std::string> lookupItems_;

  QPointer<QWidget> ownerForm_;
  TSize ownerFormSize_;
  Qt::CursorShape rememberedCursor_ = Qt::ArrowCursor;
  std::unique_ptr<TWindowTimer> timer_;
  std::unique_ptr<TDropTarget> dropTarget_;
  // Dragging the selection out (cell_grid_drop.cpp): a press inside a
  // selection of several cells is held until the mouse either moves far
  // enough to drag or comes up, when it is replayed as the click it was.
  bool HoldPressForDragOut(QMouseEvent* event);
  bool DragOutOnMove(QMouseEvent* event);
  void ReplayHeldPress();
  std::unique_ptr<QMouseEvent> heldPress_;
  bool replayingPress_ = false;
  // Saved column widths (cell_grid_column_widths.cpp), under the form's and
  // the grid's names as they are when the window is made.
  void LoadColumnWidths();
  void SaveColumnWidths() noexcept;
  std::string columnWidthsKey_;
  void DropText(QPoint at, const std::string& text);
  void DropFiles(QPoint at, const std::vector<std::string>& files);
  void PassAcceptFlags();

  char passwordChar_ = '*';
  TRowSelection rowSelection_;
  std::string paintText_;  // the text of the cell being painted
  TPaintErrors paintErrors_;
};

}  // namespace kelvora
