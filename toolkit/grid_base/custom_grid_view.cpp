// What is in view: scrolling by whole rows and columns, the scroll bars,
// cell rectangles and the regions to repaint.
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "toolkit/application.h"
#include "toolkit/grid_base/custom_grid.h"

namespace kelvora {
namespace {

// A pixel coordinate that Qt can take: its rectangles compute a width as
// right - left + 1, which must not overflow, so far-away cells end a safe
// distance inside the int range.
int ClampToCoordinate(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, -(1 << 30), 1 << 30));
}

// The first item that starts at or after `offset`.
int FirstStartingFrom(const TGridAxis& axis, std::int64_t offset) {
  int index = axis.IndexAt(offset);
  if (index < 0) return 0;
  if (index < axis.Count() && axis.Offset(index) < offset) ++index;
  return index;
}

}  // namespace

// One axis as it is seen: the fixed items, then the scrolling items from
// `first` on, in a viewport `length` pixels long.
struct TCustomGrid::TAxisView {
  const TGridAxis& axis;
  int fixed;
  int first;
  std::int64_t length;

  std::int64_t Room() const { return length - axis.Offset(fixed); }

  // The furthest `first` that still fills the room: the last item ends at
  // the far edge.
  int MaxFirst() const {
    const int count = axis.Count();
    if (count <= fixed) return fixed;
    const std::int64_t from = axis.Total() - std::max<std::int64_t>(Room(), 0);
    return std::clamp(FirstStartingFrom(axis, from), fixed, count - 1);
  }

  int LastFullyVisible() const {
    if (Room() <= 0) return first - 1;
    const std::int64_t end = axis.Offset(first) + Room();
    const int last = axis.IndexAt(end - 1);
    if (last >= axis.Count()) return axis.Count() - 1;
    return axis.Offset(last + 1) <= end ? last : last - 1;
  }

  int LastPartlyVisible() const {
    if (Room() <= 0) return first - 1;
    return std::min(axis.IndexAt(axis.Offset(first) + Room() - 1), axis.Count() - 1);
  }

  // The `first` that brings `index` wholly into view with as little
  // scrolling as possible; an item larger than the room shows from its start.
  int FirstToShow(int index) const {
    if (index < fixed || index < 0) return first;
    if (index < first) return index;
    if (index <= LastFullyVisible()) return first;
    const std::int64_t from = axis.Offset(index + 1) - std::max<std::int64_t>(Room(), 0);
    return std::min(FirstStartingFrom(axis, from), index);
  }

  // The pixels covered by the items lo..hi that are in view, as [start, end).
  std::pair<std::int64_t, std::int64_t> PixelSpan(int lo, int hi) const {
    std::int64_t start = INT64_MAX;
    std::int64_t end = INT64_MIN;
    const int fixedLast = std::min(hi, fixed - 1);
    if (lo <= fixedLast) {
      start = axis.Offset(lo);
      end = axis.Offset(fixedLast + 1);
    }
    const int a = std::max(lo, first);
    const int b = std::min(hi, LastPartlyVisible());
    if (a <= b) {
      const std::int64_t base = axis.Offset(fixed) - axis.Offset(first);
      start = std::min(start, base + axis.Offset(a));
      end = std::max(end, base + axis.Offset(b + 1));
    }
    return {start, std::min(end, length)};
  }
};

TCustomGrid::TAxisView TCustomGrid::ColView() const {
  return {cols_, fixedCols_, topLeft_.X, viewport()->width()};
}

TCustomGrid::TAxisView TCustomGrid::RowView() const {
  return {rows_, fixedRows_, topLeft_.Y, viewport()->height()};
}

std::int64_t TCustomGrid::ColLeft(int col) const {
  if (col < fixedCols_) return cols_.Offset(col);
  return FixedWidth() + cols_.Offset(col) - cols_.Offset(topLeft_.X);
}

std::int64_t TCustomGrid::RowTop(int row) const {
  if (row < fixedRows_) return rows_.Offset(row);
  return FixedHeight() + rows_.Offset(row) - rows_.Offset(topLeft_.Y);
}

