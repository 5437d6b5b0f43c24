#include "grid/print/page_layout.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>

#include "print_test_support.h"

namespace kelvora {
namespace {

using print_test::TFakePrintSource;

std::string Span(TPrintSpan span) {
  return span.Empty() ? "none" : std::to_string(span.First) + "-" + std::to_string(span.Last);
}

// Every page in order, as "number: rows ... cols ...", after the repeated ones.
std::string Pages(const TPageLayout& layout) {
  std::ostringstream out;
  out << "repeated rows " << Span(layout.RepeatedRows()) << " cols " << Span(layout.RepeatedCols());
  if (layout.Scale() != 1.0) out << " scale " << layout.Scale();
  for (std::optional<TPrintPage> page = layout.Page(1); page; page = layout.NextPage(*page))
    out << "\n" << page->Number << ": rows " << Span(page->Rows) << " cols " << Span(layout.Band(page->Band));
  return out.str();
}

struct LayoutCase {
  const char* what;
  int cols;
  int rows;
  std::function<void(TFakePrintSource&, TPrintSettings&, TPrintArea&)> setUp;
  std::string pages;
};

class PageLayoutTable : public ::testing::TestWithParam<LayoutCase> {};

// Cells are 60 x 20 with a line of 1 after each, on a page of 400 x 300:
// 14 rows a page, 6 columns across.
TEST_P(PageLayoutTable, PutsEachCellOnItsPage) {
  const LayoutCase& c = GetParam();
  TFakePrintSource grid(c.cols, c.rows);
  TPrintSettings settings;
  TPrintArea area{{400, 300}, 0, 0};
  if (c.setUp) c.setUp(grid, settings, area);
  const TPageLayout layout(grid, settings, area);
  EXPECT_EQ(Pages(layout), c.pages) << c.what;
  EXPECT_EQ(layout.PageCount(), static_cast<int>(std::count(c.pages.begin(), c.pages.end(), '\n'))) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PageLayoutTable,
    ::testing::Values(
        LayoutCase{"rows flow down the pages", 3, 30, {},
                   "repeated rows none cols none\n1: rows 0-13 cols 0-2\n2: rows 14-27 cols 0-2\n3: rows 28-29 cols 0-2"},
        LayoutCase{"fixed rows head every page", 3, 30, [](auto& g, auto&, auto&) { g.fixedRows = 1; },
                   "repeated rows 0-0 cols none\n1: rows 1-13 cols 0-2\n2: rows 14-26 cols 0-2\n3: rows 27-29 cols 0-2"},
        LayoutCase{"or are printed once where they lie", 3, 30,
                   [](auto& g, auto& s, auto&) {
                     g.fixedRows = 1;
                     s.RepeatFixedRows = false;
                   },
                   "repeated rows none cols none\n1: rows 0-13 cols 0-2\n2: rows 14-27 cols 0-2\n3: rows 28-29 cols 0-2"},
        LayoutCase{"columns past the page go to pages across, first", 10, 20, {},
                   "repeated rows none cols none\n1: rows 0-13 cols 0-5\n2: rows 0-13 cols 6-9\n"
                   "3: rows 14-19 cols 0-5\n4: rows 14-19 cols 6-9"},
        LayoutCase{"fixed columns stand at the left of each", 10, 5, [](auto& g, auto&, auto&) { g.fixedCols = 1; },
                   "repeated rows none cols 0-0\n1: rows 0-4 cols 1-5\n2: rows 0-4 cols 6-9"},
        LayoutCase{"fitted to the width, smaller and more rows a page", 10, 30,
                   [](auto&, auto& s, auto&) { s.FitToPageWidth = true; },
                   "repeated rows none cols none scale 0.655738\n1: rows 0-20 cols 0-9\n2: rows 21-29 cols 0-9"},
        LayoutCase{"never larger than the screen", 2, 3, [](auto&, auto& s, auto&) { s.FitToPageWidth = true; },
                   "repeated rows none cols none\n1: rows 0-2 cols 0-1"},
        LayoutCase{"a row taller than the page stands alone", 1, 5, [](auto& g, auto&, auto&) { g.heights[2] = 500; },
                   "repeated rows none cols none\n1: rows 0-1 cols 0-0\n2: rows 2-2 cols 0-0\n3: rows 3-4 cols 0-0"},
        LayoutCase{"and so does a column wider than it", 3, 1, [](auto& g, auto&, auto&) { g.widths[1] = 900; },
                   "repeated rows none cols none\n1: rows 0-0 cols 0-0\n2: rows 0-0 cols 1-1\n3: rows 0-0 cols 2-2"},
        LayoutCase{"fixed rows that fill the page are not repeated", 1, 4,
                   [](auto& g, auto&, auto&) {
                     g.fixedRows = 2;
                     g.heights = {{0, 150}, {1, 150}};
                   },
                   "repeated rows none cols none\n1: rows 0-0 cols 0-0\n2: rows 1-3 cols 0-0"},
        LayoutCase{"header and footer take their room", 1, 30,
                   [](auto&, auto&, auto& a) {
                     a.HeaderHeight = 50;
                     a.FooterHeight = 40;
                   },
                   "repeated rows none cols none\n1: rows 0-9 cols 0-0\n2: rows 10-19 cols 0-0\n3: rows 20-29 cols 0-0"},
        LayoutCase{"a grid of fixed rows alone", 2, 2, [](auto& g, auto&, auto&) { g.fixedRows = 2; },
                   "repeated rows 0-1 cols none\n1: rows none cols 0-1"},
        LayoutCase{"an empty grid is one empty page", 0, 0, {}, "repeated rows none cols none\n1: rows none cols none"}));

TEST(PageLayout, FindsAPageByItsNumberAsTheWalkDoes) {
  TFakePrintSource grid(10, 100);
  const TPageLayout layout(grid, {}, {{400, 300}, 0, 0});
  std::optional<TPrintPage> walked = layout.Page(1);
  for (int number = 1; walked; ++number, walked = layout.NextPage(*walked)) EXPECT_EQ(layout.Page(number), *walked);
}

TEST(PageLayout, AMillionRowsKeepNoPages) {
  TFakePrintSource grid(7, 1'000'000);
  const TPageLayout layout(grid, {}, {{400, 300}, 0, 0});
  EXPECT_EQ(layout.PageCount(), 2 * 71429);  // 14 rows a page, two bands
  EXPECT_EQ(layout.Page(layout.PageCount()).Rows, (TPrintSpan{999'992, 999'999}));
}

}  // namespace
}  // namespace kelvora
