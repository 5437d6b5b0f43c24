#include "toolkit/paths.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>

namespace kelvora {
namespace {

struct PathCase {
  std::string path;
  std::string dir;
  std::string name;
};

class PathSplitting : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathSplitting, GivesFolderAndBareName) {
  EXPECT_EQ(ExtractFileDir(GetParam().path), GetParam().dir);
  EXPECT_EQ(ExtractFileName(GetParam().path), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PathSplitting,
    ::testing::Values(
        // Linux paths
        PathCase{"/usr/local/bin/kelvora", "/usr/local/bin", "kelvora"},
        PathCase{"/kelvora", "/", "kelvora"},
        PathCase{"/", "/", ""},
        PathCase{"kelvora", "", "kelvora"},
        PathCase{"", "", ""},
        PathCase{"folder/", "folder", ""},
        PathCase{"a//b", "a//", "b"},
        PathCase{"//b", "//", "b"},
        PathCase{"./news.txt", ".", "news.txt"},
        // Colons and backslashes are ordinary in Linux names.
        PathCase{"/home/u/a:b.txt", "/home/u", "a:b.txt"},
        PathCase{"/home/u/back\\slash.txt", "/home/u", "back\\slash.txt"},
        PathCase{"notes\\x.txt", "", "notes\\x.txt"},
        PathCase{"ab:c/d", "ab:c", "d"},
        PathCase{"1:x", "", "1:x"},
        // Names with a drive
        PathCase{"C:\\prog.exe", "C:\\", "prog.exe"},
        PathCase{"C:\\Program Files\\Kelvora\\kelvora.exe", "C:\\Program Files\\Kelvora", "kelvora.exe"},
        PathCase{"C:prog.exe", "C:", "prog.exe"},
        PathCase{"D:", "D:", ""},
        PathCase{"c:/x/y.txt", "c:/x", "y.txt"},
        PathCase{"C:\\a/b", "C:\\a", "b"},
        PathCase{"C:\\dir\\", "C:\\dir", ""},
        PathCase{"C:\\\\x", "C:\\\\", "x"}));

TEST(ExecutablePath, IsTheRunningProgram) {
  const std::string path = ExecutablePath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), '/');
  EXPECT_EQ(ExtractFileName(path), "tests_toolkit");
  EXPECT_EQ(QFileInfo(QString::fromStdString(path)).canonicalFilePath(),
            QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath());
}

}  // namespace
}  // namespace kelvora