int TCustomGrid::MaxLeftCol() const { return ColView().MaxFirst(); }
int TCustomGrid::MaxTopRow() const { return RowView().MaxFirst(); }
int TCustomGrid::LastFullyVisibleCol() const { return ColView().LastFullyVisible(); }
int TCustomGrid::LastFullyVisibleRow() const { return RowView().LastFullyVisible(); }
int TCustomGrid::LastVisibleCol() const { return ColView().LastPartlyVisible(); }
int TCustomGrid::LastVisibleRow() const { return RowView().LastPartlyVisible(); }

int TCustomGrid::VisibleColCount() const {
  return std::max(LastFullyVisibleCol() - topLeft_.X + 1, 0);
}

int TCustomGrid::VisibleRowCount() const {
  return std::max(LastFullyVisibleRow() - topLeft_.Y + 1, 0);
}

void TCustomGrid::SetTopRow(int row) { MoveTopLeft(topLeft_.X, row); }
void TCustomGrid::SetLeftCol(int col) { MoveTopLeft(col, topLeft_.Y); }

void TCustomGrid::MoveTopLeft(int col, int row) {
  col = std::clamp(col, fixedCols_, MaxLeftCol());
  row = std::clamp(row, fixedRows_, MaxTopRow());
  if (col == topLeft_.X && row == topLeft_.Y) return;
  const TGridCoord old = topLeft_;
  topLeft_ = {col, row};
  SyncScrollBars();
  ScrollViewport(old);
  PlaceEditor();
  TopLeftChanged();
}

// The shift moves the pixels of the view's children with the cells, but not
// the children themselves (the pan arrows stay at the pan's origin): both
// the shifted copy and the child are painted again.
static void RepaintChildrenAfterShift(QWidget* view, int dy) {
  for (QObject* object : view->children()) {
    auto* child = qobject_cast<QWidget*>(object);
    if (!child || child->isWindow() || !child->isVisible()) continue;
    view->update(child->geometry().translated(0, dy));
    child->update();
  }
}

// A move of a few rows shifts what the screen shows already and paints only
// the rows that come into view; panning and the wheel step this way many
// times a second. The fixed rows stay, and a move sideways repaints all.
void TCustomGrid::ScrollViewport(TGridCoord oldTopLeft) {
  QWidget* view = viewport();
  const std::int64_t top = FixedHeight();
  const std::int64_t room = view->height() - top;
  const std::int64_t dy = rows_.Offset(oldTopLeft.Y) - rows_.Offset(topLeft_.Y);
  if (oldTopLeft.X != topLeft_.X || room <= 0 || dy <= -room || dy >= room) return view->update();
  view->scroll(0, static_cast<int>(dy), QRect(0, static_cast<int>(top), view->width(), static_cast<int>(room)));
  RepaintChildrenAfterShift(view, static_cast<int>(dy));
}

void TCustomGrid::ClampInView(TGridCoord cell) {
  MoveTopLeft(ColView().FirstToShow(cell.X), RowView().FirstToShow(cell.Y));
}

// The scroll bars count rows and columns, not pixels, so their range holds
// any grid an int can count.
// The scroll area answers every range change with a queued call that shows
// or hides the bar. A grid filled row by row changes the range once per row,
// so the range is set quietly unless the bar's need to show changes.
static void SetScrollRange(QScrollBar* bar, int maximum) {
  const bool neededBefore = bar->maximum() > bar->minimum();
  if (neededBefore == (maximum > 0)) {
    const QSignalBlocker quiet(bar);
    bar->setRange(0, maximum);
  } else {
    bar->setRange(0, maximum);
  }
}

void TCustomGrid::RequestScrollBarSync() {
  if (scrollSyncPending_) return;
  scrollSyncPending_ = true;
  QMetaObject::invokeMethod(this, [this] { if (scrollSyncPending_) SyncScrollBars(); },
                            Qt::QueuedConnection);
}

void TCustomGrid::SyncScrollBars() {
  scrollSyncPending_ = false;
  syncingScrollBars_ = true;
  QScrollBar* vertical = verticalScrollBar();
  SetScrollRange(vertical, MaxTopRow() - fixedRows_);
  vertical->setPageStep(std::max(VisibleRowCount(), 1));
  vertical->setValue(topLeft_.Y - fixedRows_);
  QScrollBar* horizontal = horizontalScrollBar();
  SetScrollRange(horizontal, MaxLeftCol() - fixedCols_);
  horizontal->setPageStep(std::max(VisibleColCount(), 1));
  horizontal->setValue(topLeft_.X - fixedCols_);
  syncingScrollBars_ = false;
}

