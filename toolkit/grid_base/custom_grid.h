#pragma once

#include <QAbstractScrollArea>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "toolkit/assistive_tools.h"
#include "toolkit/canvas.h"
#include "toolkit/color.h"
#include "toolkit/editors/edit_window_host.h"
#include "toolkit/font.h"
#include "toolkit/geometry.h"
#include "toolkit/grid_base/grid_axis.h"
#include "toolkit/grid_base/grid_panner.h"
#include "toolkit/grid_base/wheel_steps.h"
#include "toolkit/grid_types.h"

namespace kelvora {

class TGridAccessible;
class TInplaceEdit;

// The grid base control: rows and columns of cells, fixed rows and columns
// that never scroll, a current cell inside a selection, scrolling by whole
// rows and columns, the classic keys and mouse handling, painting cell by cell
// through virtual hooks, and editor mode with an in-place edit window. A grid
// that shows and stores texts derives from it and fills in the hooks.
//
// Pixel positions are in the viewport's coordinates. Sizes are kept sparsely
// (TGridAxis), so a hundred million rows cost no memory per row.
//
// Index rules at this public face, operation by operation:
// - Counts (ColCount, RowCount) are clamped at 0; sizes (default sizes,
//   ColWidths, RowHeights, GridLineWidth) are clamped to what TGridAxis
//   allows.
// - Reading ColWidths/RowHeights outside the grid gives the default size.
// - Writing ColWidths/RowHeights, SetCol/SetRow, SetSelection, DeleteRow,
//   InsertRow, MoveRow, DeleteColumn and the fixed counts raise Exception
//   with a message naming the index and the valid range.
// - TopRow/LeftCol are clamped into the scrollable range.
// - CellRect gives an empty rectangle, MouseToCell -1, and the Invalidate*
//   calls nothing for cells that are outside the grid or out of view.
class TCustomGrid : public QAbstractScrollArea, public TEditWindowHost {
  Q_OBJECT

 public:
  explicit TCustomGrid(QWidget* parent = nullptr);
  ~TCustomGrid() override;

  // Dimensions.
  int ColCount() const { return cols_.Count(); }
  void SetColCount(int count);
  int RowCount() const { return rows_.Count(); }
  void SetRowCount(int count);
  // 0 up to the count less one (only 0 while the count is 0).
  int FixedCols() const { return fixedCols_; }
  void SetFixedCols(int count);
  int FixedRows() const { return fixedRows_; }
  void SetFixedRows(int count);
  int DefaultColWidth() const { return cols_.DefaultSize(); }
  void SetDefaultColWidth(int width);  // resets every column to it
  int DefaultRowHeight() const { return rows_.DefaultSize(); }
  void SetDefaultRowHeight(int height);  // resets every row to it
  int ColWidths(int col) const;
  void SetColWidths(int col, int width);
  int RowHeights(int row) const;
  void SetRowHeights(int row, int height);
  int GridLineWidth() const { return gridLineWidth_; }
  void SetGridLineWidth(int width);

  // Options. goRowSelect switches goAlwaysShowEditor off.
  TGridOptions Options() const { return options_; }
  void SetOptions(TGridOptions options);

  // Look.
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TColor FixedColor() const { return fixedColor_; }
  void SetFixedColor(TColor color);
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font);
  // Fixed cells get a raised edge unless the grid is flat.
  bool Flat() const { return flat_; }
  void SetFlat(bool flat);
  // With default drawing on, each cell is filled with the brush the base
  // chose before DrawCell runs; a grid that fills its own cells turns it off.
  bool DefaultDrawing() const { return defaultDrawing_; }
  void SetDefaultDrawing(bool on);

