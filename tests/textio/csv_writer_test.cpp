#include "grid/textio/csv_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "csv_test_files.h"
#include "grid/textio/csv_cell_encoding.h"
#include "fake_cell_source.h"

namespace kelvora {
namespace {

using csv_test::TFakeCellSource;
using csv_test::WrittenCsv;

// Every cell names its own stored column and row, so a line shows which
// cells were written and in which order.
TFakeCellSource LabelledGrid(int cols, int rows) {
  TFakeCellSource grid;
  grid.colCount = cols;
  grid.rowCount = rows;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols + 4; ++c) grid.SetCell(c, r, "c" + std::to_string(c) + "r" + std::to_string(r));
  return grid;
}

TEST(CsvWriter, WritesTheWorkedExamples) {
  const struct {
    std::vector<std::string> cells;
    std::string line;
  } examples[] = {
      {{"Mon", "1", "Jan"}, "Mon,1,Jan"},
      {{"Smith, J.", "42", ""}, "\"Smith, J.\",42,\"\""},
      {{"", "", ""}, "\"\",\"\",\"\""},
      {{"say \"hi\"", "a,\"b\"", "x"}, "say \"hi\",\"a,\"b\"\",x"},
      {{std::string("N\0L", 3), "x"}, std::string("N\0L,x", 5)},  // NUL is a byte like any other
  };
  for (const auto& example : examples) {
    TFakeCellSource grid;
    grid.SetRow(0, example.cells);
    EXPECT_EQ(WrittenCsv(grid), example.line + "\r\n");
  }
}

TEST(CsvWriter, WritesEveryRowAsOneLineEndedByCrLf) {
  TFakeCellSource fresh;  // a grid straight after File > Open: one empty cell
  EXPECT_EQ(WrittenCsv(fresh), "\"\"\r\n");

  TFakeCellSource grid;
  grid.SetRow(0, {"Mon", "1"});
  grid.SetRow(2, {"Tue"});
  EXPECT_EQ(WrittenCsv(grid), "Mon,1\r\n\"\",\"\"\r\nTue,\"\"\r\n");
}

TEST(CsvWriter, AppliesDelimiterMultilineAndOemSettings) {
  TFakeCellSource grid;
  grid.SetRow(0, {"Smith, J.", "42", ""});
  EXPECT_EQ(WrittenCsv(grid, {.FieldDelimiter = ';'}), "Smith, J.;42;\"\"\r\n");

  grid.SetRow(0, {"one\r\ntwo", "Caf\xC3\xA9", "x"});
  EXPECT_EQ(WrittenCsv(grid), "one\r\ntwo,Caf\xC3\xA9,x\r\n");
  EXPECT_EQ(WrittenCsv(grid, {.Multilinecells = true}), "\"one\ntwo\",Caf\xC3\xA9,x\r\n");
  EXPECT_EQ(WrittenCsv(grid, {.OemConvert = true}), "one\r\ntwo,Caf\x82,x\r\n");
  EXPECT_EQ(WrittenCsv(grid, {.CaretTildeEncoding = true, .Multilinecells = true}),
            "one~two,Caf\xC3\xA9,x\r\n");
}

TEST(CsvWriter, LeavesOutFixedAreasOnlyWhenAsked) {
  TFakeCellSource grid = LabelledGrid(4, 4);
  grid.fixedRows = grid.fixedCols = grid.fixedFooters = grid.fixedRightCols = 1;
  EXPECT_EQ(WrittenCsv(grid),
            "c0r0,c1r0,c2r0,c3r0\r\nc0r1,c1r1,c2r1,c3r1\r\n"
            "c0r2,c1r2,c2r2,c3r2\r\nc0r3,c1r3,c2r3,c3r3\r\n");
  EXPECT_EQ(WrittenCsv(grid, {.IncludeFixedCells = false}), "c1r1,c2r1\r\nc1r2,c2r2\r\n");

  grid.fixedRows = 4;  // nothing but fixed rows: an empty file, not an error
  EXPECT_EQ(WrittenCsv(grid, {.IncludeFixedCells = false}), "");
  grid.rowCount = 0;
  EXPECT_EQ(WrittenCsv(grid), "");
}

TEST(CsvWriter, MapsDisplayedColumnsUnlessHiddenOnesAreIncluded) {
  TFakeCellSource grid = LabelledGrid(3, 1);
  grid.hiddenColumnCount = 2;
  grid.dataColumns = {0, 2, 4};  // stored columns 1 and 3 are hidden
  EXPECT_EQ(WrittenCsv(grid), "c0r0,c2r0,c4r0\r\n");
  EXPECT_EQ(WrittenCsv(grid, {.IncludeHiddenColumns = true}), "c0r0,c1r0,c2r0,c3r0,c4r0\r\n");

  grid.fixedCols = grid.fixedRightCols = 1;
  EXPECT_EQ(WrittenCsv(grid, {.IncludeFixedCells = false, .IncludeHiddenColumns = true}),
            "c1r0,c2r0,c3r0\r\n");
}

TEST(CsvWriterProgress, RoundsHalvesToEven) {
  const struct {
    int row, rowCount;
    short percent;
  } cases[] = {{0, 1, 100}, {0, 0, 100}, {0, 3, 0},   {1, 3, 50},  {2, 3, 100}, {1, 9, 12},
               {3, 9, 38},  {1, 41, 2},  {3, 41, 8},  {1, 401, 0}, {2, 401, 0}, {3, 401, 1},
               {5, 3, 100},
               // An exact half that floating point would see as 57.49999999999999.
               {1127, 1961, 58}};
  for (const auto& c : cases)
    EXPECT_EQ(CsvProgressPercent(c.row, c.rowCount), c.percent) << c.row << " of " << c.rowCount;
}

TEST(CsvWriterProgress, ReportsOnlyChangesAndOnlyToListeners) {
  TFakeCellSource one;
  one.wantsProgress = true;
  WrittenCsv(one);
  EXPECT_EQ(one.progress, std::vector<short>{100});

  TFakeCellSource three = LabelledGrid(2, 3);
  three.wantsProgress = true;
  WrittenCsv(three);
  EXPECT_EQ(three.progress, (std::vector<short>{0, 50, 100}));

  TFakeCellSource many = LabelledGrid(1, 1000);
  many.wantsProgress = true;
  WrittenCsv(many);
  ASSERT_EQ(many.progress.size(), 101u);
  for (short p = 0; p <= 100; ++p) EXPECT_EQ(many.progress[p], p);

  many.wantsProgress = false;
  many.progress.clear();
  WrittenCsv(many);
  EXPECT_TRUE(many.progress.empty());
}

TEST(CsvWriterProgress, CountsAbsoluteRowsWhenFixedRowsAreLeftOut) {
  TFakeCellSource grid = LabelledGrid(1, 5);
  grid.fixedRows = 2;
  grid.wantsProgress = true;
  WrittenCsv(grid, {.IncludeFixedCells = false});
  EXPECT_EQ(grid.progress, (std::vector<short>{50, 75, 100}));
}

TEST(CsvWriterDuringEdits, WritesWhatTheCellsHoldWhenTheirRowComes) {
  TFakeCellSource grid = LabelledGrid(3, 3);
  grid.wantsProgress = true;
  grid.onProgress = [](TFakeCellSource& g, short percent) {
    if (percent != 0) return;
    g.SetRow(3, {"new", "row", "dropped"});  // adds a row
    g.SetCell(0, 2, "");                     // empties a cell
    g.colCount = 2;                          // shrinks the columns
  };
  EXPECT_EQ(WrittenCsv(grid), "c0r0,c1r0,c2r0\r\nc0r1,c1r1\r\n\"\",c1r2\r\nnew,row\r\n");
}

TEST(CsvWriterDuringEdits, NeverReadsPastRowsRemovedMeanwhile) {
  TFakeCellSource grid = LabelledGrid(2, 1000);
  grid.wantsProgress = true;
  grid.onProgress = [](TFakeCellSource& g, short) { g.rowCount = 2; };
  EXPECT_EQ(WrittenCsv(grid), "c0r0,c1r0\r\nc0r1,c1r1\r\n");
  EXPECT_EQ(grid.maxRowRead, 1);
}

// A clock that moves on by a frame and a half whenever it is read makes every
// look at it find messages due.
TMessagePacer EagerPacer() {
  auto now = std::make_shared<TMessagePacer::TimePoint>();
  return TMessagePacer([now] { return *now += std::chrono::milliseconds(24); });
}

TEST(CsvWriterDuringEdits, ProcessesMessagesWithoutProgressListenersAndSeesTheirEdits) {
  TFakeCellSource grid = LabelledGrid(1, 1000);
  grid.onProcessMessages = [](TFakeCellSource& g) { g.rowCount = 100; };
  csv_test::TTestFolder folder;
  TMessagePacer pacer = EagerPacer();
  WriteCsvFile(grid, {}, folder.Path("out.csv"), false, pacer);

  EXPECT_EQ(grid.processMessagesCalls, 1);  // after row 64, and none after 100
  const std::string written = csv_test::ReadBytes(folder.Path("out.csv"));
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 100);
  EXPECT_TRUE(written.ends_with("c0r99\r\n"));
}

