#include "grid/cell_grid.h"

#include <QApplication>
#include <QEvent>
#include <QStyle>

#include <algorithm>
#include <cassert>

#include "toolkit/application.h"
#include "toolkit/drop_target.h"
#include "toolkit/editors/widget_editor.h"
#include "toolkit/window_timer.h"

namespace kelvora {

namespace {

void CheckExtraFixedCount(const char* what, int count) {
  if (count < 0)
    throw ECellGridError(std::string(what) + " cannot be " + std::to_string(count) +
                         ": it counts rows or columns, from 0 up");
}

// Ends of ranges are worked out wide, so that a count near the limit of an
// int cannot overflow, and then kept to what the store can hold.
int LimitedEnd(std::int64_t end) {
  return static_cast<int>(std::min<std::int64_t>(end, TCellStore::kMaxIndex));
}

}  // namespace

TCellGrid::TCellGrid(QWidget* owner) : TCustomGrid(owner) {
  columnVisible_.fill(true);
  RebuildColumnMaps();
  SetDefaultRowHeight(21);
  // The base fills nothing: PaintCell chooses the cell's brush itself.
  SetDefaultDrawing(false);
  TCellGridProperties::SetScrollWidth(style()->pixelMetric(QStyle::PM_ScrollBarExtent));
  ApplyScrollLook();
  SetWheelScrollLines(QApplication::wheelScrollLines());
  ChainOwnerForm(owner);
}

TCellGrid::~TCellGrid() {
  if (ownerForm_) ownerForm_->removeEventFilter(this);
  SaveColumnWidths();
  // Graphics are the grid's own, whether or not they are shown just now.
  store_.Clear([this](int, int, void* object) { return ReleaseGraphic(object); });
}

// The grid follows its form's size changes without taking them from anyone
// else: an event filter sees the resize and lets it go on.
void TCellGrid::ChainOwnerForm(QWidget* owner) {
  if (!owner) return;
  ownerForm_ = owner->window();
  ownerFormSize_ = {ownerForm_->width(), ownerForm_->height()};
  ownerForm_->installEventFilter(this);
}

bool TCellGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ownerForm_ && event->type() == QEvent::Resize) RunGuarded([this] { FollowOwnerForm(); });
  return TCustomGrid::eventFilter(watched, event);
}

// With SizeWithForm the grid grows and shrinks by what its form does. A form
// that is not shown yet is still being laid out by its owner, so its sizes
// then are only noted.
void TCellGrid::FollowOwnerForm() {
  const TSize now{ownerForm_->width(), ownerForm_->height()};
  if (SizeWithForm() && ownerForm_->isVisible())
    resize(std::max(width() + now.cx - ownerFormSize_.cx, 0), std::max(height() + now.cy - ownerFormSize_.cy, 0));
  ownerFormSize_ = now;
}

void TCellGrid::SetScrollType(TScrollType v) {
  TCellGridProperties::SetScrollType(v);
  ApplyScrollLook();
}

void TCellGrid::SetScrollColor(TColor v) {
  TCellGridProperties::SetScrollColor(v);
  ApplyScrollLook();
}

void TCellGrid::SetScrollWidth(int v) {
  TCellGridProperties::SetScrollWidth(v);
  ApplyScrollLook();
}

void TCellGrid::ApplyScrollLook() { SetScrollBarLook(ScrollType() == ssFlat, ScrollColor(), ScrollWidth()); }

void TCellGrid::Loaded() {
  rememberedCursor_ = cursor().shape();
  for (std::size_t i = 0; i < columnHeaders_.size(); ++i)
    SetCells(static_cast<int>(i), 0, columnHeaders_[i]);
  for (std::size_t i = 0; i < rowHeaders_.size(); ++i)
    SetCells(0, static_cast<int>(i), rowHeaders_[i]);
  PassAcceptFlags();
}

void TCellGrid::showEvent(QShowEvent* event) {
  TCustomGrid::showEvent(event);
  if (!windowCreated_) RunGuarded([this] { WindowCreated(); });
}

// The timer drives blinking mark-up.
void TCellGrid::WindowCreated() {
  windowCreated_ = true;
  LoadColumnWidths();
  timer_ = std::make_unique<TWindowTimer>();
  timer_->OnTimer = [this] { TimerTick(); };
  timer_->Start();
}