  // The current cell and the selection. Col() and Row() are 0 while the
  // grid has no columns or rows. Moving the current cell asks SelectCell.
  int Col() const { return current_.X; }
  void SetCol(int col);
  int Row() const { return current_.Y; }
  void SetRow(int row);
  // Normalised: Left <= Right, Top <= Bottom.
  TGridRect Selection() const;
  // The current cell becomes the top-left corner of the block (SelectCell is
  // not asked, as for any selection set by the program).
  void SetSelection(TGridRect selection);

  // Scrolling, by whole rows and columns.
  int TopRow() const { return topLeft_.Y; }
  void SetTopRow(int row);
  int LeftCol() const { return topLeft_.X; }
  void SetLeftCol(int col);
  // Scrolling rows and columns wholly in view from TopRow / LeftCol.
  int VisibleRowCount() const;
  int VisibleColCount() const;
  // The last scrolling row and column at least partly in view.
  int LastVisibleRow() const;
  int LastVisibleCol() const;
  // A middle-button pan is under way (custom_grid_pan.cpp).
  bool Panning() const { return panner_.Active(); }
  const TGridPanner& Panner() const { return panner_; }
  TGridPanner& Panner() { return panner_; }
  // The scroll bars' look: flat or raised, a background colour (clNone: the
  // style's own) and a thickness in pixels at a scale of 1. A style of the
  // toolkit draws them (custom_grid_scroll_look.cpp).
  void SetScrollBarLook(bool flat, TColor color, int width);
  int WheelScrollLines() const { return wheelScrollLines_; }
  void SetWheelScrollLines(int lines);  // at least 1

  TRect CellRect(int col, int row) const;
  void MouseToCell(int x, int y, int& col, int& row) const;

  void InvalidateCell(int col, int row);
  void InvalidateRow(int row);
  void InvalidateCol(int col);
  void InvalidateGrid();
  // The rows from this one to the bottom of the view, and below the last row.
  void InvalidateRowsFrom(int row);

  // Structural changes. Sizes, the current cell and the selection move with
  // their rows and columns; the grid is told through the *Deleted, *Inserted
  // and *Moved hooks so that it can move its own data.
  void DeleteRow(int row);  // 0..RowCount-1
  void InsertRow(int row);  // 0..RowCount; the new row has the default height
  // `count` rows at once, told to the grid by one RowRangeDeleted or
  // RowRangeInserted. A count of 0 or less does nothing; a deletion stops at
  // the last row; an insertion that would pass kMaxRowCount raises
  // Exception and changes nothing.
  void DeleteRowRange(int row, int count);
  void InsertRowRange(int row, int count);
  static constexpr int kMaxRowCount = 2147483647;
  void MoveRow(int from, int to);  // both 0..RowCount-1
  // After the rows from `first` on were reordered (the row now at first + i
  // was at first + order[i]): the heights set for single rows follow them.
  void RowsReordered(int first, std::span<const std::uint32_t> order);
  void DeleteColumn(int col);  // 0..ColCount-1

  // Editor mode. It is sticky: once on, the edit window follows the current
  // cell until it is switched off (Enter, HideEditor, focus leaving the grid).
  bool EditorMode() const { return editorMode_; }
  void SetEditorMode(bool on);  // on: caret at the end, nothing selected
  void ShowEditor();            // all the text selected
  // Shows the editor, selects all its text and then types the character, so
  // that typing replaces the text and Backspace empties it.
  void ShowEditorChar(char32_t ch);
  void HideEditor();
  void HideEditWindow();   // hides the window but stays in editor mode
  void InvalidateEditor();  // re-reads the text of the current cell
  void UpdateText();        // writes the window's text to its cell
  TInplaceEdit* InplaceEditor() const { return editor_; }
  bool EditorShowing() const;

  // The drawing surface: the paint surface while painting, else a surface
  // that only measures, with the grid's font.
  TCanvas& Canvas();
  void SetMeasureCanvas(std::unique_ptr<TCanvas> canvas);
  // Paints the cells that meet `dirty` onto any surface, the way the paint
  // event paints the viewport.
  void PaintTo(TCanvas& canvas, const TRect& dirty);

