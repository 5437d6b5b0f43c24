#include "app/date_line.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kelvora {
namespace {

using Pieces = std::array<std::string, kDateColumnCount>;

struct CutCase {
  const char* what;
  std::string line;
  bool hasWeekday;
  Pieces pieces;  // column 0 is empty whenever the line has no weekday
};

class DateLineCutting : public ::testing::TestWithParam<CutCase> {};

TEST_P(DateLineCutting, CutsTheSevenPieces) {
  const CutCase& c = GetParam();
  const TDateFields fields = CutDateLine(c.line);
  EXPECT_EQ(fields.HasWeekday, c.hasWeekday) << c.what;
  for (int column = 0; column < kDateColumnCount; ++column) {
    EXPECT_EQ(fields.Pieces[column], c.pieces[column]) << c.what << ", column " << column;
  }
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, DateLineCutting,
    ::testing::Values(
        CutCase{"weekday, two-digit day", "Date: Tue, 11 Feb 2003 12:34:56 +0100", true,
                {"Tue", "11", "Feb", "2003", "12", "34", "56"}},
        CutCase{"weekday, one-digit day", "Date: Tue, 4 Feb 2003 09:05:07 GMT", true,
                {"Tue", "4 ", "Feb", "2003", "09", "05", "07"}},
        CutCase{"no weekday, two-digit day", "Date: 11 Feb 2003 12:34:56 +0100", false,
                {"", "11", "Feb", "2003", "12", "34", "56"}},
        CutCase{"no weekday, one-digit day", "Date: 4 Feb 2003 09:05:07 GMT", false,
                {"", "4 ", "Feb", "2003", "09", "05", "07"}}));

INSTANTIATE_TEST_SUITE_P(
    OddLines, DateLineCutting,
    ::testing::Values(
        CutCase{"exactly the prefix", "Date:", false, {"", "", "", "", "", "", ""}},
        CutCase{"prefix and blank", "Date: ", false, {"", "", "", "", "", "", ""}},
        CutCase{"weekday only", "Date: Tue,", true, {"Tue", "", "", "", "", "", ""}},
        CutCase{"weekday and blank only", "Date: Tue, ", true, {"Tue", "", "", "", "", "", ""}},
        CutCase{"one-digit hour", "Date: Tue, 11 Feb 2003 9:05:07 GMT", true,
                {"Tue", "11", "Feb", "2003", "9:", "5:", "7 "}},
        CutCase{"no blank after the weekday's comma", "Date: Tue,11 Feb 2003 12:34:56", true,
                {"Tue", "1 ", "Feb", "2003", "12", "34", "56"}},
        CutCase{"stops after the day", "Date: 11", false, {"", "11", "", "", "", "", ""}},
        CutCase{"one byte of day", "Date: 1", false, {"", "1", "", "", "", "", ""}},
        CutCase{"stops in the year", "Date: 11 Feb 20", false, {"", "11", "Feb", "20", "", "", ""}},
        CutCase{"stops in the time", "Date: 11 Feb 2003 12:3", false,
                {"", "11", "Feb", "2003", "12", "3", ""}},
        CutCase{"no time zone", "Date: 11 Feb 2003 12:34:56", false,
                {"", "11", "Feb", "2003", "12", "34", "56"}},
        CutCase{"long weekday form", "Date: Thursday, 13-Feb-03 10:20:30 GMT", false,
                {"", "Th", "rsd", "y, 1", "-F", "b-", "3 "}},
        CutCase{"NUL bytes are ordinary bytes",
                std::string("Date: Tue, 1\0 Feb 2003 1\0:34:56", 31), true,
                {"Tue", std::string("1\0", 2), "Feb", "2003", std::string("1\0", 2), "34", "56"}},
        CutCase{"not a date line at all is still cut", "Subject: hi", false,
                {"", "t:", "hi", "", "", "", ""}},
        CutCase{"empty line", "", false, {"", "", "", "", "", "", ""}}));

TEST(DateLine, CutsALongLineIntoPiecesOfTheLine) {
  const std::string line = "Date: Tue, 11 Feb 2003 12:34:56 " + std::string(10'000'000, 'x');
  const TDateFields fields = CutDateLine(line);
  EXPECT_TRUE(fields.HasWeekday);
  EXPECT_EQ(fields.Pieces[6], "56");
  // The pieces are views into the line itself, not copies.
  EXPECT_EQ(fields.Pieces[0].data(), line.data() + 6);
  EXPECT_EQ(fields.Pieces[6].data(), line.data() + 29);
}

struct PrefixCase {
  std::string line;
  bool isDateLine;
};

class DateLinePrefix : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(DateLinePrefix, MatchesExactlyTheFirstFiveBytes) {
  EXPECT_EQ(IsDateLine(GetParam().line), GetParam().isDateLine) << '"' << GetParam().line << '"';
}

INSTANTIATE_TEST_SUITE_P(
    DateLine, DateLinePrefix,
    ::testing::Values(PrefixCase{"Date: Tue, 11 Feb 2003 12:34:56 +0100", true},
                      PrefixCase{"Date:", true}, PrefixCase{"Date:x", true},
                      PrefixCase{"Date", false}, PrefixCase{"", false},
                      PrefixCase{"date: Tue, 11 Feb 2003", false},
                      PrefixCase{"DATE: Tue, 11 Feb 2003", false},
                      PrefixCase{" Date: Tue, 11 Feb 2003", false},
                      PrefixCase{"Date : Tue", false}, PrefixCase{"> Date: Tue", false},
                      PrefixCase{"Dates: none", false},
                      PrefixCase{std::string("Date\0: x", 8), false},
                      PrefixCase{std::string("Date:\0", 6), true}));

// The sample that ships with the program and the CSV that saving its dates
// must give are kept beside each other; cutting each date line of the one and
// writing the cells the way the grid does must reproduce the other, so that
// neither can be edited without the other.
std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string CsvCell(std::string_view cell) {
  if (cell.empty()) return "\"\"";
  if (cell.find(',') != std::string_view::npos) return "\"" + std::string(cell) + "\"";
  return std::string(cell);
}

std::string CsvRow(const TDateFields& fields) {
  std::string row;
  for (int column = 0; column < kDateColumnCount; ++column) {
    if (column > 0) row += ',';
    row += CsvCell(fields.Pieces[column]);
  }
  return row + "\r\n";
}

TEST(DateLine, SampleExportGivesTheExpectedCsv) {
  const std::filesystem::path here = std::filesystem::path(__FILE__).parent_path();
  std::istringstream sample(ReadWholeFile(here / "../../samples/news_export.txt"));
  std::string csv;
  int dateLines = 0;
  for (std::string line; std::getline(sample, line);) {
    if (!IsDateLine(line)) continue;
    csv += CsvRow(CutDateLine(line));
    ++dateLines;
  }
  csv += CsvRow(TDateFields{});  // the empty row the grid grows past the last date
  EXPECT_EQ(dateLines, 9);
  EXPECT_EQ(csv, ReadWholeFile(here / "expected/news_export.csv"));
}

}  // namespace
}  // namespace kelvora
