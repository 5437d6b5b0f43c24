#include <QTemporaryDir>

#include <sys/stat.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "cell_grid_test_support.h"
#include "toolkit/long_command.h"

namespace kelvora {
namespace {

class TFolder {
 public:
  std::string Path(const std::string& name) const { return dir_.filePath(QString::fromStdString(name)).toStdString(); }

 private:
  QTemporaryDir dir_;
};

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// One combination of the writer's settings, and the grid's shape around it.
struct TDialect {
  char delimiter;
  bool caretTilde, multiline, oem, fixedCellsOut, hiddenColumn, hiddenColumnsIn;
};

void Apply(TCellGrid& grid, const TDialect& d) {
  grid.FieldDelimiter = d.delimiter;
  grid.CaretTildeEncoding = d.caretTilde;
  grid.SetMultilinecells(d.multiline);
  grid.SetOemConvert(d.oem);
  grid.IncludeFixedCells = !d.fixedCellsOut;
  grid.IncludeHiddenColumns = d.hiddenColumnsIn;
}

// A cell the writer writes without ambiguity in the dialect: no quote at
// its start or before a delimiter or line end, line breaks only as CR LF or
// as a CR before a letter and only where they are protected, no caret-tilde
// markers, and in code page 850 only characters it has.
std::string RandomCell(std::mt19937& rng, const TDialect& d) {
  if (rng() % 5 == 0) return {};
  const char delimiter = d.delimiter == '\0' ? ',' : d.delimiter;
  std::vector<std::string> tokens = {"a", "Z", "7", " ", "\xC3\xA9"};
  if (!d.caretTilde) tokens.insert(tokens.end(), {std::string(1, delimiter), "\"q"});
  if (d.caretTilde) tokens.push_back("\"");
  if (!d.oem) tokens.push_back("\xE9");
  if (d.multiline) tokens.push_back("\r\n");
  if (d.multiline && !d.caretTilde) tokens.push_back("\rx");
  std::string cell;
  for (unsigned n = 1 + rng() % 4; n > 0; --n) cell += tokens[rng() % tokens.size()];
  if (!d.caretTilde && cell.starts_with('"')) cell.insert(0, "k");
  return cell;
}

TDialect RandomDialect(std::mt19937& rng) {
  static constexpr char kDelimiters[] = {'\0', ',', ';', '\t', '|'};
  return {kDelimiters[rng() % 5], rng() % 2 == 0, rng() % 2 == 0, rng() % 2 == 0,
          rng() % 2 == 0, rng() % 2 == 0, rng() % 2 == 0};
}

void Shape(TCellGrid& grid, int cols, int rows, const TDialect& d) {
  grid.SetColCount(cols);
  grid.SetRowCount(rows);
  grid.SetFixedCols(d.fixedCellsOut ? 1 : 0);
  grid.SetFixedRows(d.fixedCellsOut ? 1 : 0);
  if (d.hiddenColumn) grid.HideColumn(1);
}

// The cells the writer takes, stored column and row, in both grids.
void ExpectSameWrittenCells(TCellGrid& from, TCellGrid& to, const TDialect& d, const std::string& label) {
  const int firstRow = d.fixedCellsOut ? from.FixedRows() : 0;
  const int firstCol = d.fixedCellsOut ? from.FixedCols() : 0;
  const int lastCol = from.ColCount() - 1 + (d.hiddenColumnsIn ? from.HiddenColumnCount() : 0);
  for (int row = firstRow; row < from.RowCount(); ++row) {
    for (int col = firstCol; col <= lastCol; ++col) {
      const int dataCol = d.hiddenColumnsIn ? col : from.DisplayToDataColumn(col);
      ASSERT_EQ(to.Cells(dataCol, row), from.Cells(dataCol, row)) << label << " col " << col << " row " << row;
    }
  }
}

// For every grid the writer writes without ambiguity, under every setting,
// reading its file gives the cells back; a hidden column that the file
// leaves out keeps its text.
TEST(CellGridCsvRead, RoundTripsRandomGridsUnderEverySetting) {
  std::mt19937 rng(2323);
  TFolder folder;
  const std::string path = folder.Path("round.csv");
  for (int round = 0; round < 400; ++round) {
    const TDialect d = RandomDialect(rng);
    const int cols = 3 + static_cast<int>(rng() % 4);
    const int rows = 2 + static_cast<int>(rng() % 6);
    TCellGrid from, to;
    Shape(from, cols, rows, d);
    Shape(to, cols, 2, d);
    Apply(from, d);
    Apply(to, d);
    for (int row = 0; row < rows; ++row)
      for (int col = 0; col < cols; ++col) from.SetCells(col, row, RandomCell(rng, d));
    if (d.hiddenColumn && !d.hiddenColumnsIn) to.SetCells(1, 1, "kept");
    from.WriteCsvFile(path);
    to.ReadCsvFile(path);
    const std::string label = "round " + std::to_string(round);
    ASSERT_EQ(to.RowCount(), from.RowCount()) << label;
    ASSERT_EQ(to.ColCount(), from.ColCount()) << label;
    ExpectSameWrittenCells(from, to, d, label);
    if (d.hiddenColumn && !d.hiddenColumnsIn) {
      ASSERT_EQ(to.Cells(1, 1), "kept") << label;
    }
    ASSERT_EQ(to.CheckConsistency(), "");
  }
}

// A grid that fails to read stays as it was, and the message names the
// file and, for a text that is no table, the line.
class CellGridCsvReadBadInput : public ::testing::Test {
 protected:
  void SetUp() override {
    grid.SetColCount(2);
    grid.SetRowCount(2);
    grid.SetCells(1, 1, "before");
  }
  void ExpectRefused(const std::string& path, const std::string& says) {
    try {
      grid.ReadCsvFile(path);
      ADD_FAILURE() << path << " was read";
    } catch (const ECellGridError& error) {
      const std::string message = error.what();
      EXPECT_NE(message.find("Cannot read file " + path), std::string::npos) << message;
      EXPECT_NE(message.find(says), std::string::npos) << message;
    }
    EXPECT_EQ(grid.Cells(1, 1), "before");
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.ColCount(), 2);
  }