  // The text a screen reader speaks for a cell (displayed column); by
  // default the text the editor would start with.
  virtual std::string AccessibleCellText(int ACol, int ARow);

 protected:
  // Hooks, called at the moments a classic grid base calls them.
  virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
  // Before the current cell moves; false refuses the move.
  virtual bool SelectCell(int ACol, int ARow);
  // Each time the editor is about to show or to move to another cell.
  virtual bool CanEditShow();
  virtual std::string GetEditText(int ACol, int ARow);
  // After every change in the edit window.
  virtual void SetEditText(int ACol, int ARow, const std::string& Value);
  virtual TInplaceEdit* CreateEditor();
  // A derived grid's own editor windows, ones the base does not make, follow
  // the edit window: placed again when it is, on scrolling and resizing, and
  // asked to hide whenever it hides.
  virtual void PlaceOwnEditor() {}
  virtual void HideOwnEditor() {}
  // The focus goes home to the grid without the grid reopening the editor.
  void FocusGridOnly();
  // One key event: KeyDown, then for a key that types a character
  // CharMessage and, unless it consumed the character, KeyPress. The base's
  // own key handling lives in these, so an override calls the base first or
  // last as it needs. Setting Key to 0 tells later handlers that it is done;
  // the character still follows, as key and character are separate messages.
  virtual void KeyDown(int& Key, TShiftState Shift);
  virtual void KeyUp(int& Key, TShiftState Shift);
  // Backspace or a printable character opens the editor with it while
  // goEditing is set (and sets Key to 0); other characters go on.
  virtual void CharMessage(char32_t& Key);
  virtual void KeyPress(char32_t& Key);  // Enter toggles editor mode
  virtual void DoEnter();  // focus came into the grid or its editor
  virtual void DoExit();   // focus left both; leaves editor mode
  virtual void Click();
  virtual void Paint();  // after the cells, on Canvas()
  // The part of the viewport being painted, which Canvas() is clipped to.
  const TRect& PaintArea() const { return paintArea_; }
  virtual void TopLeftChanged();
  virtual void SizeChanged(int OldColCount, int OldRowCount);
  virtual void RowDeleted(int ARow);
  virtual void RowInserted(int ARow);
  virtual void RowMoved(int FromIndex, int ToIndex);
  // By default one RowDeleted or RowInserted per row.
  virtual void RowRangeDeleted(int ARow, int ACount);
  virtual void RowRangeInserted(int ARow, int ACount);
  virtual void ColumnDeleted(int ACol);
  // The edges of a fixed cell, drawn after DrawCell: by default a raised
  // edge on the sides whose fixed lines are on, unless the grid is flat.
  virtual void DrawFixedEdge(TCanvas& canvas, int ACol, int ARow, const TRect& ARect);
  // A double click on the sizing border of a column.
  virtual void ColumnBorderDoubleClicked(int ACol);
  // A drag is sizing a column or a row.
  bool Sizing() const { return mouseState_ == TMouseState::ColSizing || mouseState_ == TMouseState::RowSizing; }
  // The ways a middle-button pan may scroll; none, and the middle button
  // does nothing. Both by default.
  virtual TPanAxes PanAxes() const { return {true, true}; }

  // The grid or its edit window is the focused control of its window.
  bool GridHasFocus() const;
  // The modifiers of the key being handled.
  TShiftState KeyShift() const { return keyShift_; }
  // Moves the current cell the way a key does: SelectCell first, the editor
  // follows, Click after. Answers whether the cell moved.
  bool FocusCell(int col, int row, bool moveAnchor);
  TGridCoord EditorCell() const { return inplace_; }
  // Scrolls as little as brings the cell wholly into view.
  void ScrollIntoView(int col, int row) { ClampInView({col, row}); }
  // Whether an assistive tool listens; every notice to one costs nothing
  // more than this question while none does.
  static bool AccessibilityActive() { return AssistiveToolListening(); }
  // Tells a listening tool that a cell in view (displayed column) changed.
  void AccessibleCellChanged(int ACol, int ARow);
  // Tells it that the texts of rows first..last may all have changed.
  void AccessibleRowsChanged(int first, int last);