void TCellGrid::TimerTick() {
  blinkPhase_ = !blinkPhase_;
  RepaintBlinkingCells();
}

void TCellGrid::RaiseBadAddress(std::int64_t ACol, std::int64_t ARow) {
  throw ECellGridError("Cell (" + std::to_string(ACol) + ", " + std::to_string(ARow) +
                       ") is outside the grid: columns and rows count from 0 up to " +
                       std::to_string(TCellStore::kMaxIndex));
}

std::string TCellGrid::Cells(int ACol, int ARow) const { return std::string(CellText(ACol, ARow)); }

void TCellGrid::SetCells(int ACol, int ARow, std::string_view text) {
  StoreCell(ACol, ARow, text);
  NoteProgramWrite(ACol, ARow, text);
  // Until the first edit there is no edit window to refresh.
  if (InplaceEditor() || special_) RefreshEditorIn(ACol, ARow, ACol, ARow);
}

// The edit window shows the current cell's text, so a change made by the
// program reaches it at once.
void TCellGrid::RefreshEditorIn(int fromCol, int fromRow, int toCol, int toRow) {
  if (!(EditorShowing() || special_) || Row() < fromRow || Row() > toRow) return;
  const int editedCol = DisplayToDataColumn(Col());
  if (editedCol < fromCol || editedCol > toCol) return;
  if (SpecialEditorOpenHere()) special_->Load(Cells(editedCol, Row()));
  else if (EditorShowing()) InvalidateEditor();
}

void TCellGrid::StoreCell(int ACol, int ARow, std::string_view text) {
  CheckAddress(ACol, ARow);
  store_.SetText(ACol, ARow, text);
  InvalidateStoredCell(ACol, ARow);
  if (AccessibilityActive()) AnnounceCellChange(ACol, ARow);
  if (ARow == hintCell_.Y) RefreshHint(ACol);
}

TCellGraphic* TCellGrid::CellGraphic(int ACol, int ARow) const {
  CheckAddress(ACol, ARow);
  return static_cast<TCellGraphic*>(store_.Object(ACol, ARow));
}

// The new graphic is stored before the old one goes, so that a failure to
// store it leaves the cell as it was and frees only the new one.
void TCellGrid::SetCellGraphic(int ACol, int ARow, std::unique_ptr<TCellGraphic> graphic) {
  CheckAddress(ACol, ARow);
  void* old = store_.Object(ACol, ARow);
  store_.SetObject(ACol, ARow, graphic.get());
  graphic.release();
  ReleaseGraphic(old);
  InvalidateStoredCell(ACol, ARow);
}

bool TCellGrid::ReleaseGraphic(void* object) {
  delete static_cast<TCellGraphic*>(object);
  return true;
}

TColor TCellGrid::CellColor(int ACol, int ARow) const {
  CheckAddress(ACol, ARow);
  return store_.Color(ACol, ARow);
}

void TCellGrid::SetCellColor(int ACol, int ARow, TColor color) {
  CheckAddress(ACol, ARow);
  store_.SetColor(ACol, ARow, color);
  InvalidateStoredCell(ACol, ARow);
}

void TCellGrid::SetColCount(int count) {
  TCustomGrid::SetColCount(count);
  store_.SetColumnCapacityHint(ColCount());
  if (count > 1 && fixedColAlways_) TCustomGrid::SetFixedCols(1);
}

// A count set while rows are hidden counts every row: the hidden ones come
// back first, so that none of them shows in a place that is not its own.
void TCellGrid::SetRowCount(int count) {
  ClearFilter();
  TCustomGrid::SetRowCount(count);
  if (count > 1 && fixedRowAlways_) TCustomGrid::SetFixedRows(1);
}

int TCellGrid::FixedCols() const {
  const int fixed = TCustomGrid::FixedCols();
  return (fixed == 0 && fixedColAlways_) ? 1 : fixed;
}

int TCellGrid::FixedRows() const {
  const int fixed = TCustomGrid::FixedRows();
  return (fixed == 0 && fixedRowAlways_) ? 1 : fixed;
}

int TCellGrid::FixedColWidth() const { return ColWidths(0); }

void TCellGrid::SetFixedColWidth(int width) {
  const int last = std::min(FixedCols(), ColCount());
  for (int col = 0; col < last; ++col) SetColWidths(col, width);
}

