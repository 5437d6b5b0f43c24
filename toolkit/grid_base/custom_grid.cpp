#include "toolkit/grid_base/custom_grid.h"

#include <QApplication>
#include <QScrollBar>

#include <algorithm>
#include <string>

#include "toolkit/application.h"
#include "toolkit/exceptions.h"
#include "toolkit/grid_base/grid_accessible.h"
#include "toolkit/grid_base/grid_scroll_bar.h"
#include "toolkit/editors/inplace_edit.h"
#include "toolkit/qt_canvas.h"

namespace kelvora {
namespace {

std::string RangeText(int low, int high) {
  if (high < low) return "(none)";
  std::string text = "(";
  text.append(std::to_string(low)).append("..").append(std::to_string(high)).append(")");
  return text;
}

[[noreturn]] void RaiseOutOfRange(const char* what, int index, int low, int high) {
  throw Exception(std::string(what) + " " + std::to_string(index) + " out of range " +
                  RangeText(low, high));
}

}  // namespace

TCustomGrid::TCustomGrid(QWidget* parent) : QAbstractScrollArea(parent) {
  cols_.SetDefaultSize(64);
  rows_.SetDefaultSize(24);
  cols_.SetCount(5);
  rows_.SetCount(5);
  UpdateLineGaps();
  measureCanvas_.reset(new TQtCanvas(TQtCanvas::ForMeasuring()));
  measureCanvas_->SetFont(font_);

  setFocusPolicy(Qt::StrongFocus);
  // Every pixel of the viewport is painted by the grid itself.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setMouseTracking(true);
  setVerticalScrollBar(new TGridScrollBar(Qt::Vertical));
  setHorizontalScrollBar(new TGridScrollBar(Qt::Horizontal));
  verticalScrollBar()->setTracking(false);
  horizontalScrollBar()->setTracking(false);
  focusWatch_ = connect(qApp, &QApplication::focusChanged, this,
                        [this] { RunGuarded([this] { UpdateFocusState(); }); });
  SyncScrollBars();
  TGridAccessible::Install();
}

// Children are deleted after this destructor, and their going may move the
// focus; by then the derived grid is gone, so nothing may call its hooks.
// The edit window goes first, while the viewport it lives on still stands.
TCustomGrid::~TCustomGrid() {
  disconnect(focusWatch_);
  delete editor_;
  ReleaseAccessible();
}

// --- Dimensions -------------------------------------------------------------

void TCustomGrid::SetColCount(int count) {
  const int old = ColCount();
  count = std::max(count, 0);
  if (count == old) return;
  cols_.SetCount(count);
  AfterColCountChange(old);
}

void TCustomGrid::SetRowCount(int count) {
  const int old = RowCount();
  count = std::max(count, 0);
  if (count == old) return;
  rows_.SetCount(count);
  AfterRowCountChange(old);
}

// A fixed count must leave one scrolling row or column, so it shrinks with
// the count; the current cell and the view are kept inside the grid.
void TCustomGrid::AfterColCountChange(int oldCount) {
  fixedCols_ = std::min(fixedCols_, std::max(ColCount() - 1, 0));
  AfterStructureChange();
  SizeChanged(oldCount, RowCount());
}

void TCustomGrid::AfterRowCountChange(int oldCount) {
  if (oldCount > 0 && RowCount() > oldCount)
    AfterRowsAppended(oldCount);
  else {
    fixedRows_ = std::min(fixedRows_, std::max(RowCount() - 1, 0));
    AfterStructureChange();
  }
  SizeChanged(ColCount(), oldCount);
}

// Rows added at the end leave the current cell, the view and the edit window
// as they were. A grid filled row by row comes here once per row, so only
// the new rows in view are repainted, and the scroll range follows once the
// filling command is over.
void TCustomGrid::AfterRowsAppended(int oldCount) {
  const std::int64_t top = std::max<std::int64_t>(RowTop(oldCount), 0);
  const int height = viewport()->height();
  if (top < height) viewport()->update(0, static_cast<int>(top), viewport()->width(), height);
  RequestScrollBarSync();
  AccessibleRowsAppended(oldCount);
}

void TCustomGrid::AfterStructureChange() {
  ClampCurrent();
  MoveTopLeft(topLeft_.X, topLeft_.Y);
  SyncScrollBars();
  RebindEditor();
  InvalidateGrid();
  AccessibleStructureChanged();
}

// After a change of structure the current cell and the anchor stay inside
// the grid and out of the fixed rows and columns.
void TCustomGrid::ClampCurrent() {
  const auto clamp = [](int index, int fixed, int count) {
    return std::clamp(index, std::min(fixed, std::max(count - 1, 0)), std::max(count - 1, 0));
  };
  current_ = {clamp(current_.X, fixedCols_, ColCount()), clamp(current_.Y, fixedRows_, RowCount())};
  anchor_ = {clamp(anchor_.X, fixedCols_, ColCount()), clamp(anchor_.Y, fixedRows_, RowCount())};
}

void TCustomGrid::SetFixedCols(int count) {
  if (count < 0 || (count > 0 && count >= ColCount()))
    RaiseOutOfRange("Fixed column count", count, 0, ColCount() - 1);
  fixedCols_ = count;
  AfterStructureChange();
  MoveTopLeft(fixedCols_, topLeft_.Y);
}

void TCustomGrid::SetFixedRows(int count) {
  if (count < 0 || (count > 0 && count >= RowCount()))
    RaiseOutOfRange("Fixed row count", count, 0, RowCount() - 1);
  fixedRows_ = count;
  AfterStructureChange();
  MoveTopLeft(topLeft_.X, fixedRows_);
}

void TCustomGrid::SetDefaultColWidth(int width) {
  cols_.SetDefaultSize(width);
  ViewChanged();
}

void TCustomGrid::SetDefaultRowHeight(int height) {
  rows_.SetDefaultSize(height);
  ViewChanged();
}

int TCustomGrid::ColWidths(int col) const { return cols_.Size(col); }

void TCustomGrid::SetColWidths(int col, int width) {
  CheckCol(col, "Column index");
  if (cols_.Size(col) == std::clamp(width, 0, TGridAxis::kMaxSize)) return;
  cols_.SetSize(col, width);
  ViewChanged();
}

int TCustomGrid::RowHeights(int row) const { return rows_.Size(row); }

void TCustomGrid::SetRowHeights(int row, int height) {
  CheckRow(row, "Row index");
  if (rows_.Size(row) == std::clamp(height, 0, TGridAxis::kMaxSize)) return;
  rows_.SetSize(row, height);
  ViewChanged();
}

void TCustomGrid::SetGridLineWidth(int width) {
  gridLineWidth_ = std::clamp(width, 0, TGridAxis::kMaxSize);
  UpdateLineGaps();
  ViewChanged();
}

// A row or column is followed by a grid line only when some option draws
// lines in that direction; without any, cells touch.
void TCustomGrid::UpdateLineGaps() {
  const bool vertical = options_.contains(goVertLine) || options_.contains(goFixedVertLine);
  const bool horizontal = options_.contains(goHorzLine) || options_.contains(goFixedHorzLine);
  cols_.SetGap(vertical ? gridLineWidth_ : 0);
  rows_.SetGap(horizontal ? gridLineWidth_ : 0);
}

void TCustomGrid::CheckCol(int col, const char* what) const {
  if (col < 0 || col >= ColCount()) RaiseOutOfRange(what, col, 0, ColCount() - 1);
}

void TCustomGrid::CheckRow(int row, const char* what) const {
  if (row < 0 || row >= RowCount()) RaiseOutOfRange(what, row, 0, RowCount() - 1);
}

// --- Options and look ------------------------------------------------------

void TCustomGrid::SetOptions(TGridOptions options) {
  if (options.contains(goRowSelect)) options.erase(goAlwaysShowEditor);
  if (options == options_) return;
  options_ = options;
  if (options_.contains(goAlwaysShowEditor)) editorMode_ = true;
  verticalScrollBar()->setTracking(options_.contains(goThumbTracking));
  horizontalScrollBar()->setTracking(options_.contains(goThumbTracking));
  UpdateLineGaps();
  if (options_.contains(goRowSelect)) {
    current_.X = fixedCols_;
    anchor_.X = std::max(ColCount() - 1, 0);
  }
  if (EditorShowing() && !EditRuleAllows()) HideEdit();
  ViewChanged();
}

void TCustomGrid::SetColor(TColor color) {
  color_ = color;
  if (editor_) editor_->ApplyGridLook();
  InvalidateGrid();
}

void TCustomGrid::SetFixedColor(TColor color) {
  fixedColor_ = color;
  InvalidateGrid();
}

void TCustomGrid::SetFont(const TFont& font) {
  font_ = font;
  measureCanvas_->SetFont(font_);
  if (editor_) editor_->ApplyGridLook();
  InvalidateGrid();
}

void TCustomGrid::SetFlat(bool flat) {
  flat_ = flat;
  InvalidateGrid();
}

void TCustomGrid::SetDefaultDrawing(bool on) {
  defaultDrawing_ = on;
  InvalidateGrid();
}

void TCustomGrid::SetWheelScrollLines(int lines) { wheelScrollLines_ = std::max(lines, 1); }

// --- Current cell and selection ---------------------------------------------

TGridRect TCustomGrid::Selection() const {
  TGridRect r{std::min(current_.X, anchor_.X), std::min(current_.Y, anchor_.Y),
              std::max(current_.X, anchor_.X), std::max(current_.Y, anchor_.Y)};
  if (options_.contains(goRowSelect)) {
    r.Left = fixedCols_;
    r.Right = std::max(ColCount() - 1, fixedCols_);
  }
  return r;
}

void TCustomGrid::SetCol(int col) {
  CheckCol(col, "Column index");
  if (col != current_.X) FocusCell(col, current_.Y, true);
}

void TCustomGrid::SetRow(int row) {
  CheckRow(row, "Row index");
  if (row != current_.Y) FocusCell(current_.X, row, true);
}

void TCustomGrid::SetSelection(TGridRect s) {
  if (s.Left > s.Right) std::swap(s.Left, s.Right);
  if (s.Top > s.Bottom) std::swap(s.Top, s.Bottom);
  CheckCol(s.Left, "Selection column");
  CheckCol(s.Right, "Selection column");
  CheckRow(s.Top, "Selection row");
  CheckRow(s.Bottom, "Selection row");
  const TGridRect oldSelection = Selection();
  const TGridCoord oldCurrent = current_;
  current_ = {s.Left, s.Top};
  anchor_ = {s.Right, s.Bottom};
  if (inplace_ != current_) HideEdit();
  SelectionMoved(oldSelection, oldCurrent);
  UpdateEdit();
}

bool TCustomGrid::FocusCell(int col, int row, bool moveAnchor) {
  if (!MoveCurrent(col, row, moveAnchor, true)) return false;
  UpdateEdit();
  Click();
  return true;
}

bool TCustomGrid::MoveCurrent(int col, int row, bool moveAnchor, bool show) {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return false;
  if (!SelectCell(col, row)) return false;
  const TGridRect oldSelection = Selection();
  const TGridCoord oldCurrent = current_;
  current_ = {col, row};
  if (inplace_ != current_) HideEdit();
  if (moveAnchor || !options_.contains(goRangeSelect)) anchor_ = current_;
  if (options_.contains(goRowSelect)) {
    current_.X = fixedCols_;
    anchor_.X = ColCount() - 1;
  }
  if (show) ClampInView(current_);
  SelectionMoved(oldSelection, oldCurrent);
  return true;
}

// The mouse and Shift+click move the far corner of the selection; the
// current cell stays where the selection began.
void TCustomGrid::MoveAnchor(TGridCoord cell) {
  if (!options_.contains(goRangeSelect)) {
    MoveCurrent(cell.X, cell.Y, true, true);
    return;
  }
  const TGridRect oldSelection = Selection();
  anchor_ = cell;
  if (options_.contains(goRowSelect)) anchor_.X = ColCount() - 1;
  ClampInView(cell);
  SelectionMoved(oldSelection, current_);
}

void TCustomGrid::SelectionMoved(const TGridRect& oldSelection, TGridCoord oldCurrent) {
  InvalidateBlock(oldSelection);
  InvalidateBlock(Selection());
  InvalidateCell(oldCurrent.X, oldCurrent.Y);
  InvalidateCell(current_.X, current_.Y);
  AccessibleSelectionMoved(oldSelection, oldCurrent);
}

// --- Structure ----------------------------------------------------------------

namespace {

// Where an index ends up when the item at `from` moves to `to`.
int AfterMove(int index, int from, int to) {
  if (index == from) return to;
  if (from < to && index > from && index <= to) return index - 1;
  if (from > to && index >= to && index < from) return index + 1;
  return index;
}

}  // namespace

void TCustomGrid::DeleteRow(int row) { DeleteRowRange(row, 1); }

void TCustomGrid::DeleteRowRange(int row, int count) {
  CheckRow(row, "Row index");
  count = std::min(count, RowCount() - row);
  if (count <= 0) return;
  const int old = RowCount();
  const TGridCoord currentBefore = current_;
  const TGridCoord anchorBefore = anchor_;
  rows_.Delete(row, count);
  // The row below takes the place of a deleted current row.
  const auto closeUp = [row, count](int& index) {
    if (index >= row + count) index -= count;
    else if (index > row) index = row;
  };
  closeUp(current_.Y);
  closeUp(anchor_.Y);
  closeUp(topLeft_.Y);
  RowRangeDeleted(row, count);
  AfterRowsDeleted(row, old, currentBefore, anchorBefore);
}

void TCustomGrid::InsertRow(int row) { InsertRowRange(row, 1); }

void TCustomGrid::InsertRowRange(int row, int count) {
  if (row < 0 || row > RowCount()) RaiseOutOfRange("Row index", row, 0, RowCount());
  if (count <= 0) return;
  if (count > kMaxRowCount - RowCount())
    throw Exception("Cannot insert " + std::to_string(count) + " rows: the grid holds at most " +
                    std::to_string(kMaxRowCount) + " rows");
  const int old = RowCount();
  rows_.Insert(row, count);
  if (current_.Y >= row && old > 0) current_.Y += count;
  if (anchor_.Y >= row && old > 0) anchor_.Y += count;
  RowRangeInserted(row, count);
  if (row < old) AfterRowsInsertedAmong(row, old);
  else AfterRowCountChange(old);
}

// Rows put in among others move every row below them, on the screen too, and
// the edit window's cell with them; the rows above stay as they were.
void TCustomGrid::AfterRowsInsertedAmong(int row, int oldCount) {
  RebindEditor();
  InvalidateRowsFrom(row);
  RequestScrollBarSync();
  AccessibleStructureChanged();
  SizeChanged(ColCount(), oldCount);
}

// As after any change of structure, except that the rows above the deleted
// ones are as they were and need no painting, unless the current cell or
// the selection moved up into them or a fixed row became a normal one; a
// view that has to scroll repaints whole anyway.
void TCustomGrid::AfterRowsDeleted(int row, int oldCount, TGridCoord currentBefore, TGridCoord anchorBefore) {
  const int fixedBefore = fixedRows_;
  fixedRows_ = std::min(fixedRows_, std::max(RowCount() - 1, 0));
  ClampCurrent();
  MoveTopLeft(topLeft_.X, topLeft_.Y);
  SyncScrollBars();
  RebindEditor();
  int firstChanged = row;
  if (current_ != currentBefore) firstChanged = std::min(firstChanged, current_.Y);
  if (anchor_ != anchorBefore) firstChanged = std::min(firstChanged, anchor_.Y);
  if (fixedRows_ != fixedBefore) InvalidateGrid();
  else InvalidateRowsFrom(firstChanged);
  AccessibleStructureChanged();
  SizeChanged(ColCount(), oldCount);
}

void TCustomGrid::MoveRow(int from, int to) {
  CheckRow(from, "Row index");
  CheckRow(to, "Row index");
  if (from == to) return;
  rows_.Move(from, to);
  current_.Y = AfterMove(current_.Y, from, to);
  anchor_.Y = AfterMove(anchor_.Y, from, to);
  RowMoved(from, to);
  AfterStructureChange();
}

void TCustomGrid::RowsReordered(int first, std::span<const std::uint32_t> order) {
  rows_.Permute(first, order);
  SyncScrollBars();
  PlaceEditor();
  InvalidateGrid();
}

void TCustomGrid::DeleteColumn(int col) {
  CheckCol(col, "Column index");
  const int old = ColCount();
  cols_.Delete(col);
  if (current_.X > col) --current_.X;
  if (anchor_.X > col) --anchor_.X;
  if (topLeft_.X > col) --topLeft_.X;
  ColumnDeleted(col);
  AfterColCountChange(old);
}

// --- Canvas -------------------------------------------------------------------

TCanvas& TCustomGrid::Canvas() { return paintCanvas_ ? *paintCanvas_ : *measureCanvas_; }

void TCustomGrid::SetMeasureCanvas(std::unique_ptr<TCanvas> canvas) {
  if (!canvas) throw Exception("The grid needs a canvas to measure with");
  measureCanvas_ = std::move(canvas);
  measureCanvas_->SetFont(font_);
}

// --- Focus ----------------------------------------------------------------------

// The window's focus widget rather than the application's: a dialog opened
// over the window does not take the focus away from the grid.
bool TCustomGrid::GridHasFocus() const {
  const QWidget* focus = window()->focusWidget();
  return focus && (focus == this || isAncestorOf(focus)) && focus->isVisible();
}

void TCustomGrid::UpdateFocusState() {
  const bool inside = GridHasFocus();
  if (inside == focusInside_) return;
  focusInside_ = inside;
  InvalidateCell(current_.X, current_.Y);
  if (inside) DoEnter();
  else DoExit();
}

void TCustomGrid::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  RunGuarded([this] {
    UpdateFocusState();
    InvalidateBlock(Selection());
    // Focus comes back here when the edit window hides; that must not reopen it.
    if (!movingFocusHome_) UpdateEdit();
    AccessibleFocusEntered();
  });
}

