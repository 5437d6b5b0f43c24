#pragma once

#include <optional>
#include <vector>

#include "grid/print/print_settings.h"
#include "grid/print/print_source.h"
#include "toolkit/geometry.h"

namespace kelvora {

// The room a page gives, in page pixels (96 to the inch).
struct TPrintArea {
  TSize Page;            // the printable area
  int HeaderHeight = 0;  // the title and the header above the grid, with the gap after them
  int FooterHeight = 0;
};

// Displayed rows or columns, both inclusive; empty when Last < First.
struct TPrintSpan {
  int First = 0;
  int Last = -1;
  bool Empty() const { return Last < First; }
  bool operator==(const TPrintSpan&) const = default;
};

struct TPrintPage {
  int Number = 1;   // counted from 1
  int Band = 0;     // which columns across
  TPrintSpan Rows;  // the rows that flow onto it, the repeated ones apart
  bool operator==(const TPrintPage&) const = default;
};

// Which cells go on which page. Pages run across first: the first rows on
// each band of columns in turn, then the next rows. A page holds as many
// rows as fit below the repeated fixed rows, and at least one: a row taller
// than the page stands alone and is cut off at its foot; so is a column
// wider than the page at its right. Fixed rows (columns) that would leave
// no room for a row (column) of their own are not repeated.
//
// Row pages are not kept: a page is found by walking the rows, so that a
// job of millions of rows holds no more than the page it prints.
class TPageLayout {
 public:
  TPageLayout(const TPrintSource& grid, const TPrintSettings& settings, const TPrintArea& area);

  // The grid's size on paper against the screen: 1, or less to fit the width.
  double Scale() const { return scale_; }
  int PageCount() const;
  int BandCount() const { return static_cast<int>(bands_.size()); }

  TPrintSpan RepeatedRows() const { return repeatedRows_; }
  TPrintSpan RepeatedCols() const { return repeatedCols_; }
  const TPrintSpan& Band(int index) const { return bands_[static_cast<std::size_t>(index)]; }
  // Where the grid goes on every page, in the grid's pixels at the scale.
  const TRect& GridArea() const { return gridArea_; }

  // Page `number`, 1..PageCount().
  TPrintPage Page(int number) const;
  // The page after it; none after the last.
  std::optional<TPrintPage> NextPage(const TPrintPage& page) const;

 private:
  int Extent(int size) const { return size + gap_; }
  int RowsExtent(TPrintSpan rows) const;
  int ColsExtent(TPrintSpan cols) const;
  TPrintSpan Repeated(int fixedCount, int total, int room, bool wanted, bool rows) const;
  void ChooseScale(const TPrintSettings& settings, const TPrintArea& area);
  void MakeBands();
  TPrintSpan RowsFrom(int first) const;
  int CountRowPages() const;

  const TPrintSource& grid_;
  int gap_ = 0;
  double scale_ = 1.0;
  TRect gridArea_;
  TPrintSpan repeatedRows_;
  TPrintSpan repeatedCols_;
  int firstFlowingRow_ = 0;
  int firstFlowingCol_ = 0;
  int rowRoom_ = 0;  // below the repeated rows
  std::vector<TPrintSpan> bands_;
  int rowPages_ = 1;
};

}  // namespace kelvora