int TCellGrid::FixedRowHeight() const { return RowHeights(0); }

void TCellGrid::SetFixedRowHeight(int height) {
  const int last = std::min(FixedRows(), RowCount());
  for (int row = 0; row < last; ++row) SetRowHeights(row, height);
}

void TCellGrid::SetFixedRightCols(int count) {
  CheckExtraFixedCount("The number of fixed right columns", count);
  fixedRightCols_ = count;
  InvalidateGrid();
}

void TCellGrid::SetFixedFooters(int count) {
  CheckExtraFixedCount("The number of fixed footer rows", count);
  fixedFooters_ = count;
  InvalidateGrid();
}

void TCellGrid::EraseCellRange(int FromCol, int FromRow, int ToCol, int ToRow) {
  if (ToRow < FromRow || ToCol < FromCol) return;
  CheckAddress(FromCol, FromRow);
  ToCol = LimitedEnd(ToCol);
  ToRow = LimitedEnd(ToRow);
  if (EnableGraphics())
    store_.EraseRange(FromCol, FromRow, ToCol, ToRow, [this](int, int, void* object) { return ReleaseGraphic(object); });
  else
    store_.EraseRange(FromCol, FromRow, ToCol, ToRow);
  InvalidateGrid();
  AccessibleRowsChanged(FromRow, ToRow);
  session_.Erased({FromCol, FromRow, ToCol, ToRow});
  RefreshEditorIn(FromCol, FromRow, ToCol, ToRow);
}

// Hidden columns are stored after the displayed ones and are emptied too.
// Emptied, the grid holds no sorted rows any more: the next rows come in
// their file's order.
void TCellGrid::EraseAllCells() {
  ClearFilter();
  fileOrder_.Clear();
  sortKeys_.clear();
  UpdateSortMarks();
  if (RowCount() > 0 && ColCount() > 0)
    EraseCellRange(0, 0, LimitedEnd(std::int64_t{ColCount()} - 1 + hiddenColumnCount_), RowCount() - 1);
}

void TCellGrid::EraseRowRange(int FromRow, int Count) {
  if (RowCount() > 0 && ColCount() > 0 && Count > 0)
    EraseCellRange(0, FromRow, LimitedEnd(std::int64_t{ColCount()} - 1 + hiddenColumnCount_),
                   LimitedEnd(std::int64_t{FromRow} + Count - 1));
}

// The whole stored row goes, hidden columns and all, and its graphics with it.
void TCellGrid::RowRangeDeleted(int ARow, int ACount) {
  ++rowChanges_;
  const int last = LimitedEnd(std::int64_t{ARow} + ACount - 1);
  store_.EraseRange(0, ARow, TCellStore::kMaxIndex, last, [this](int, int, void* object) { return ReleaseGraphic(object); });
  store_.RemoveRows(ARow, ACount);
  rowSelection_.RowsDeleted(ARow, ACount);
  NoteRowsDeleted(ARow, ACount);
  for (int i = 0; i < ACount; ++i) session_.RowDeleted(ARow);
}

void TCellGrid::RowRangeInserted(int ARow, int ACount) {
  ++rowChanges_;
  // InsertRows refused a count that would push stored cells past the end
  // before the base made room, so the store always takes it here.
  [[maybe_unused]] const bool fits = store_.InsertRows(ARow, ACount);
  assert(fits);
  rowSelection_.RowsInserted(ARow, ACount);
  NoteRowsInserted(ARow, ACount);
  for (int i = 0; i < ACount; ++i) session_.RowInserted(ARow);
}

void TCellGrid::RowMoved(int FromIndex, int ToIndex) {
  ++rowChanges_;
  store_.MoveRow(FromIndex, ToIndex);
  if (!filtered_.Active && FromIndex >= FixedRows() && ToIndex >= FixedRows()) fileOrder_.RowMoved(FromIndex - FixedRows(), ToIndex - FixedRows());
  session_.RowMoved(FromIndex, ToIndex);
}

void TCellGrid::SetFixedFont(const TFont& font) {
  fixedFont_ = font;
  InvalidateGrid();
}

void TCellGrid::SetFontSizeOffset(int points) {
  fontSizeOffset_ = std::clamp(points, -10, 10);
  InvalidateGrid();
}

}  // namespace kelvora