  // Qt's side.
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  friend class TGridAccessible;
  friend class TGridCellAccessible;

  enum class TMouseState { Normal, Selecting, ColSizing, RowSizing };

  // One row or column as painting lays it out.
  struct TLine {
    int Index;
    int Start;  // pixel
    int Size;
  };

  // custom_grid.cpp
  void AfterColCountChange(int oldCount);
  void AfterRowCountChange(int oldCount);
  void AfterRowsAppended(int oldCount);
  void AfterRowsInsertedAmong(int row, int oldCount);
  void AfterRowsDeleted(int row, int oldCount, TGridCoord currentBefore, TGridCoord anchorBefore);
  void AfterStructureChange();
  void UpdateLineGaps();
  void ClampCurrent();
  void CheckCol(int col, const char* what) const;
  void CheckRow(int row, const char* what) const;
  void UpdateFocusState();

  // custom_grid_view.cpp
  struct TAxisView;  // one axis as it is seen
  TAxisView ColView() const;
  TAxisView RowView() const;
  std::int64_t FixedWidth() const { return cols_.Offset(fixedCols_); }
  std::int64_t FixedHeight() const { return rows_.Offset(fixedRows_); }
  std::int64_t ColLeft(int col) const;
  std::int64_t RowTop(int row) const;
  int MaxLeftCol() const;
  int MaxTopRow() const;
  int LastFullyVisibleCol() const;
  int LastFullyVisibleRow() const;
  int ColAt(int x) const;
  int RowAt(int y) const;
  bool RowOutOfView(int row) const;
  void MoveTopLeft(int col, int row);
  void ScrollViewport(TGridCoord oldTopLeft);
  void ClampInView(TGridCoord cell);
  void SyncScrollBars();
  void RequestScrollBarSync();  // once, after the event being handled
  void ViewChanged();
  TRect GridRectToPixels(const TGridRect& block) const;
  void InvalidatePixels(const TRect& rect);
  void InvalidateBlock(const TGridRect& block);

  // Selection and current cell.
  bool MoveCurrent(int col, int row, bool moveAnchor, bool show);
  void MoveAnchor(TGridCoord cell);
  void SelectionMoved(const TGridRect& oldSelection, TGridCoord oldCurrent);

  // custom_grid_keys.cpp
  void DispatchKey(int key, TShiftState shift, char32_t ch);
  bool PlanMove(int key, TShiftState& shift, TGridCoord& current, TGridCoord& topLeft);
  bool PlanCtrlMove(int key, TGridCoord& current, TGridCoord& topLeft);
  bool PlanPlainMove(int key, TGridCoord& current, TGridCoord& topLeft);
  void PlanTab(bool backwards, TGridCoord& current);
  void ApplyMove(TGridCoord current, TGridCoord topLeft, bool moveAnchor);

  // custom_grid_mouse.cpp
  void MousePressed(QMouseEvent* event);
  bool StartSizing(int x, int y);
  int SizingBorderCol(int x, int y) const;
  int SizingBorderRow(int x, int y) const;
  void ContinueSizing(int x, int y);
  void DragSelection(int x, int y);
  void UpdateMouseCursor(int x, int y);
  // custom_grid_pan.cpp
  bool PanPress(QMouseEvent* event);
  void PanBy(int cols, int rows);

