// Painting: the cells that meet the dirty area, each through DrawCell with
// its brush and font colour set, then the grid lines in batches, the empty
// space past the last cell, the focus rectangle and the post-paint step.
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

#include "toolkit/grid_base/custom_grid.h"
#include "toolkit/qt_canvas.h"

namespace kelvora {
namespace {

// Past this many pieces of a dirty region one bounding rectangle is cheaper.
constexpr int kMaxPaintRects = 8;

TRect Intersect(const TRect& a, const TRect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
}

TRect FromQRect(const QRect& r) { return {r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }

// Sets the paint surface for the hooks and takes it away again, also when a
// hook throws.
class TPaintScope {
 public:
  TPaintScope(TCanvas*& slot, TCanvas& canvas, const TRect& clip) : slot_(slot), canvas_(canvas) {
    slot_ = &canvas;
    canvas_.SetClipRect(clip);
  }
  ~TPaintScope() {
    canvas_.ResetClip();
    slot_ = nullptr;
  }
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;

 private:
  TCanvas*& slot_;
  TCanvas& canvas_;
};

}  // namespace

// A run of laid-out lines: indexes into the painted rows or columns,
// inclusive, all fixed or all scrolling.
struct TCustomGrid::TRun {
  int First;
  int Last;
  bool Fixed;
  bool Empty() const { return First > Last; }
};

void TCustomGrid::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  TQtCanvas canvas(painter);
  const QRegion& region = event->region();
  if (region.rectCount() > kMaxPaintRects) {
    PaintTo(canvas, FromQRect(region.boundingRect()));
    return;
  }
  for (const QRect& r : region) PaintTo(canvas, FromQRect(r));
}

void TCustomGrid::PaintTo(TCanvas& canvas, const TRect& dirty) {
  const TRect area = Intersect(dirty, {0, 0, viewport()->width(), viewport()->height()});
  if (area.IsEmpty()) return;
  TPaintScope scope(paintCanvas_, canvas, area);
  paintArea_ = area;
  LayOutLines(cols_, fixedCols_, topLeft_.X, area.Left, area.Right, viewport()->width(), paintCols_);
  LayOutLines(rows_, fixedRows_, topLeft_.Y, area.Top, area.Bottom, viewport()->height(), paintRows_);
  const bool focused = GridHasFocus();
  PaintCells(canvas, focused);
  PaintGridLines(canvas);
  PaintBeyondCells(canvas, area);
  PaintFocusRect(canvas, focused);
  Paint();
}

// The rows (or columns) that meet the pixels from..to: the fixed ones at the
// start, then the scrolling ones from `firstScrolling` on.
void TCustomGrid::LayOutLines(const TGridAxis& axis, int fixedCount, int firstScrolling, int from, int to,
                              int extent, std::vector<TLine>& out) const {
  out.clear();
  to = std::min(to, extent);
  const std::int64_t fixedEnd = axis.Offset(fixedCount);
  for (int i = std::max(axis.IndexAt(from), 0); i < fixedCount && from < fixedEnd; ++i) {
    const std::int64_t start = axis.Offset(i);
    if (start >= to) break;
    out.push_back({i, static_cast<int>(start), axis.Size(i)});
  }
  if (to <= fixedEnd || firstScrolling >= axis.Count()) return;
  const std::int64_t base = fixedEnd - axis.Offset(firstScrolling);
  int i = std::max(firstScrolling, axis.IndexAt(std::max<std::int64_t>(from, fixedEnd) - base));
  for (std::int64_t start = base + axis.Offset(i); i < axis.Count() && start < to; ++i) {
    out.push_back({i, static_cast<int>(start), axis.Size(i)});
    start += axis.Extent(i);
  }
}

TGridDrawState TCustomGrid::CellState(int col, int row, bool focused) const {
  if (col < fixedCols_ || row < fixedRows_) return {gdFixed};
  TGridDrawState state;
  if (Selection().Contains(col, row)) state.insert(gdSelected);
  if (focused && col == current_.X && row == current_.Y) state.insert(gdFocused);
  return state;
}

void TCustomGrid::PaintCells(TCanvas& canvas, bool focused) {
  for (const TLine& row : paintRows_)
    for (const TLine& col : paintCols_) PaintCell(canvas, col, row, focused);
}

void TCustomGrid::PaintCell(TCanvas& canvas, const TLine& col, const TLine& row, bool focused) {
  if (col.Size == 0 || row.Size == 0) return;
  const TRect rect{col.Start, row.Start, col.Start + col.Size, row.Start + row.Size};
  const TGridDrawState state = CellState(col.Index, row.Index, focused);
  // Each cell starts from the grid's font, whatever the last one did to it;
  // assigning into the same font reuses its storage.
  canvas.Font() = font_;
  canvas.Brush().Style = bsSolid;
  const bool highlighted = state.contains(gdSelected) &&
                           (!state.contains(gdFocused) || options_.contains(goDrawFocusSelected) ||
                            options_.contains(goRowSelect));
  if (state.contains(gdFixed)) {
    canvas.Brush().Color = fixedColor_;
  } else if (highlighted) {
    canvas.Brush().Color = clHighlight;
    canvas.Font().Color = clHighlightText;
  } else {
    canvas.Brush().Color = color_;
  }
  if (defaultDrawing_) canvas.FillRect(rect);
  DrawCell(col.Index, row.Index, rect, state);
  if (state.contains(gdFixed)) DrawFixedEdge(canvas, col.Index, row.Index, rect);
}

void TCustomGrid::DrawFixedEdge(TCanvas& canvas, int, int, const TRect& ARect) {
  if (flat_) return;
  TEdgeSides sides;
  if (options_.contains(goFixedVertLine)) sides.insert(esLeft).insert(esRight);
  if (options_.contains(goFixedHorzLine)) sides.insert(esTop).insert(esBottom);
  if (!sides.empty()) canvas.DrawEdge(ARect, sides);
}

TColor TCustomGrid::LineColor(bool fixed) const {
  if (fixed) return clBlack;
  return ColorToRGB(color_) == clSilver ? clGray : clSilver;
}

// The lines lie in the gaps after each row and column. Gaps whose option is
// off take the colour of their cells and are filled first, so that a line
// that is on runs unbroken across them.
void TCustomGrid::PaintGridLines(TCanvas& canvas) {
  if (paintCols_.empty() || paintRows_.empty()) return;
  const auto split = [](const std::vector<TLine>& lines, int fixed) {
    return static_cast<int>(std::find_if(lines.begin(), lines.end(),
                                         [fixed](const TLine& l) { return l.Index >= fixed; }) -
                            lines.begin());
  };
  const int fc = split(paintCols_, fixedCols_);
  const int fr = split(paintRows_, fixedRows_);
  const TRun colRuns[] = {{0, fc - 1, true}, {fc, static_cast<int>(paintCols_.size()) - 1, false}};
  const TRun rowRuns[] = {{0, fr - 1, true}, {fr, static_cast<int>(paintRows_.size()) - 1, false}};
  canvas.Brush().Style = bsSolid;
  for (const bool on : {false, true}) {
    for (const TRun& rows : rowRuns) {
      for (const TRun& cols : colRuns) {
        if (rows.Empty() || cols.Empty()) continue;
        PaintLineSet(canvas, cols, rows, on, true);
        PaintLineSet(canvas, cols, rows, on, false);
      }
    }
  }
}

// One direction of lines in one block of cells: one rectangle per line, in
// one colour.
void TCustomGrid::PaintLineSet(TCanvas& canvas, const TRun& cols, const TRun& rows, bool on, bool vertical) {
  const bool fixedArea = cols.Fixed || rows.Fixed;
  const TGridOption option = vertical ? (fixedArea ? goFixedVertLine : goVertLine)
                                      : (fixedArea ? goFixedHorzLine : goHorzLine);
  const int gap = vertical ? cols_.Gap() : rows_.Gap();
  if (gap == 0 || options_.contains(option) != on) return;
  canvas.Brush().Color = on ? LineColor(fixedArea) : (fixedArea ? fixedColor_ : color_);
  const std::vector<TLine>& across = vertical ? paintCols_ : paintRows_;
  const std::vector<TLine>& along = vertical ? paintRows_ : paintCols_;
  const TRun& acrossRun = vertical ? cols : rows;
  const TRun& alongRun = vertical ? rows : cols;
  const int alongGap = vertical ? rows_.Gap() : cols_.Gap();
  const int from = along[alongRun.First].Start;
  const int to = along[alongRun.Last].Start + along[alongRun.Last].Size + alongGap;
  for (int i = acrossRun.First; i <= acrossRun.Last; ++i) {
    const int at = across[i].Start + across[i].Size;
    canvas.FillRect(vertical ? TRect{at, from, at + gap, to} : TRect{from, at, to, at + gap});
  }
}

void TCustomGrid::PaintBeyondCells(TCanvas& canvas, const TRect& area) {
  const std::int64_t right = FixedWidth() + cols_.Total() - cols_.Offset(topLeft_.X);
  const std::int64_t bottom = FixedHeight() + rows_.Total() - rows_.Offset(topLeft_.Y);
  const int cellsRight = static_cast<int>(std::min<std::int64_t>(right, area.Right));
  const int cellsBottom = static_cast<int>(std::min<std::int64_t>(bottom, area.Bottom));
  canvas.Brush().Color = color_;
  canvas.Brush().Style = bsSolid;
  if (cellsRight < area.Right)
    canvas.FillRect({std::max(cellsRight, area.Left), area.Top, area.Right, area.Bottom});
  if (cellsBottom < area.Bottom && area.Left < cellsRight)
    canvas.FillRect({area.Left, std::max(cellsBottom, area.Top), cellsRight, area.Bottom});
}

void TCustomGrid::PaintFocusRect(TCanvas& canvas, bool focused) {
  if (!focused || EditorShowing() || ColCount() == 0 || RowCount() == 0) return;
  TRect r = CellRect(current_.X, current_.Y);
  if (options_.contains(goRowSelect) && ColCount() > fixedCols_) {
    r = GridRectToPixels({fixedCols_, current_.Y, ColCount() - 1, current_.Y});
    r.Right -= cols_.Gap();
    r.Bottom -= rows_.Gap();
  }
  if (!r.IsEmpty()) canvas.DrawFocusRect(r);
}

}  // namespace kelvora