  TCellGrid grid;
  TFolder folder;
};

TEST_F(CellGridCsvReadBadInput, FilesThatAreNoTableLeaveTheGridAsItWas) {
  const struct {
    const char* name;
    std::string bytes;
    const char* says;
  } cases[] = {
      {"unclosed.csv", "a,b\r\nc,\"d\r\n", "line 2: a quote opened here is never closed"},
      {"nul.csv", std::string("a,b\r\nc\0d\r\n", 10), "line 2: it holds a NUL byte"},
      {"wide.csv", std::string(1'000'000, ','), "line 1: a row has more than 65536 cells"},
      // Told in the order of the text, not of the blocks it is read in.
      {"wide_then_nul.csv", std::string(70'000, ',') + "\r\nx" + '\0', "line 1: a row has more than 65536 cells"},
      {"huge_field.csv", "x\r\n" + std::string(100 << 20, 'y'), "line 2: a cell is longer than 16 MiB"},
  };
  for (const auto& c : cases) {
    WriteBytes(folder.Path(c.name), c.bytes);
    ExpectRefused(folder.Path(c.name), c.says);
  }
}

TEST_F(CellGridCsvReadBadInput, ThingsThatAreNoFileAreRefusedWithoutWaiting) {
  ExpectRefused(folder.Path("missing.csv"), "File not found");
  ExpectRefused(folder.Path(""), "a folder");
  const std::string fifo = folder.Path("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  ExpectRefused(fifo, "a pipe");
  ExpectRefused("/dev/zero", "NUL byte");
}

TEST_F(CellGridCsvReadBadInput, AFileChangedWhileReadIsRefused) {
  const std::string path = folder.Path("growing.csv");
  std::string rows;
  for (int i = 0; i < 200'000; ++i) rows += "a,b\r\n";
  WriteBytes(path, rows);
  grid.OnFileProgress = [&](TObject*, short) { std::ofstream(path, std::ios::app) << "more\r\n"; };
  ExpectRefused(path, "it changed while it was read");
}

// Progress is the share of the bytes read, each percentage once, in order.
TEST(CellGridCsvRead, ReportsProgressAsTheWriterDoes) {
  TFolder folder;
  const std::string path = folder.Path("progress.csv");
  std::string rows;
  for (int i = 0; i < 300'000; ++i) rows += "Mon,1,Jan\r\n";
  WriteBytes(path, rows);
  TCellGrid grid;
  std::vector<short> seen;
  grid.OnFileProgress = [&](TObject* sender, short percent) {
    EXPECT_EQ(sender, &grid);
    // The read is one step: the person's input waits it out.
    EXPECT_TRUE(TLongCommand::Running());
    seen.push_back(percent);
  };
  grid.ReadCsvFile(path);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), 100);
  for (std::size_t i = 1; i < seen.size(); ++i) EXPECT_LT(seen[i - 1], seen[i]);
  EXPECT_EQ(grid.RowCount(), 300'000);
  EXPECT_EQ(grid.Cells(2, 299'999), "Jan");
}

// The range form writes from a displayed cell on, passes over a hidden
// column as a paste does, grows the grid, and keeps every other cell.
TEST(CellGridCsvRead, ReadsARangeAtACell) {
  TFolder folder;
  const std::string path = folder.Path("range.csv");
  WriteBytes(path, "a,b,c\r\nd,\"\",f\r\n");
  TCellGrid grid;
  grid.SetColCount(4);
  grid.SetRowCount(3);
  grid.SetCells(0, 0, "outside");
  grid.SetCells(2, 2, "hidden");
  grid.SetCells(3, 2, "emptied");
  grid.HideColumn(2);
  grid.ReadCsvFile(path, 1, 1);
  EXPECT_EQ(grid.Cells(0, 0), "outside");
  EXPECT_EQ(grid.Cells(1, 1), "a");
  EXPECT_EQ(grid.Cells(3, 1), "b");
  EXPECT_EQ(grid.Cells(4, 1), "c");
  EXPECT_EQ(grid.Cells(2, 2), "hidden");
  EXPECT_EQ(grid.Cells(3, 2), "");
  EXPECT_EQ(grid.Cells(4, 2), "f");
  EXPECT_EQ(grid.RowCount(), 3);
  EXPECT_EQ(grid.ColCount(), 4);
  grid.ReadCsvFile(path, 3, 2);
  EXPECT_EQ(grid.RowCount(), 4);
  EXPECT_EQ(grid.ColCount(), 6);
}

}  // namespace
}  // namespace kelvora