TEST(CsvWriterDuringEdits, AnEscapingHandlerLeavesTheOldFileAndNoTemporary) {
  TFakeCellSource grid = LabelledGrid(1, 200);
  grid.onProcessMessages = [](TFakeCellSource&) { throw std::runtime_error("handler failed"); };
  csv_test::TTestFolder folder;
  const std::string path = folder.Path("out.csv");
  csv_test::WriteBytes(path, "old\r\n");
  TMessagePacer pacer = EagerPacer();
  EXPECT_THROW(WriteCsvFile(grid, {}, path, false, pacer), std::runtime_error);
  EXPECT_EQ(csv_test::ReadBytes(path), "old\r\n");
  EXPECT_EQ(folder.Entries(), QStringList{"out.csv"});
}

}  // namespace
}  // namespace kelvora

namespace kelvora {
namespace {

// The writer tests the usual short cell for the bytes that need protection
// all at once: a delimiter or carriage return at any place of a cell of any
// short length must still be found, and one just past the cell must not be;
// in texts handed over one by one and packed alike.
TEST(CsvWriter, ShortCellsAreProtectedWhateverPlaceTheirDelimiterHas) {
  for (const bool packed : {false, true}) {
    for (const bool multiline : {false, true}) {
      for (const char delimiter : {',', ';', '\x80'}) {
        SCOPED_TRACE(std::string("delimiter ") + delimiter + (multiline ? ", multi-line" : "") +
                     (packed ? ", packed" : ""));
        const TCsvSettings settings{delimiter, true, false, false, false, multiline};
        const TCsvCellRules rules{delimiter, false, multiline};
        // One row a case: a cell of each short length with the byte looked
        // for at each place (or nowhere), and right after it a cell that
        // begins with that byte.
        TFakeCellSource grid;
        grid.packsShortTexts = packed;
        std::string expected;
        int row = 0;
        for (std::size_t length = 1; length <= 10; ++length) {
          for (std::size_t at = 0; at <= length; ++at) {
            for (const char special : {delimiter, '\r', '\0'}) {
              std::string cell(length, 'a');
              if (at < length) cell[at] = special;
              const std::string next = std::string(1, special) + "b";
              grid.SetRow(row++, {cell, next});
              AppendCsvCell(expected, cell, rules);
              expected += delimiter;
              AppendCsvCell(expected, next, rules);
              expected += "\r\n";
            }
          }
        }
        EXPECT_EQ(WrittenCsv(grid, settings), expected);
      }
    }
  }
}

// Rows handed over packed are written exactly as the same rows handed over
// text by text, with every setting that shapes a cell: empty cells, the
// longest packed text and the shortest that is not, and rows where only some
// cells would pack.
TEST(CsvWriter, PackedRowsWriteWhatTextsWrite) {
  const std::vector<std::vector<std::string>> rows = {
      {"Mon", "1", "Jan", "2003", "12", "34", "56"},
      {"", "seven77", "eight888", "", "a,b", "x\r\ny", ""},
      {"\r", "^", "\"q\"", ",", ";", "~"},
      {},
  };
  for (const char delimiter : {'\0', ';'}) {
    for (const bool caretTilde : {false, true}) {
      for (const bool multiline : {false, true}) {
        const TCsvSettings settings{delimiter, true, false, caretTilde, false, multiline};
        std::string written[2];
        for (const bool packed : {false, true}) {
          TFakeCellSource grid;
          grid.packsShortTexts = packed;
          for (std::size_t r = 0; r < rows.size(); ++r) grid.SetRow(static_cast<int>(r), rows[r]);
          written[packed] = WrittenCsv(grid, settings);
        }
        EXPECT_EQ(written[1], written[0]) << "delimiter " << int(delimiter) << ", caret " << caretTilde
                                          << ", multi-line " << multiline;
      }
    }
  }
}

}  // namespace
}  // namespace kelvora
