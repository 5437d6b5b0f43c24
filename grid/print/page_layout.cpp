#include "grid/print/page_layout.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace kelvora {
namespace {

int Saturated(std::int64_t value) { return static_cast<int>(std::clamp<std::int64_t>(value, 0, INT_MAX)); }

}  // namespace

TPageLayout::TPageLayout(const TPrintSource& grid, const TPrintSettings& settings, const TPrintArea& area)
    : grid_(grid), gap_(std::max(grid.GridLineWidth(), 0)) {
  ChooseScale(settings, area);
  repeatedRows_ = Repeated(grid.FixedRows(), grid.RowCount(), gridArea_.Height(), settings.RepeatFixedRows, true);
  repeatedCols_ = Repeated(grid.FixedCols(), grid.ColCount(), gridArea_.Width(), settings.RepeatFixedCols, false);
  firstFlowingRow_ = repeatedRows_.Empty() ? 0 : repeatedRows_.Last + 1;
  firstFlowingCol_ = repeatedCols_.Empty() ? 0 : repeatedCols_.Last + 1;
  rowRoom_ = gridArea_.Height() - RowsExtent(repeatedRows_);
  MakeBands();
  rowPages_ = CountRowPages();
}

int TPageLayout::RowsExtent(TPrintSpan rows) const {
  std::int64_t total = 0;
  for (int row = rows.First; row <= rows.Last; ++row) total += Extent(grid_.RowHeight(row));
  return Saturated(total);
}

int TPageLayout::ColsExtent(TPrintSpan cols) const {
  std::int64_t total = 0;
  for (int col = cols.First; col <= cols.Last; ++col) total += Extent(grid_.ColWidth(col));
  return Saturated(total);
}

TPrintSpan TPageLayout::Repeated(int fixedCount, int total, int room, bool wanted, bool rows) const {
  if (!wanted || fixedCount <= 0 || total <= 0) return {};
  const TPrintSpan span{0, std::min(fixedCount, total) - 1};
  const int extent = rows ? RowsExtent(span) : ColsExtent(span);
  // Fixed lines that fill the page leave nothing for the others.
  if (extent >= room && span.Last + 1 < total) return {};
  return span;
}

// The header and footer keep their size; only the grid is scaled. Fitted,
// the grid is exactly as wide as its columns, whatever the rounding.
void TPageLayout::ChooseScale(const TPrintSettings& settings, const TPrintArea& area) {
  int width = std::max(area.Page.cx, 1);
  if (settings.FitToPageWidth) {
    const int total = ColsExtent({0, grid_.ColCount() - 1});
    if (total > width) {
      scale_ = static_cast<double>(width) / total;
      width = total;
    }
  }
  const auto unscaled = [this](int pixels) { return static_cast<int>(std::floor(pixels / scale_ + 1e-9)); };
  const int top = static_cast<int>(std::ceil(area.HeaderHeight / scale_ - 1e-9));
  const int bottom = unscaled(area.Page.cy - area.FooterHeight);
  gridArea_ = {0, top, width, std::max(bottom, top + 1)};
}

void TPageLayout::MakeBands() {
  const int cols = grid_.ColCount();
  const std::int64_t room = gridArea_.Width() - ColsExtent(repeatedCols_);
  if (firstFlowingCol_ >= cols) {
    bands_.push_back({});
    return;
  }
  for (int first = firstFlowingCol_; first < cols;) {
    int last = first;
    std::int64_t used = Extent(grid_.ColWidth(first));
    while (last + 1 < cols && used + Extent(grid_.ColWidth(last + 1)) <= room) used += Extent(grid_.ColWidth(++last));
    bands_.push_back({first, last});
    first = last + 1;
  }
}

TPrintSpan TPageLayout::RowsFrom(int first) const {
  const int rows = grid_.RowCount();
  if (first >= rows) return {};
  int last = first;
  std::int64_t used = Extent(grid_.RowHeight(first));
  while (last + 1 < rows && used + Extent(grid_.RowHeight(last + 1)) <= rowRoom_) used += Extent(grid_.RowHeight(++last));
  return {first, last};
}

int TPageLayout::CountRowPages() const {
  int pages = 0;
  for (TPrintSpan rows = RowsFrom(firstFlowingRow_); !rows.Empty(); rows = RowsFrom(rows.Last + 1)) ++pages;
  return std::max(pages, 1);
}

int TPageLayout::PageCount() const { return Saturated(std::int64_t{rowPages_} * BandCount()); }

TPrintPage TPageLayout::Page(int number) const {
  const int index = std::clamp(number, 1, PageCount()) - 1;
  TPrintSpan rows = RowsFrom(firstFlowingRow_);
  for (int page = 0; page < index / BandCount(); ++page) rows = RowsFrom(rows.Last + 1);
  return {index + 1, index % BandCount(), rows};
}

std::optional<TPrintPage> TPageLayout::NextPage(const TPrintPage& page) const {
  if (page.Band + 1 < BandCount()) return TPrintPage{page.Number + 1, page.Band + 1, page.Rows};
  if (page.Rows.Empty() || page.Rows.Last + 1 >= grid_.RowCount()) return std::nullopt;
  return TPrintPage{page.Number + 1, 0, RowsFrom(page.Rows.Last + 1)};
}

}  // namespace kelvora
