#include <QDir>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "cell_grid_test_support.h"
#include "toolkit/exceptions.h"
#include "common/file_size_cap.h"

namespace kelvora {
namespace {

using grid_test::ApplyMainWindowColumn;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A folder of its own for each test, removed with everything in it.
class TFolder {
 public:
  std::string Path(const std::string& name) const { return dir_.filePath(QString::fromStdString(name)).toStdString(); }
  std::string Dir() const { return dir_.path().toStdString(); }
  QStringList Entries() const {
    return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  }

 private:
  QTemporaryDir dir_;
};

// The main window's grid holding the given rows.
void Load(TCellGrid& grid, const std::vector<std::vector<std::string>>& rows) {
  ApplyMainWindowColumn(grid);
  int cols = 1;
  for (const auto& row : rows) cols = std::max(cols, static_cast<int>(row.size()));
  grid.SetColCount(cols);
  grid.SetRowCount(std::max(static_cast<int>(rows.size()), 1));
  for (std::size_t r = 0; r < rows.size(); ++r)
    for (std::size_t c = 0; c < rows[r].size(); ++c)
      grid.SetCells(static_cast<int>(c), static_cast<int>(r), rows[r][c]);
}

std::string Written(TCellGrid& grid) {
  TFolder folder;
  const std::string path = folder.Path("grid.csv");
  grid.WriteCsvFile(path);
  return ReadBytes(path);
}

TEST(CellGridCsv, AFreshMainWindowGridWritesOneEmptyCell) {
  TCellGrid grid;
  ApplyMainWindowColumn(grid);
  EXPECT_EQ(Written(grid), "\"\"\r\n");
}

// The grid as "Get Data" leaves it: one row a date line and an empty last row.
TEST(CellGridCsv, WritesEveryRowOfTheGridAsOneLine) {
  TCellGrid grid;
  Load(grid, {{"Tue", "11", "Feb", "2003", "12", "34", "56"},
              {"", "4 ", "Feb", "2003", "09", "05", "07"},
              {}});
  EXPECT_EQ(Written(grid),
            "Tue,11,Feb,2003,12,34,56\r\n"
            "\"\",4 ,Feb,2003,09,05,07\r\n"
            "\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n");
}

TEST(CellGridCsv, WritesCellsExactlyAsTheEncodingsSay) {
  TCellGrid grid;
  Load(grid, {{"Mon", "1", "Jan"},
              {"Smith, J.", "42", ""},
              {"say \"hi\"", "a,\"b\"", "x"},
              {",", std::string("nul\0byte", 8), "two\r\nlines"}});
  EXPECT_EQ(Written(grid), std::string("Mon,1,Jan\r\n"
                                       "\"Smith, J.\",42,\"\"\r\n"
                                       "say \"hi\",\"a,\"b\"\",x\r\n"
                                       "\",\",nul\0byte,two\r\nlines\r\n",
                                       75));
}

struct TSettingsCase {
  const char* name;
  std::function<void(TCellGrid&)> set;
  std::string expected;
};

TEST(CellGridCsv, TheGridsSettingsReachTheWriter) {
  const std::vector<TSettingsCase> cases = {
      {"semicolon", [](TCellGrid& g) { g.FieldDelimiter = ';'; }, "Smith, J.;\"\";a\r\nb\r\n"},
      {"multi-line cells", [](TCellGrid& g) { g.SetMultilinecells(true); }, "\"Smith, J.\",\"\",\"a\nb\"\r\n"},
      {"caret and tilde", [](TCellGrid& g) { g.CaretTildeEncoding = true; g.SetMultilinecells(true); },
       "Smith, J.,^,a~b\r\n"},
      {"OEM code page", [](TCellGrid& g) { g.SetOemConvert(true); g.SetCells(0, 0, "caf\xe9"); },
       "caf\x82,\"\",a\r\nb\r\n"},
  };
  for (const TSettingsCase& c : cases) {
    TCellGrid grid;
    Load(grid, {{"Smith, J.", "", "a\r\nb"}});
    c.set(grid);
    EXPECT_EQ(Written(grid), c.expected) << c.name;
  }
}

// A 4 x 4 grid with one fixed row and column, one footer row and one fixed
// right column.
void LoadFramed(TCellGrid& grid) {
  Load(grid, {{"h0", "h1", "h2", "h3"}, {"a", "b", "c", "d"}, {"e", "f", "g", "h"}, {"f0", "f1", "f2", "f3"}});
  grid.SetFixedRows(1);
  grid.SetFixedCols(1);
  grid.SetFixedFooters(1);
  grid.SetFixedRightCols(1);
}

TEST(CellGridCsv, FixedAreasAreLeftOutOnlyWhenAsked) {
  TCellGrid grid;
  LoadFramed(grid);
  EXPECT_EQ(Written(grid), "h0,h1,h2,h3\r\na,b,c,d\r\ne,f,g,h\r\nf0,f1,f2,f3\r\n");
  grid.IncludeFixedCells = false;
  EXPECT_EQ(Written(grid), "b,c\r\nf,g\r\n");
}

TEST(CellGridCsv, HiddenColumnsAreWrittenOnlyWhenIncluded) {
  TCellGrid grid;
  Load(grid, {{"c0", "c1", "c2", "c3"}});
  grid.HideColumn(1);
  EXPECT_EQ(Written(grid), "c0,c2,c3\r\n");
  grid.IncludeHiddenColumns = true;
  EXPECT_EQ(Written(grid), "c0,c1,c2,c3\r\n");
}

TEST(CellGridCsv, TheOneArgumentFormReplacesAndAppendAdds) {
  TFolder folder;
  const std::string path = folder.Path("out.csv");
  TCellGrid grid;
  Load(grid, {{"Mon", "1"}});
  WriteBytes(path, "old content that is longer than the new\r\n");
  grid.WriteCsvFile(path);
  EXPECT_EQ(ReadBytes(path), "Mon,1\r\n");
  grid.WriteCsvFile(path, true);
  EXPECT_EQ(ReadBytes(path), "Mon,1\r\nMon,1\r\n");
  grid.WriteCsvFile(path, false);
  EXPECT_EQ(ReadBytes(path), "Mon,1\r\n");

  const std::string missing = folder.Path("new.csv");
  grid.WriteCsvFile(missing, true);
  EXPECT_EQ(ReadBytes(missing), "Mon,1\r\n");
  EXPECT_EQ(folder.Entries(), (QStringList{"new.csv", "out.csv"}));
}

TEST(CellGridCsv, WritingChangesNothingInTheGrid) {
  TCellGrid grid;
  Load(grid, {{"", "x"}, {"y", ""}});
  grid.SetSelection({0, 0, 1, 1});
  Written(grid);
  EXPECT_EQ(grid.FieldDelimiter, '\0');
  EXPECT_EQ(grid.Cells(0, 0), "");
  EXPECT_EQ(grid.Cells(1, 0), "x");
  EXPECT_EQ(grid.RowCount(), 2);
  EXPECT_EQ(grid.Selection(), (TGridRect{0, 0, 1, 1}));
}

// ---- Progress ---------------------------------------------------------------

std::vector<short> ProgressOf(int rows) {
  TCellGrid grid;
  Load(grid, std::vector<std::vector<std::string>>(static_cast<std::size_t>(rows), {"x"}));
  std::vector<short> reported;
  grid.OnFileProgress = [&](TObject* sender, short progress) {
    EXPECT_EQ(sender, &grid);
    reported.push_back(progress);
  };
  Written(grid);
  return reported;
}

TEST(CellGridCsvProgress, ReportsEachNewPercentageOnce) {
  EXPECT_EQ(ProgressOf(1), std::vector<short>{100});
  EXPECT_EQ(ProgressOf(2), (std::vector<short>{0, 100}));
  EXPECT_EQ(ProgressOf(5), (std::vector<short>{0, 25, 50, 75, 100}));
  const std::vector<short> many = ProgressOf(1001);
  ASSERT_EQ(many.size(), 101u);
  for (std::size_t i = 0; i < many.size(); ++i) EXPECT_EQ(many[i], static_cast<short>(i));
}

// The handler runs between rows and may change anything; the writer reads
// the grid afresh for each row and column, and finishes.
TEST(CellGridCsvProgress, AHandlerMayEditTheGridWhileItIsWritten) {
  TCellGrid grid;
  Load(grid, {{"r0c0", "r0c1", "r0c2"}, {"r1c0", "r1c1", "r1c2"}, {"r2c0", "r2c1", "r2c2"}, {"r3c0", "r3c1", "r3c2"}});
  std::vector<short> reported;
  grid.OnFileProgress = [&](TObject*, short progress) {
    reported.push_back(progress);
    switch (reported.size()) {
      case 1:  // after row 0: two more rows
        grid.SetRowCount(6);
        for (int row : {4, 5})
          for (int col = 0; col < 3; ++col)
            grid.SetCells(col, row, "r" + std::to_string(row) + "c" + std::to_string(col));
        break;
      case 2:  // after row 1: a cell of the next row emptied
        grid.SetCells(0, 2, "");
        break;
      case 3:  // after row 2: one column fewer
        grid.SetColCount(2);
        break;
    }
  };
  EXPECT_EQ(Written(grid),
            "r0c0,r0c1,r0c2\r\nr1c0,r1c1,r1c2\r\n\"\",r2c1,r2c2\r\n"
            "r3c0,r3c1\r\nr4c0,r4c1\r\nr5c0,r5c1\r\n");
  EXPECT_EQ(reported, (std::vector<short>{0, 20, 40, 60, 80, 100}));
}

TEST(CellGridCsvProgress, AHandlerThatRemovesRowsEndsTheWriteEarly) {
  TCellGrid grid;
  Load(grid, {{"a"}, {"b"}, {"c"}, {"d"}, {"e"}});
  grid.OnFileProgress = [&](TObject*, short) {
    grid.SetRowCount(2);
    grid.SetColCount(0);
  };
  EXPECT_EQ(Written(grid), "a\r\n\r\n");
}

TEST(CellGridCsvProgress, AHandlerThatDropsItselfIsSafe) {
  TCellGrid grid;
  Load(grid, {{"a"}, {"b"}, {"c"}});
  int calls = 0;
  grid.OnFileProgress = [&](TObject*, short) {
    ++calls;
    grid.OnFileProgress = nullptr;
  };
  EXPECT_EQ(Written(grid), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(calls, 1);
}

// ---- Files that cannot be written -----------------------------------------

void ExpectCannotCreate(TCellGrid& grid, const std::string& path, bool append) {
  try {
    grid.WriteCsvFile(path, append);
    ADD_FAILURE() << "no error for " << path;
  } catch (const ECellGridError& error) {
    EXPECT_EQ(error.Message(), "Cannot create file " + path);
  }
}

TEST(CellGridCsvFiles, AMissingFolderCannotBeCreated) {
  TFolder folder;
  TCellGrid grid;
  Load(grid, {{"a"}});
  const std::string path = folder.Path("no such folder/out.csv");
  ExpectCannotCreate(grid, path, false);
  ExpectCannotCreate(grid, path, true);
  EXPECT_TRUE(folder.Entries().isEmpty());
}

TEST(CellGridCsvFiles, AReadOnlyFileIsLeftAlone) {
  TFolder folder;
  const std::string path = folder.Path("read-only.csv");
  WriteBytes(path, "old\r\n");
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  if (::access(path.c_str(), W_OK) == 0) GTEST_SKIP() << "this user writes every file";
  TCellGrid grid;
  Load(grid, {{"a"}});
  ExpectCannotCreate(grid, path, false);
  EXPECT_EQ(ReadBytes(path), "old\r\n");
  EXPECT_EQ(folder.Entries(), QStringList{"read-only.csv"});
}

TEST(CellGridCsvFiles, AFolderIsNoFile) {
  TFolder folder;
  TCellGrid grid;
  Load(grid, {{"a"}});
  ExpectCannotCreate(grid, folder.Dir(), false);
  ExpectCannotCreate(grid, folder.Dir(), true);
}

TEST(CellGridCsvFiles, AFullDiskIsReported) {
  TCellGrid grid;
  Load(grid, std::vector<std::vector<std::string>>(2000, {std::string(500, 'x')}));
  for (bool append : {false, true}) {
    try {
      grid.WriteCsvFile("/dev/full", append);
      ADD_FAILURE() << "a write to a full disk succeeded";
    } catch (const EInOutError& error) {
      EXPECT_EQ(error.Message(), "Cannot write file /dev/full: Disk full");
    }
  }
}

TEST(CellGridCsvFiles, AWriteThatFailsPartWayKeepsTheOldFile) {
  TFolder folder;
  const std::string path = folder.Path("precious.csv");
  WriteBytes(path, "precious\r\n");
  TCellGrid grid;
  Load(grid, std::vector<std::vector<std::string>>(2000, {std::string(500, 'x'), "y"}));
  {
    testing_support::TFileSizeCap cap(64 * 1024);
    EXPECT_THROW(grid.WriteCsvFile(path), EInOutError);
  }
  EXPECT_EQ(ReadBytes(path), "precious\r\n");
  EXPECT_EQ(folder.Entries(), QStringList{"precious.csv"});
  // The file is not held: the next write goes through.
  grid.WriteCsvFile(path);
  EXPECT_EQ(ReadBytes(path).size(), 2000u * 504);
}

TEST(CellGridCsvFiles, AnErrorInAHandlerKeepsTheOldFile) {
  TFolder folder;
  const std::string path = folder.Path("precious.csv");
  WriteBytes(path, "precious\r\n");
  TCellGrid grid;
  Load(grid, {{"a"}, {"b"}, {"c"}});
  grid.OnFileProgress = [](TObject*, short progress) {
    if (progress == 50) throw Exception("stopped by the handler");
  };
  EXPECT_THROW(grid.WriteCsvFile(path), Exception);
  EXPECT_EQ(ReadBytes(path), "precious\r\n");
  EXPECT_EQ(folder.Entries(), QStringList{"precious.csv"});
}

}  // namespace
}  // namespace kelvora