void TCustomGrid::scrollContentsBy(int, int) {
  if (syncingScrollBars_) return;
  RunGuarded([this] {
    MoveTopLeft(fixedCols_ + horizontalScrollBar()->value(), fixedRows_ + verticalScrollBar()->value());
  });
}

void TCustomGrid::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  RunGuarded([this] { ViewChanged(); });
}

// Sizes or the viewport changed: the scroll range, the view and the edit
// window follow.
void TCustomGrid::ViewChanged() {
  SyncScrollBars();
  MoveTopLeft(topLeft_.X, topLeft_.Y);
  PlaceEditor();
  InvalidateGrid();
}

TRect TCustomGrid::CellRect(int col, int row) const {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return {};
  if ((col >= fixedCols_ && col < topLeft_.X) || (row >= fixedRows_ && row < topLeft_.Y)) return {};
  const std::int64_t x = ColLeft(col);
  const std::int64_t y = RowTop(row);
  if (x >= viewport()->width() || y >= viewport()->height()) return {};
  return {ClampToCoordinate(x), ClampToCoordinate(y), ClampToCoordinate(x + cols_.Size(col)), ClampToCoordinate(y + rows_.Size(row))};
}

int TCustomGrid::ColAt(int x) const {
  if (x < 0 || x >= viewport()->width()) return -1;
  if (x < FixedWidth()) return cols_.IndexAt(x);
  const int col = cols_.IndexAt(x - FixedWidth() + cols_.Offset(topLeft_.X));
  return col >= ColCount() ? -1 : col;
}

int TCustomGrid::RowAt(int y) const {
  if (y < 0 || y >= viewport()->height()) return -1;
  if (y < FixedHeight()) return rows_.IndexAt(y);
  const int row = rows_.IndexAt(y - FixedHeight() + rows_.Offset(topLeft_.Y));
  return row >= RowCount() ? -1 : row;
}

void TCustomGrid::MouseToCell(int x, int y, int& col, int& row) const {
  col = ColAt(x);
  row = RowAt(y);
}

TRect TCustomGrid::GridRectToPixels(const TGridRect& block) const {
  const auto [left, right] = ColView().PixelSpan(block.Left, block.Right);
  const auto [top, bottom] = RowView().PixelSpan(block.Top, block.Bottom);
  if (left >= right || top >= bottom) return {};
  return {ClampToCoordinate(left), ClampToCoordinate(top), ClampToCoordinate(right), ClampToCoordinate(bottom)};
}

void TCustomGrid::InvalidatePixels(const TRect& r) {
  if (r.IsEmpty()) return;
  viewport()->update(r.Left, r.Top, r.Width(), r.Height());
}

void TCustomGrid::InvalidateBlock(const TGridRect& block) { InvalidatePixels(GridRectToPixels(block)); }

void TCustomGrid::InvalidateCell(int col, int row) {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return;
  if (RowOutOfView(row)) return;
  InvalidateBlock({col, row, col, row});
}

// A quick answer for the common case of a grid written far below its view.
bool TCustomGrid::RowOutOfView(int row) const {
  if (row < fixedRows_) return false;
  return row < topLeft_.Y || RowTop(row) >= viewport()->height();
}

void TCustomGrid::InvalidateRow(int row) {
  if (row < 0 || row >= RowCount() || ColCount() == 0) return;
  InvalidateBlock({0, row, ColCount() - 1, row});
}

void TCustomGrid::InvalidateCol(int col) {
  if (col < 0 || col >= ColCount() || RowCount() == 0) return;
  InvalidateBlock({col, 0, col, RowCount() - 1});
}

void TCustomGrid::InvalidateGrid() { viewport()->update(); }

// Everything in view from the row's top edge down; a row above the view
// moves every row in it.
void TCustomGrid::InvalidateRowsFrom(int row) {
  const int height = viewport()->height();
  const std::int64_t top = row < topLeft_.Y ? 0 : std::clamp<std::int64_t>(RowTop(row), 0, height);
  if (top < height) viewport()->update(0, static_cast<int>(top), viewport()->width(), height - static_cast<int>(top));
}

}  // namespace kelvora
