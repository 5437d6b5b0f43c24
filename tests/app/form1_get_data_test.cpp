// "Get Data" as the button runs it: the sample, repeated runs, and the files
// a person may feed it by mistake.

#include <sys/stat.h>
#include <unistd.h>

#include <QLineEdit>

#include <algorithm>
#include <fstream>
#include <functional>
#include <optional>

#include "form1_fixture.h"
#include "toolkit/exceptions.h"

namespace kelvora::testing {
namespace {

const TRowCells kFirstSampleRow{"Tue", "11", "Feb", "2003", "12", "34", "56"};
const TRowCells kEmptyRow{};

using GetData = Form1Test;

TEST_F(GetData, FillsOneRowPerDateLineAndLeavesAnEmptyLastRow) {
  ClickOpen(SamplePath());
  ClickGetData();
  EXPECT_TRUE(ErrorBoxes().empty()) << LastErrorBox();
  EXPECT_EQ(Grid().ColCount(), 7);
  EXPECT_EQ(Grid().RowCount(), 10);  // nine date lines in the sample
  EXPECT_EQ(Row(0), kFirstSampleRow);
  EXPECT_EQ(Row(2), (TRowCells{"Tue", "4 ", "Feb", "2003", "09", "05", "07"}));
  EXPECT_EQ(Row(1)[0], "") << "a date without weekday leaves column 0 alone";
  EXPECT_EQ(Row(9), kEmptyRow);
  ExpectDefaultCursor();
  EXPECT_FALSE(ProcessHoldsOpen(SamplePath()));
}

TEST_F(GetData, ShowsTheHourglassWhileItWorks) {
  ClickOpen(SamplePath());
  std::vector<TCursor> seen;
  // Fitting the columns asks the colour hook about every cell, inside the
  // command; painting asks it too, outside.
  Grid().OnGetCellColor = [&seen](TObject*, int, int, TGridDrawState, TBrush&, TFont&) {
    seen.push_back(Screen().Cursor());
  };
  ClickGetData();
  Grid().OnGetCellColor = nullptr;
  EXPECT_NE(std::find(seen.begin(), seen.end(), crHourGlass), seen.end());
  ExpectDefaultCursor();
}

TEST_F(GetData, SizesEveryColumnToItsWidestTextPlusSix) {
  ClickOpen(SamplePath());
  ClickGetData();
  const std::vector<int> widths = ColumnWidths();
  ASSERT_EQ(widths.size(), 7u);
  for (int width : widths) EXPECT_NE(width, 115) << "a column kept the default width";
  EXPECT_LT(widths[1], widths[3]) << "two digits fit in less room than a year";
  // Fitting again the same way must find nothing to change.
  Grid().FitColumnsToText(true, 2);
  EXPECT_EQ(ColumnWidths(), widths);
}

TEST_F(GetData, SizesEmptyColumnsToSixPixels) {
  GetDataFrom("From: someone\nSubject: no dates here\n\nbody\n");
  EXPECT_EQ(Grid().ColCount(), 7);
  EXPECT_EQ(Grid().RowCount(), 1);
  EXPECT_EQ(ColumnWidths(), std::vector<int>(7, 6));
}

TEST_F(GetData, SecondRunRewritesTheRowsAndGrowsTheCountAgain) {
  ClickOpen(SamplePath());
  ClickGetData();
  ClickGetData();
  EXPECT_EQ(Grid().RowCount(), 19);
  EXPECT_EQ(Row(0), kFirstSampleRow);
  for (int row = 9; row < 19; ++row) EXPECT_EQ(Row(row), kEmptyRow) << "row " << row;
  EXPECT_TRUE(ErrorBoxes().empty()) << LastErrorBox();
}

TEST_F(GetData, DateWithoutWeekdayKeepsWhatColumnZeroHolds) {
  const auto path = TempFile("export.txt");
  WriteWholeFile(path, "Date: 11 Feb 2003 12:34:56 +0100\n");
  ClickOpen(path);
  Grid().SetCells(0, 0, "typed");
  ClickGetData();
  EXPECT_EQ(Row(0), (TRowCells{"typed", "11", "Feb", "2003", "12", "34", "56"}));
}

TEST_F(GetData, TakesOnlyLinesThatBeginWithDateExactly) {
  GetDataFrom(
      "date: Tue, 11 Feb 2003 12:34:56\n"
      "DATE: Tue, 11 Feb 2003 12:34:56\n"
      " Date: Tue, 11 Feb 2003 12:34:56\n"
      "> Date: Tue, 11 Feb 2003 12:34:56\n"
      "Date:\n");
  EXPECT_EQ(Grid().RowCount(), 2);
  EXPECT_EQ(Row(0), kEmptyRow) << "the bare prefix still makes a row, of empty pieces";
}

// Files that are not what the program expects, each cut by the fixed counts
// without complaint.
struct OddFile {
  const char* what;
  std::string bytes;
  std::vector<TRowCells> rows;
};

void PrintTo(const OddFile& c, std::ostream* out) { *out << c.what; }

class GetDataOddFile : public Form1Test, public ::testing::WithParamInterface<OddFile> {};

TEST_P(GetDataOddFile, CutsItsDateLinesByTheFixedCounts) {
  const OddFile& c = GetParam();
  GetDataFrom(c.bytes);
  EXPECT_TRUE(ErrorBoxes().empty()) << LastErrorBox();
  EXPECT_EQ(Grid().ColCount(), 7);
  ASSERT_EQ(Grid().RowCount(), static_cast<int>(c.rows.size()) + 1);
  for (std::size_t row = 0; row < c.rows.size(); ++row)
    EXPECT_EQ(Row(static_cast<int>(row)), c.rows[row]) << "row " << row;
  ExpectDefaultCursor();
  EXPECT_FALSE(ProcessHoldsOpen(TempFile("export.txt")));
}

std::string AllByteValues() {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  return bytes;
}

const TRowCells kTue11{"Tue", "11", "Feb", "2003", "12", "34", "56"};
const TRowCells kNoWeekday4{"", "4 ", "Feb", "2003", "09", "05", "07"};
const TRowCells kMon3{"Mon", "3 ", "Feb", "2003", "20", "47", "15"};

INSTANTIATE_TEST_SUITE_P(
    Form1, GetDataOddFile,
    ::testing::Values(
        OddFile{"empty", "", {}},
        OddFile{"no date line", "From: a\nSubject: b\n\nDate is not a header\n", {}},
        OddFile{"carriage returns only",
                "Subject: x\rDate: Tue, 11 Feb 2003 12:34:56 +0100\rDate: 4 Feb 2003 09:05:07 GMT\r",
                {kTue11, kNoWeekday4}},
        OddFile{"mixed line ends",
                "Date: Tue, 11 Feb 2003 12:34:56 +0100\r\nDate: 4 Feb 2003 09:05:07 GMT\n"
                "Subject: y\rDate: Mon, 3 Feb 2003 20:47:15 +0100\r\n\r\n",
                {kTue11, kNoWeekday4, kMon3}},
        OddFile{"no final line end", "Subject: z\nDate: Tue, 11 Feb 2003 12:34:56 +0100", {kTue11}},
        OddFile{"NUL bytes",
                std::string("\0Date: not at the start\nDate: Tue, 1\0 Feb 2003 1\0:34:56\n", 56),
                {{"Tue", std::string("1\0", 2), "Feb", "2003", std::string("1\0", 2), "34", "56"}}},
        OddFile{"binary bytes",
                AllByteValues() +
                    "\nDate: \xc0\xc1\xc2, \x01\x02 \x80\x81\x82 \xf0\xf1\xf2\xf3 \xaa\xab:\xac\xad:\xae\xaf\n" +
                    AllByteValues(),
                {{"\xc0\xc1\xc2", "\x01\x02", "\x80\x81\x82", "\xf0\xf1\xf2\xf3", "\xaa\xab", "\xac\xad",
                  "\xae\xaf"}}},
        OddFile{"short date lines",
                "Date: Tue,\nDate: 11\nDate: Thursday, 13-Feb-03 10:20:30 GMT\n",
                {{"Tue", "", "", "", "", "", ""},
                 {"", "11", "", "", "", "", ""},
                 {"", "Th", "rsd", "y, 1", "-F", "b-", "3 "}}}),
    [](const ::testing::TestParamInfo<OddFile>& info) {
      std::string name;
      for (const char c : std::string(info.param.what)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      return name;
    });

TEST_F(GetData, CutsAHundredMegabyteDateLineAndGoesOn) {
  const auto path = TempFile("long line.txt");
  {
    std::ofstream out(path, std::ios::binary);
    out << "Date: Tue, 11 Feb 2003 12:34:56 ";
    const std::string chunk(1 << 20, 'x');
    for (int i = 0; i < 100; ++i) out << chunk;
    out << "\nSubject: after the long line\nDate: 4 Feb 2003 09:05:07 GMT\n";
    ASSERT_TRUE(out.good());
  }
  ClickOpen(path);
  ClickGetData();
  EXPECT_TRUE(ErrorBoxes().empty()) << LastErrorBox();
  ASSERT_EQ(Grid().RowCount(), 3);
  EXPECT_EQ(Row(0), kTue11);
  EXPECT_EQ(Row(1), kNoWeekday4);
  EXPECT_FALSE(ProcessHoldsOpen(path));
}

TEST_F(GetData, FailingHalfWayClosesTheFileAndRestoresTheCursor) {
  ClickOpen(SamplePath());
  bool failed = false;
  // The hook also runs for painting; only the command's own call fails,
  // the one made while the hourglass shows.
  Grid().OnGetCellColor = [&failed](TObject*, int, int, TGridDrawState, TBrush&, TFont&) {
    if (failed || Screen().Cursor() != crHourGlass) return;
    failed = true;
    throw Exception("The colour of a cell cannot be found");
  };
  ClickGetData();
  Grid().OnGetCellColor = nullptr;
  ASSERT_TRUE(failed);
  ASSERT_EQ(ErrorBoxes().size(), 1u);
  EXPECT_EQ(LastErrorBox(), "The colour of a cell cannot be found.");
  EXPECT_FALSE(ProcessHoldsOpen(SamplePath()));
  ExpectDefaultCursor();
  // The rows written before the failure stay.
  EXPECT_EQ(Grid().RowCount(), 10);
  EXPECT_EQ(Row(0), kFirstSampleRow);
}

// Standard input made a pipe that holds a date line: a command that read it
// in place of a chosen file would make a row of it.
class TStandardInputWithADateLine {
 public:
  TStandardInputWithADateLine() : saved_(::dup(STDIN_FILENO)) {
    int channel[2];
    EXPECT_EQ(::pipe(channel), 0);
    const char line[] = "Date: Tue, 11 Feb 2003 12:34:56 +0100\n";
    EXPECT_EQ(::write(channel[1], line, sizeof line - 1), static_cast<ssize_t>(sizeof line - 1));
    ::close(channel[1]);
    ::dup2(channel[0], STDIN_FILENO);
    ::close(channel[0]);
  }
  ~TStandardInputWithADateLine() {
    ::dup2(saved_, STDIN_FILENO);
    ::close(saved_);
  }
  TStandardInputWithADateLine(const TStandardInputWithADateLine&) = delete;
  TStandardInputWithADateLine& operator=(const TStandardInputWithADateLine&) = delete;

 private:
  int saved_;
};

TEST_F(GetData, BeforeAnyFileIsChosenSaysSoAndReadsNothing) {
  TStandardInputWithADateLine input;
  ClickGetData();
  ASSERT_EQ(ErrorBoxes().size(), 1u);
  EXPECT_NE(LastErrorBox().find("File > Open"), std::string::npos) << LastErrorBox();
  EXPECT_EQ(Grid().RowCount(), 1);
  EXPECT_EQ(Grid().ColCount(), 1);
  EXPECT_EQ(Grid().CellText(0, 0), "");
  ExpectDefaultCursor();
}

// A file that cannot be read: the error box names the reason, the grid is
// as it was, and the program goes on with the next file.
struct RefusedFile {
  const char* what;
  // Makes the path to choose in the temporary folder; nullopt chooses none.
  std::function<std::optional<std::filesystem::path>(const std::filesystem::path& folder)> make;
  const char* message;
  bool needsPermissions = false;  // root reads any file, so the case cannot be made
};

void PrintTo(const RefusedFile& c, std::ostream* out) { *out << c.what; }

class GetDataRefused : public Form1Test, public ::testing::WithParamInterface<RefusedFile> {};

TEST_P(GetDataRefused, ShowsTheReasonAndLeavesTheGridAsItWas) {
  const RefusedFile& c = GetParam();
  const auto chosen = c.make(TempFile(""));
  if (chosen) {
    if (c.needsPermissions && ::access(chosen->c_str(), R_OK) == 0)
      GTEST_SKIP() << "this user reads files whatever their permissions";
    ClickOpen(*chosen);
  }
  Grid().SetCells(0, 0, "typed");
  const std::vector<int> widths = ColumnWidths();

  ClickGetData();
  ASSERT_EQ(ErrorBoxes().size(), 1u);
  EXPECT_EQ(LastErrorBox(), c.message);
  EXPECT_EQ(Grid().ColCount(), 1);
  EXPECT_EQ(Grid().RowCount(), 1);
  EXPECT_EQ(Grid().CellText(0, 0), "typed");
  EXPECT_EQ(ColumnWidths(), widths);
  ExpectDefaultCursor();

  ClickOpen(SamplePath());
  ClickGetData();
  EXPECT_EQ(ErrorBoxes().size(), 1u) << LastErrorBox();
  EXPECT_EQ(Row(0), kFirstSampleRow);
}

std::filesystem::path WithText(const std::filesystem::path& path) {
  std::ofstream(path) << "Date: Tue, 11 Feb 2003 12:34:56 +0100\n";
  return path;
}

INSTANTIATE_TEST_SUITE_P(
    Form1, GetDataRefused,
    ::testing::Values(
        RefusedFile{"missing file", [](const auto& folder) { return folder / "gone.txt"; },
                    "File not found."},
        RefusedFile{"folder", [](const auto& folder) { return folder; }, "Is a folder, not a file."},
        RefusedFile{"path through a file",
                    [](const auto& folder) { return WithText(folder / "plain.txt") / "inner.txt"; },
                    "Path not found."},
        RefusedFile{"unreadable file",
                    [](const auto& folder) {
                      const auto path = WithText(folder / "locked.txt");
                      ::chmod(path.c_str(), 0);
                      return path;
                    },
                    "Access denied.", true},
        RefusedFile{"endless device", [](const auto&) { return std::filesystem::path("/dev/zero"); },
                    "Not a regular file."},
        RefusedFile{"pipe without a writer",
                    [](const auto& folder) {
                      const auto path = folder / "pipe.txt";
                      ::mkfifo(path.c_str(), 0600);
                      return path;
                    },
                    "Not a regular file."},
        RefusedFile{"no file chosen", [](const auto&) { return std::optional<std::filesystem::path>(); },
                    "No file chosen: choose one with File > Open first."}),
    [](const ::testing::TestParamInfo<RefusedFile>& info) {
      std::string name;
      for (const char c : std::string(info.param.what)) name += c == ' ' ? '_' : c;
      return name;
    });

}  // namespace
}  // namespace kelvora::testing
