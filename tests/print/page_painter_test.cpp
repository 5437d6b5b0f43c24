#include "grid/print/page_painter.h"

#include <gtest/gtest.h>

#include <string>

#include "grid/cell_grid_error.h"
#include "grid/print/print_fields.h"
#include "grid/print/print_job.h"
#include "print_test_support.h"
#include "toolkit/print_progress.h"

namespace kelvora {
namespace {

using print_test::TFakePrintSource;
using print_test::TRecordingPrintTarget;

// Two columns and three rows, the first fixed, on pages of 200 x 100: the
// title and header take 34 pixels, the footer 21, and each page holds the
// fixed row and one more.
class PrintedPages : public ::testing::Test {
 protected:
  PrintedPages() {
    grid.fixedRows = 1;
    settings.Title = "Dates";
    settings.Header = "Page [page] of [pages]";
    settings.Footer = "[date] [time]";
  }

  bool Print(int stopAfter = -1) {
    const TPrintProgressScript script(stopAfter);
    const auto progress = MakePrintProgress(nullptr);
    const bool done = PrintGrid({target, grid, settings, "1.2.03", "12:34", *progress});
    reports = script.Reports();
    return done;
  }

  TFakePrintSource grid{2, 3};
  TPrintSettings settings;
  TRecordingPrintTarget target{{200, 100}};
  std::vector<std::pair<int, int>> reports;
};

TEST_F(PrintedPages, HoldTheirCellsWithTheHeaderAndFooterFilledIn) {
  ASSERT_TRUE(Print());
  ASSERT_EQ(target.pages.size(), 2u);
  const std::string font = "MS Sans Serif/-11/clBlack";
  EXPECT_EQ(target.pages[0],
            "Part scale=1\n"
            "DrawText \"Dates\" 0,0,200,13 flags=SingleLine|Center|NoPrefix|ExpandTabs font=" + font + "/B\n"
            "DrawText \"Page 1 of 2\" 0,13,200,26 flags=SingleLine|NoPrefix|ExpandTabs font=" + font + "\n"
            "DrawText \"1.2.03 12:34\" 0,87,200,100 flags=SingleLine|Center|NoPrefix|ExpandTabs font=" + font + "\n"
            "Part scale=1\n"
            "SetClipRect 0,34,200,79\n"
            "TextOut 0,34 \"0,0\" font=" + font + "\n"
            "TextOut 61,34 \"1,0\" font=" + font + "\n"
            "TextOut 0,55 \"0,1\" font=" + font + "\n"
            "TextOut 61,55 \"1,1\" font=" + font + "\n"
            // The lines after each column: black in the fixed row, silver below.
            "FillRect 60,34,61,55 brush=clBlack\n"
            "FillRect 60,55,61,76 brush=clSilver\n"
            "FillRect 121,34,122,55 brush=clBlack\n"
            "FillRect 121,55,122,76 brush=clSilver\n"
            "FillRect 0,54,122,55 brush=clBlack\n"
            "FillRect 0,75,122,76 brush=clSilver\n"
            "ResetClip\n");
  EXPECT_NE(target.pages[1].find("\"Page 2 of 2\""), std::string::npos);
  EXPECT_NE(target.pages[1].find("TextOut 0,34 \"0,0\""), std::string::npos);  // the fixed row again
  EXPECT_NE(target.pages[1].find("TextOut 61,55 \"1,2\""), std::string::npos);
  EXPECT_TRUE(target.finished);
  EXPECT_EQ(reports, (std::vector<std::pair<int, int>>{{1, 2}, {2, 2}}));
}

TEST_F(PrintedPages, FollowTheGridsLineOptions) {
  grid.options = {goVertLine};
  settings = {};
  ASSERT_TRUE(Print());
  const std::string& page = target.pages[0];
  EXPECT_EQ(page.find("brush=clBlack"), std::string::npos) << page;  // no fixed lines
  EXPECT_NE(page.find("FillRect 60,21,61,63 brush=clSilver"), std::string::npos) << page;
  EXPECT_EQ(page.find("FillRect 0,"), std::string::npos) << page;  // no horizontal ones
  settings.GridLines = false;
  target.pages.clear();
  ASSERT_TRUE(Print());
  EXPECT_EQ(target.pages[0].find("FillRect"), std::string::npos);
}

TEST_F(PrintedPages, ARangePrintsItsPagesWithTheirOwnNumbers) {
  settings.FromPage = 2;
  ASSERT_TRUE(Print());
  ASSERT_EQ(target.pages.size(), 1u);
  EXPECT_NE(target.pages[0].find("\"Page 2 of 2\""), std::string::npos);
  EXPECT_EQ(reports, (std::vector<std::pair<int, int>>{{1, 1}}));
  settings.FromPage = 3;
  target.pages.clear();
  EXPECT_THROW(Print(), ECellGridError);
  EXPECT_TRUE(target.pages.empty());
}

TEST_F(PrintedPages, AStoppedJobIsLeftUnfinished) {
  EXPECT_FALSE(Print(1));
  EXPECT_EQ(target.pages.size(), 1u);
  EXPECT_FALSE(target.finished);
}

struct FieldCase {
  std::string text;
  std::string filled;
};

class PrintFieldsTable : public ::testing::TestWithParam<FieldCase> {};

TEST_P(PrintFieldsTable, AreFilledIn) {
  EXPECT_EQ(FillPrintFields(GetParam().text, {3, 12, "1.2.03", "12:34"}), GetParam().filled);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, PrintFieldsTable,
    ::testing::Values(FieldCase{"[page]/[pages]", "3/12"}, FieldCase{"[PAGE] [Pages]", "3 12"},
                      FieldCase{"on [date] at [time]", "on 1.2.03 at 12:34"}, FieldCase{"[page][page]", "33"},
                      FieldCase{"[other] [pag", "[other] [pag"}, FieldCase{"", ""}, FieldCase{"[[page]]", "[3]"}));

}  // namespace
}  // namespace kelvora
