// A save that is killed, or that runs out of disk, must leave the file it
// replaces either as it was or as it should become, byte for byte.

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "child_process.h"
#include "csv_test_files.h"
#include "fake_cell_source.h"
#include "grid/textio/csv_writer.h"
#include "grid/textio/message_pacer.h"
#include "toolkit/exceptions.h"
#include "toolkit/file_calls.h"
#include "toolkit/save_temporary.h"

namespace kelvora {
namespace {

using csv_test::ReadBytes;
using csv_test::Report;
using csv_test::RunInChild;
using csv_test::TFakeCellSource;
using csv_test::TTestFolder;
using csv_test::WriteBytes;

// Rows of about a kilobyte: with writes cut to 4 KiB the save makes a couple
// of hundred system calls, most of them writes.
TFakeCellSource NewGrid(int rows) {
  TFakeCellSource grid;
  for (int r = 0; r < rows; ++r) grid.SetRow(r, {std::to_string(r), std::string(1000, static_cast<char>('a' + r % 26))});
  return grid;
}

std::string ExpectedCsv(int rows) {
  std::string csv;
  for (int r = 0; r < rows; ++r) csv += std::to_string(r) + "," + std::string(1000, static_cast<char>('a' + r % 26)) + "\r\n";
  return csv;
}

// The calls of one save, and where a child is to stop.
std::vector<TFileCall> recordedCalls;
std::size_t callsSoFar = 0;
std::size_t killAt = 0;

constexpr std::size_t kShortWrite = 4096;

std::size_t RecordCall(TFileCall call, std::size_t) {
  recordedCalls.push_back(call);
  return kShortWrite;
}

std::size_t KillAtChosenCall(TFileCall, std::size_t) {
  if (callsSoFar++ == killAt) std::raise(SIGKILL);
  return kShortWrite;
}

// Spreads `count` moments over calls 0 .. calls.size() (the last one: after
// the save returned), keeping every call that is not a write: those are the
// moments around the sync and the rename.
std::vector<std::size_t> KillMoments(const std::vector<TFileCall>& calls, std::size_t count) {
  std::vector<std::size_t> moments;
  std::vector<std::size_t> writes;
  for (std::size_t i = 0; i < calls.size(); ++i)
    (calls[i] == TFileCall::Write ? writes : moments).push_back(i);
  moments.push_back(calls.size());
  const std::size_t wanted = count - moments.size();
  for (std::size_t k = 0; k < wanted && k < writes.size(); ++k)
    moments.push_back(writes[k * writes.size() / wanted]);
  std::sort(moments.begin(), moments.end());
  return moments;
}

std::size_t IndexOf(const std::vector<TFileCall>& calls, TFileCall call) {
  return static_cast<std::size_t>(std::find(calls.begin(), calls.end(), call) - calls.begin());
}

// What a folder may hold after a killed save: the target, and at most the
// hidden temporary file under its one name.
void ExpectOnlyTargetAndTemporary(const TTestFolder& folder, const std::string& target) {
  const QString temporary = QString::fromStdString(SaveTemporaryName(target)).section('/', -1);
  for (const QString& entry : folder.Entries())
    EXPECT_TRUE(entry == "out.csv" || entry == temporary) << entry.toStdString();
}

// The writer hands the window its messages when a frame's time has passed,
// and writes what it holds first; a clock that stands still keeps the calls of
// every run the same, however loaded the machine.
void WriteWithoutMessages(TFakeCellSource& grid, const std::string& target) {
  TMessagePacer stillClock([] { return TMessagePacer::TimePoint{}; });
  WriteCsvFile(grid, {}, target, false, stillClock);
}

TEST(CsvCrashSafety, KilledAtTwoHundredMomentsLeavesOldOrNewFileWhole) {
  TTestFolder folder;
  const std::string target = folder.Path("out.csv");
  std::string oldCsv;
  for (int r = 0; r < 3000; ++r) oldCsv += "old," + std::to_string(r) + "\r\n";
  constexpr int kRows = 900;
  const std::string newCsv = ExpectedCsv(kRows);
  TFakeCellSource grid = NewGrid(kRows);

  WriteBytes(target, oldCsv);
  SetFileCallHook(RecordCall);
  WriteWithoutMessages(grid, target);
  SetFileCallHook(nullptr);
  const std::vector<TFileCall> calls = recordedCalls;
  ASSERT_EQ(ReadBytes(target), newCsv);
  const std::size_t rename = IndexOf(calls, TFileCall::Rename);
  ASSERT_LT(rename, calls.size());
  ASSERT_LT(IndexOf(calls, TFileCall::Sync), rename);
  ASSERT_GE(calls.size() + 1, 200u);

  const std::vector<std::size_t> moments = KillMoments(calls, 200);
  ASSERT_EQ(moments.size(), 200u);
  for (const std::size_t moment : moments) {
    SCOPED_TRACE("killed before call " + std::to_string(moment) + " of " + std::to_string(calls.size()));
    WriteBytes(target, oldCsv);
    const auto child = RunInChild([&](int) {
      callsSoFar = 0;
      killAt = moment;
      SetFileCallHook(KillAtChosenCall);
      WriteWithoutMessages(grid, target);
      std::raise(SIGKILL);  // the moment after the save returned
      return 0;
    });
    ASSERT_TRUE(child.KilledBy(SIGKILL)) << "status " << child.status;
    const std::string left = ReadBytes(target);
    // Up to the rename the old file stands; from then on the new one.
    const std::string& expected = moment <= rename ? oldCsv : newCsv;
    EXPECT_TRUE(left == expected) << left.size() << " bytes, expected " << expected.size();
    ExpectOnlyTargetAndTemporary(folder, target);
  }

  // The next save takes the leftover temporary file over; nothing stays.
  WriteWithoutMessages(grid, target);
  EXPECT_EQ(ReadBytes(target), newCsv);
  EXPECT_EQ(folder.Entries(), QStringList{"out.csv"});
}

ino_t InodeOf(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

// A file with a second name is written in place, after the whole new text
// stands in a recovery file beside it. Killed at any moment, the file is
// still one file under both names, and it holds the old text or the new,
// or else the recovery file holds the whole new text.
TEST(CsvCrashSafety, KilledWhileSavingInPlaceLeavesOldNewOrTheRecoveryFileWhole) {
  TTestFolder folder;
  const std::string target = folder.Path("out.csv");
  const std::string other = folder.Path("other-name.csv");
  const std::string recovery = target + ".recovery";
  std::string oldCsv;
  for (int r = 0; r < 3000; ++r) oldCsv += "old," + std::to_string(r) + "\r\n";
  constexpr int kRows = 900;
  const std::string newCsv = ExpectedCsv(kRows);
  TFakeCellSource grid = NewGrid(kRows);

  WriteBytes(target, oldCsv);
  ASSERT_EQ(::link(target.c_str(), other.c_str()), 0);
  const ino_t inode = InodeOf(target);
  recordedCalls.clear();
  SetFileCallHook(RecordCall);
  WriteWithoutMessages(grid, target);
  SetFileCallHook(nullptr);
  const std::vector<TFileCall> calls = recordedCalls;
  ASSERT_EQ(ReadBytes(other), newCsv);
  ASSERT_EQ(InodeOf(target), inode);
  ASSERT_EQ(folder.Entries(), (QStringList{"other-name.csv", "out.csv"}));

  for (const std::size_t moment : KillMoments(calls, 200)) {
    SCOPED_TRACE("killed before call " + std::to_string(moment) + " of " + std::to_string(calls.size()));
    WriteBytes(target, oldCsv);
    ::unlink(recovery.c_str());
    const auto child = RunInChild([&](int) {
      callsSoFar = 0;
      killAt = moment;
      SetFileCallHook(KillAtChosenCall);
      WriteWithoutMessages(grid, target);
      std::raise(SIGKILL);
      return 0;
    });
    ASSERT_TRUE(child.KilledBy(SIGKILL)) << "status " << child.status;
    EXPECT_EQ(InodeOf(target), inode);
    EXPECT_EQ(InodeOf(other), inode);
    const std::string left = ReadBytes(target);
    const bool recovered = std::filesystem::exists(recovery);
    if (recovered) {
      EXPECT_TRUE(ReadBytes(recovery) == newCsv) << "a recovery file that is not whole";
    }
    EXPECT_TRUE(left == oldCsv || left == newCsv || recovered) << left.size() << " bytes and no recovery file";
    for (const QString& entry : folder.Entries())
      EXPECT_TRUE(entry == "out.csv" || entry == "other-name.csv" || entry == "out.csv.recovery" ||
                  entry == QString::fromStdString(SaveTemporaryName(target)).section('/', -1))
          << entry.toStdString();
  }
}

TEST(CsvCrashSafety, LeftoverTemporaryFileIsHiddenAndNeverTakenForTheTarget) {
  TTestFolder folder;
  const std::string target = folder.Path("out.csv");
  const std::string temporary = SaveTemporaryName(target);
  const QString name = QString::fromStdString(temporary).section('/', -1);
  EXPECT_TRUE(name.startsWith('.'));
  EXPECT_FALSE(name.endsWith(".csv"));
  // A leftover bigger than the new text must not leave its tail behind.
  WriteBytes(temporary, std::string(100000, 'z'));
  TFakeCellSource grid = NewGrid(3);
  WriteCsvFile(grid, {}, target, false);
  EXPECT_EQ(ReadBytes(target), ExpectedCsv(3));
  EXPECT_EQ(folder.Entries(), QStringList{"out.csv"});
}

// --- a disk that fills up half-way -----------------------------------------

// Gives the child a mount table of its own, where a small file system can be
// mounted and vanishes with the child. Root may do it directly; another user
// where the system lets it make a user namespace.
bool EnterPrivateMounts() {
  if (::unshare(CLONE_NEWNS) != 0) {
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
    std::ofstream("/proc/self/setgroups") << "deny";
    std::ofstream("/proc/self/uid_map") << "0 " << uid << " 1";
    std::ofstream("/proc/self/gid_map") << "0 " << gid << " 1";
  }
  return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

constexpr int kCannotMount = 77;

// Runs in the child, on a 1 MiB file system holding a 300 kB file.
int SaveOntoFullDisk(int reportFd, const std::string& dir) {
  if (!EnterPrivateMounts() || ::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=1m") != 0)
    return kCannotMount;
  auto check = [&](bool ok, const std::string& what) {
    if (!ok) Report(reportFd, what);
  };
  const std::string target = dir + "/out.csv";
  const std::string oldCsv(300'000, 'o');
  WriteBytes(target, oldCsv);
  struct statvfs before {};
  ::statvfs(dir.c_str(), &before);

  TFakeCellSource big = NewGrid(2000);  // 2 MB: the disk fills half-way
  std::string message = "no error";
  try {
    WriteCsvFile(big, {}, target, false);
  } catch (const EInOutError& error) {
    message = error.Message();
  }
  check(message == "Cannot write file " + target + ": Disk full", "the full disk raised: " + message);
  check(ReadBytes(target) == oldCsv, "the old file changed");
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    check(entry.path() == target, "left behind: " + entry.path().string());
  struct statvfs after {};
  ::statvfs(dir.c_str(), &after);
  check(after.f_bfree == before.f_bfree, "the space of the failed save was not given back");

  TFakeCellSource small = NewGrid(100);
  WriteCsvFile(small, {}, target, false);
  check(ReadBytes(target) == ExpectedCsv(100), "a save that fits did not succeed afterwards");
  ::umount(dir.c_str());
  return 0;
}

TEST(CsvCrashSafety, DiskFullHalfWayLeavesTheOldFileAndNoTemporaryFile) {
  TTestFolder folder;
  const std::string dir = folder.Path("small-disk");
  ASSERT_EQ(::mkdir(dir.c_str(), 0700), 0);
  const auto child = RunInChild([&](int reportFd) { return SaveOntoFullDisk(reportFd, dir); });
  if (child.ExitedWith(kCannotMount))
    GTEST_SKIP() << "this machine lets no test mount a small file system (needs root or user namespaces)";
  ASSERT_TRUE(child.ExitedWith(0)) << "status " << child.status;
  EXPECT_EQ(child.report, "");
}

// Runs in the child: a file on a file system mounted read-only.
int SaveOntoReadOnlyMount(int reportFd, const std::string& dir) {
  if (!EnterPrivateMounts() || ::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=1m") != 0) return kCannotMount;
  const std::string target = dir + "/out.csv";
  WriteBytes(target, "old\r\n");
  if (::mount(nullptr, dir.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) return kCannotMount;
  TFakeCellSource grid = NewGrid(10);
  std::string message = "no error";
  try {
    WriteCsvFile(grid, {}, target, false);
  } catch (const std::exception& error) {
    message = error.what();
  }
  if (message != "Cannot create file " + target) Report(reportFd, "the read-only mount raised: " + message);
  if (ReadBytes(target) != "old\r\n") Report(reportFd, "the old file changed");
  return 0;
}

// Runs a save in a child that mounts a file system of its own on a fresh
// folder; the save passes when the child reports nothing.
void ExpectCleanSaveOnOwnMount(const char* folderName, int (*save)(int reportFd, const std::string& dir)) {
  TTestFolder folder;
  const std::string dir = folder.Path(folderName);
  ASSERT_EQ(::mkdir(dir.c_str(), 0700), 0);
  const auto child = RunInChild([&](int reportFd) { return save(reportFd, dir); });
  if (child.ExitedWith(kCannotMount)) GTEST_SKIP() << "this machine lets no test mount a file system";
  ASSERT_TRUE(child.ExitedWith(0)) << "status " << child.status;
  EXPECT_EQ(child.report, "");
}

TEST(CsvCrashSafety, AReadOnlyMountIsNamedAndTheOldFileStays) {
  ExpectCleanSaveOnOwnMount("read-only", SaveOntoReadOnlyMount);
}

// Runs in the child: a file with a second name, saved in place, on a disk
// where the whole new text fits beside it but the file cannot grow to it.
int SaveInPlaceOntoFullDisk(int reportFd, const std::string& dir) {
  if (!EnterPrivateMounts() || ::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=1m") != 0) return kCannotMount;
  const std::string target = dir + "/out.csv";
  const std::string recovery = target + ".recovery";
  const std::string oldCsv(100'000, 'o');
  WriteBytes(target, oldCsv);
  if (::link(target.c_str(), (dir + "/other.csv").c_str()) != 0) return kCannotMount;
  TFakeCellSource grid = NewGrid(600);  // 600 kB
  std::string message = "no error";
  try {
    WriteCsvFile(grid, {}, target, false);
  } catch (const EInOutError& error) {
    message = error.Message();
  }
  const std::string expected =
      "Cannot write file " + target + ": Disk full. The saved text is kept whole in " + recovery;
  if (message != expected) Report(reportFd, "the full disk raised: " + message);
  if (ReadBytes(recovery) != ExpectedCsv(600)) Report(reportFd, "the recovery file is not the whole new text");
  if (InodeOf(target) != InodeOf(dir + "/other.csv")) Report(reportFd, "the file lost its second name");
  ::umount(dir.c_str());
  return 0;
}

TEST(CsvCrashSafety, DiskFullWhileSavingInPlacePointsToTheWholeRecoveryFile) {
  ExpectCleanSaveOnOwnMount("small-disk", SaveInPlaceOntoFullDisk);
}

}  // namespace
}  // namespace kelvora
