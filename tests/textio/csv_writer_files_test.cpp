#include "grid/textio/csv_writer.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "csv_test_files.h"
#include "fake_cell_source.h"
#include "grid/cell_grid_error.h"
#include "toolkit/exceptions.h"
#include "common/file_size_cap.h"

namespace kelvora {
namespace {

using csv_test::ReadBytes;
using csv_test::TFakeCellSource;
using csv_test::TTestFolder;
using csv_test::WriteBytes;

TFakeCellSource TwoRows() {
  TFakeCellSource grid;
  grid.SetRow(0, {"Mon", "1"});
  grid.SetRow(1, {"Tue", "2"});
  return grid;
}

constexpr const char* kTwoRowsCsv = "Mon,1\r\nTue,2\r\n";

// Rows of about 1 KiB each, to outgrow any buffer and any small size limit.
TFakeCellSource BigGrid(int rows) {
  TFakeCellSource grid;
  for (int r = 0; r < rows; ++r) grid.SetRow(r, {std::string(1000, 'x'), std::to_string(r)});
  return grid;
}

void ExpectCannotCreate(TFakeCellSource& grid, const std::string& path, bool append) {
  try {
    WriteCsvFile(grid, {}, path, append);
    ADD_FAILURE() << "no error for " << path;
  } catch (const ECellGridError& error) {
    EXPECT_EQ(error.Message(), "Cannot create file " + path);
  }
}

TEST(CsvWriterFiles, ReplacesAnExistingFileWhole) {
  TTestFolder folder;
  const std::string path = folder.Path("out.csv");
  WriteBytes(path, "a much longer old content that must vanish entirely\r\n");
  TFakeCellSource grid = TwoRows();
  WriteCsvFile(grid, {}, path, false);
  EXPECT_EQ(ReadBytes(path), kTwoRowsCsv);
  EXPECT_EQ(folder.Entries(), QStringList{"out.csv"});
}

TEST(CsvWriterFiles, AppendCreatesAMissingFileAndExtendsAnExistingOne) {
  TTestFolder folder;
  TFakeCellSource grid = TwoRows();
  WriteCsvFile(grid, {}, folder.Path("new.csv"), true);
  EXPECT_EQ(ReadBytes(folder.Path("new.csv")), kTwoRowsCsv);

  WriteBytes(folder.Path("old.csv"), "old");
  WriteCsvFile(grid, {}, folder.Path("old.csv"), true);
  WriteCsvFile(grid, {}, folder.Path("old.csv"), true);
  EXPECT_EQ(ReadBytes(folder.Path("old.csv")), std::string("old") + kTwoRowsCsv + kTwoRowsCsv);
}

TEST(CsvWriterFiles, AppendKeepsTheRowsWrittenBeforeAHandlerFails) {
  TTestFolder folder;
  const std::string path = folder.Path("log.csv");
  WriteBytes(path, "old\r\n");
  TFakeCellSource grid = TwoRows();
  grid.SetRow(2, {"Wed", "3"});
  grid.wantsProgress = true;
  grid.onProgress = [](TFakeCellSource&, short percent) {
    if (percent == 50) throw std::runtime_error("handler failed");
  };
  EXPECT_THROW(WriteCsvFile(grid, {}, path, true), std::runtime_error);
  EXPECT_EQ(ReadBytes(path), std::string("old\r\n") + kTwoRowsCsv);
}

TEST(CsvWriterFiles, AppendKeepsAFileThatMayBeWrittenButNotRead) {
  TTestFolder folder;
  const std::string path = folder.Path("write-only.csv");
  WriteBytes(path, "old\r\n");
  ASSERT_EQ(::chmod(path.c_str(), 0200), 0);
  if (::access(path.c_str(), R_OK) == 0) GTEST_SKIP() << "this user reads every file";
  TFakeCellSource grid = TwoRows();
  WriteCsvFile(grid, {}, path, true);
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  EXPECT_EQ(ReadBytes(path), std::string("old\r\n") + kTwoRowsCsv);
}

TEST(CsvWriterFiles, ReportsAFileThatCannotBeCreated) {
  TTestFolder folder;
  TFakeCellSource grid = TwoRows();
  for (bool append : {false, true}) {
    ExpectCannotCreate(grid, folder.Path("missing/out.csv"), append);
    ExpectCannotCreate(grid, folder.Path(""), append);  // the folder itself
  }
  EXPECT_TRUE(folder.Entries().isEmpty());
}

TEST(CsvWriterFiles, LeavesAReadOnlyFileAlone) {
  TTestFolder folder;
  const std::string path = folder.Path("read-only.csv");
  WriteBytes(path, "old\r\n");
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  if (::access(path.c_str(), W_OK) == 0) GTEST_SKIP() << "this user writes every file";
  TFakeCellSource grid = TwoRows();
  ExpectCannotCreate(grid, path, false);
  // The file exists and opens for reading, so appending fails at reopening.
  EXPECT_THROW(WriteCsvFile(grid, {}, path, true), EInOutError);
  EXPECT_EQ(ReadBytes(path), "old\r\n");
  EXPECT_EQ(folder.Entries(), QStringList{"read-only.csv"});
}

TEST(CsvWriterFiles, AFullDiskIsReportedNotSwallowed) {
  TFakeCellSource grid = BigGrid(10);
  for (bool append : {false, true}) {
    try {
      WriteCsvFile(grid, {}, "/dev/full", append);
      ADD_FAILURE() << "a write to a full disk succeeded";
    } catch (const EInOutError& error) {
      EXPECT_EQ(error.Message(), "Cannot write file /dev/full: Disk full");
      EXPECT_EQ(error.ErrorCode(), ioDiskFull);
    }
  }
}

TEST(CsvWriterFiles, AFailureHalfWayKeepsTheOldFileAndLeavesNoTemporary) {
  TTestFolder folder;
  const std::string path = folder.Path("precious.csv");
  WriteBytes(path, "precious\r\n");
  TFakeCellSource grid = BigGrid(1000);  // about 1 MB
  {
    testing_support::TFileSizeCap cap(64 * 1024);
    EXPECT_THROW(WriteCsvFile(grid, {}, path, false), EInOutError);
  }
  EXPECT_EQ(ReadBytes(path), "precious\r\n");
  EXPECT_EQ(folder.Entries(), QStringList{"precious.csv"});
}

// Paths that go wrong between the dialog and the write. Each is named in
// the message, and whatever stood there is left as it was.
struct TBadPath {
  const char* name;
  // Makes the situation in the folder; returns the path the save is given.
  std::function<std::string(const TTestFolder&)> make;
};

std::string LongPath(const TTestFolder& folder) {
  std::string path = folder.Path("");
  while (path.size() <= 4096) path += "/" + std::string(200, 'd');
  return path + "/out.csv";
}

std::vector<TBadPath> BadPaths() {
  return {
      {"FolderVanished",
       [](const TTestFolder& f) {
         ::mkdir(f.Path("gone").c_str(), 0700);
         ::rmdir(f.Path("gone").c_str());
         return f.Path("gone/out.csv");
       }},
      {"FileReplacedByAFolder",
       [](const TTestFolder& f) {
         ::mkdir(f.Path("out.csv").c_str(), 0700);
         WriteBytes(f.Path("out.csv/inside.txt"), "kept");
         return f.Path("out.csv");
       }},
      {"PathLongerThanTheSystemTakes", LongPath},
      {"InvalidUtf8NameInAMissingFolder", [](const TTestFolder& f) { return f.Path("mis\xffsing/out\xfe.csv"); }},
  };
}

class CsvWriterBadPaths : public ::testing::TestWithParam<TBadPath> {};

TEST_P(CsvWriterBadPaths, AreNamedInTheMessageAndChangeNothing) {
  TTestFolder folder;
  const std::string path = GetParam().make(folder);
  const QStringList before = folder.Entries();
  TFakeCellSource grid = TwoRows();
  for (bool append : {false, true}) ExpectCannotCreate(grid, path, append);
  EXPECT_EQ(folder.Entries(), before);
  if (GetParam().name == std::string("FileReplacedByAFolder")) {
    EXPECT_EQ(ReadBytes(folder.Path("out.csv/inside.txt")), "kept");
  }
}

INSTANTIATE_TEST_SUITE_P(Table, CsvWriterBadPaths, ::testing::ValuesIn(BadPaths()),
                         [](const auto& info) { return std::string(info.param.name); });

// A name that is not UTF-8 is still a good name: the file gets exactly it.
TEST(CsvWriterFiles, ANameThatIsNotUtf8IsWrittenByteForByte) {
  TTestFolder folder;
  const std::string path = folder.Path("caf\xe9.csv");
  TFakeCellSource grid = TwoRows();
  WriteCsvFile(grid, {}, path, false);
  EXPECT_EQ(ReadBytes(path), kTwoRowsCsv);
}

}  // namespace
}  // namespace kelvora