  // custom_grid_paint.cpp
  void LayOutLines(const TGridAxis& axis, int fixedCount, int firstScrolling, int from, int to,
                   int extent, std::vector<TLine>& out) const;
  void PaintCells(TCanvas& canvas, bool focused);
  void PaintCell(TCanvas& canvas, const TLine& col, const TLine& row, bool focused);
  void PaintGridLines(TCanvas& canvas);
  struct TRun;
  void PaintLineSet(TCanvas& canvas, const TRun& cols, const TRun& rows, bool on, bool vertical);
  void PaintBeyondCells(TCanvas& canvas, const TRect& dirty);
  void PaintFocusRect(TCanvas& canvas, bool focused);
  TGridDrawState CellState(int col, int row, bool focused) const;
  TColor LineColor(bool fixed) const;

  // custom_grid_accessible.cpp
  void AccessibleSelectionMoved(const TGridRect& oldSelection, TGridCoord oldCurrent);
  void AccessibleFocusEntered();
  void AccessibleFocusMoved();
  void AccessibleStructureChanged();
  void AccessibleRowsAppended(int oldCount);
  void FlushAccessibleRows();
  void ReleaseAccessible();

  // custom_grid_editor.cpp
  bool EditRuleAllows() const;
  void EnsureEditor();
  void UpdateEdit();
  void LoadEditor();
  void PlaceEditor();
  void HideEdit();
  // What the edit window asks of the grid.
  TFont EditorFont() const override { return font_; }
  TColor EditorColor() const override { return color_; }
  TGridOptions EditorOptions() const override { return options_; }
  std::string EditorStartText() override { return GetEditText(Col(), Row()); }
  void EditorTextChanged() override;
  void EditorKeyShift(TShiftState Shift) override { keyShift_ = Shift; }
  void EditorKeyDown(int& Key, TShiftState Shift) override { KeyDown(Key, Shift); }
  void EditorKeyUp(int& Key, TShiftState Shift) override { KeyUp(Key, Shift); }
  void EditorKeyPress(char32_t& Key) override { KeyPress(Key); }
  void EditorFocusNeighbour(bool forward) override { FocusNeighbour(forward); }
  void RebindEditor();
  void FocusNeighbour(bool forward);

  TGridAxis cols_;
  TGridAxis rows_;
  int fixedCols_ = 1;
  int fixedRows_ = 1;
  int gridLineWidth_ = 1;
  TGridOptions options_ = kDefaultGridOptions;
  TColor color_ = clWindow;
  TColor fixedColor_ = clBtnFace;
  TFont font_;
  bool flat_ = false;
  bool defaultDrawing_ = true;

  TGridCoord current_{1, 1};
  TGridCoord anchor_{1, 1};
  TGridCoord topLeft_{1, 1};

  bool editorMode_ = false;
  TInplaceEdit* editor_ = nullptr;  // owned by the viewport
  TGridCoord inplace_{-1, -1};      // the cell the edit window shows
  bool writingThrough_ = false;
  bool movingFocusHome_ = false;

  std::unique_ptr<TCanvas> measureCanvas_;
  TCanvas* paintCanvas_ = nullptr;
  TRect paintArea_;
  std::vector<TLine> paintCols_;  // kept between paints so that painting allocates nothing
  std::vector<TLine> paintRows_;

  int wheelScrollLines_ = 3;
  TWheelSteps wheelRows_;
  TWheelSteps wheelCols_;
  class TScrollBarStyle* scrollStyle_ = nullptr;  // owned by the grid
  TGridPanner panner_{viewport(), [this](int cols, int rows) { PanBy(cols, rows); }};
  TMouseState mouseState_ = TMouseState::Normal;
  int sizingIndex_ = -1;
  int sizingStart_ = 0;  // pixel where the column or row being sized starts

  QMetaObject::Connection focusWatch_;
  bool focusInside_ = false;
  bool syncingScrollBars_ = false;
  bool scrollSyncPending_ = false;
  TShiftState keyShift_;
  int accessibleRowsFrom_ = -1;  // the first appended row not yet told to a tool
  TGridAccessible* accessible_ = nullptr;  // owned by Qt's accessibility cache
};

}  // namespace kelvora