void TCustomGrid::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  RunGuarded([this] { InvalidateBlock(Selection()); });
}

// --- Default hooks --------------------------------------------------------------

void TCustomGrid::DrawCell(int, int, const TRect&, TGridDrawState) {}
bool TCustomGrid::SelectCell(int, int) { return true; }
std::string TCustomGrid::GetEditText(int, int) { return {}; }
void TCustomGrid::SetEditText(int, int, const std::string&) {}
void TCustomGrid::DoEnter() {}

void TCustomGrid::DoExit() {
  if (options_.contains(goAlwaysShowEditor)) HideEdit();
  else HideEditor();
}

void TCustomGrid::Click() {}
void TCustomGrid::Paint() {}
void TCustomGrid::TopLeftChanged() {}
void TCustomGrid::SizeChanged(int, int) {}
void TCustomGrid::RowDeleted(int) {}
void TCustomGrid::RowInserted(int) {}

void TCustomGrid::RowRangeDeleted(int ARow, int ACount) {
  for (int i = 0; i < ACount; ++i) RowDeleted(ARow);
}

void TCustomGrid::RowRangeInserted(int ARow, int ACount) {
  for (int i = 0; i < ACount; ++i) RowInserted(ARow + i);
}
void TCustomGrid::RowMoved(int, int) {}
void TCustomGrid::ColumnDeleted(int) {}

}  // namespace kelvora
