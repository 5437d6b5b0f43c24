// A saved file stays the person's file: its other names, owner and group,
// mode, extended attributes and access list are what they were.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>

#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "toolkit/text_file.h"

namespace kelvora {
namespace {

constexpr uid_t kNobody = 65534;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct stat StatOf(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st;
}

std::string Attribute(const std::string& path, const char* name) {
  char value[256];
  const ssize_t n = ::getxattr(path.c_str(), name, value, sizeof value);
  return n < 0 ? std::string("(none)") : std::string(value, static_cast<std::size_t>(n));
}

// An access list that lets the user "nobody" read the file: owner rw, that
// user r, group r, mask r, others nothing, in the system's own layout.
std::string ReadableByNobody() {
  std::string acl;
  const auto put = [&acl](std::uint16_t tag, std::uint16_t perm, std::uint32_t id) {
    acl.append(reinterpret_cast<const char*>(&tag), 2);
    acl.append(reinterpret_cast<const char*>(&perm), 2);
    acl.append(reinterpret_cast<const char*>(&id), 4);
  };
  const std::uint32_t version = 2;
  acl.append(reinterpret_cast<const char*>(&version), 4);
  put(0x01, 6, 0xFFFFFFFF);
  put(0x02, 4, kNobody);
  put(0x04, 4, 0xFFFFFFFF);
  put(0x10, 4, 0xFFFFFFFF);
  put(0x20, 0, 0xFFFFFFFF);
  return acl;
}

void Save(const std::string& path, const std::string& text) {
  TTextWriter writer;
  writer.AssignFile(path);
  writer.RewriteReplacing();
  writer.Write(text);
  writer.Close();
}

enum TChildSave { csSaved = 0, csFailed = 1, csUnavailable = 2 };

// Saves as the user "nobody" in a child process. Unavailable when there is
// no such user to become here, or the folder's path is closed to that user.
TChildSave SaveAsNobody(const std::string& path, const std::string& text) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) _exit(csUnavailable);
    if (::access(path.substr(0, path.rfind('/')).c_str(), W_OK | X_OK) != 0) _exit(csUnavailable);
    try {
      Save(path, text);
    } catch (...) {
      _exit(csFailed);
    }
    _exit(csSaved);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? static_cast<TChildSave>(WEXITSTATUS(status)) : csFailed;
}

struct TIdentityCase {
  const char* name;
  // Makes the old file what the case needs; answers why it cannot, or "".
  std::function<std::string(const std::string& file, const std::string& folder)> prepare;
  std::function<void(const std::string& file, const struct stat& before)> check;
  bool asNobody = false;
};

std::vector<TIdentityCase> IdentityCases() {
  return {
      {"HardLinkKeepsItsOtherName",
       [](const std::string& file, const std::string& folder) {
         return ::link(file.c_str(), (folder + "/other.csv").c_str()) == 0 ? "" : "no hard links here";
       },
       [](const std::string& file, const struct stat& before) {
         EXPECT_EQ(StatOf(file).st_ino, before.st_ino);
         EXPECT_EQ(StatOf(file).st_nlink, 2u);
         EXPECT_EQ(ReadBytes(file.substr(0, file.rfind('/')) + "/other.csv"), "new\r\n");
       }},
      {"ModeIsKept",
       [](const std::string& file, const std::string&) { return ::chmod(file.c_str(), 0604) == 0 ? "" : "chmod"; },
       [](const std::string& file, const struct stat&) { EXPECT_EQ(StatOf(file).st_mode & 07777, 0604u); }},
      {"OwnerAndGroupAreKeptByRoot",
       [](const std::string& file, const std::string&) {
         if (::geteuid() != 0) return "only root gives files away";
         return ::chown(file.c_str(), kNobody, kNobody) == 0 ? "" : "chown";
       },
       [](const std::string& file, const struct stat&) {
         EXPECT_EQ(StatOf(file).st_uid, kNobody);
         EXPECT_EQ(StatOf(file).st_gid, kNobody);
       }},
      {"ExtendedAttributeIsKept",
       [](const std::string& file, const std::string&) {
         return ::setxattr(file.c_str(), "user.kelvora.note", "kept", 4, 0) == 0 ? "" : "no user attributes here";
       },
       [](const std::string& file, const struct stat&) { EXPECT_EQ(Attribute(file, "user.kelvora.note"), "kept"); }},
      {"AccessListIsKept",
       [](const std::string& file, const std::string&) {
         const std::string acl = ReadableByNobody();
         return ::setxattr(file.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) == 0
                    ? ""
                    : "no access lists here";
       },
       [](const std::string& file, const struct stat&) {
         EXPECT_EQ(Attribute(file, "system.posix_acl_access"), ReadableByNobody());
       }},
      {"AnotherUsersWritableFileKeepsItsOwner",
       [](const std::string& file, const std::string& folder) {
         if (::geteuid() != 0) return "needs root to become another user";
         return ::chmod(file.c_str(), 0666) == 0 && ::chmod(folder.c_str(), 0777) == 0 ? "" : "chmod";
       },
       [](const std::string& file, const struct stat& before) {
         EXPECT_EQ(StatOf(file).st_uid, before.st_uid);
         EXPECT_EQ(StatOf(file).st_ino, before.st_ino);
       },
       true},
  };
}

class SaveIdentity : public ::testing::TestWithParam<TIdentityCase> {};

TEST_P(SaveIdentity, TheSavedFileIsStillTheSameFile) {
  const TIdentityCase& c = GetParam();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string folder = dir.path().toStdString();
  const std::string file = folder + "/out.csv";
  std::ofstream(file, std::ios::binary) << "old\r\n";
  if (const std::string why = c.prepare(file, folder); !why.empty()) GTEST_SKIP() << why;
  const QStringList entries = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  const struct stat before = StatOf(file);

  if (c.asNobody) {
    const TChildSave saved = SaveAsNobody(file, "new\r\n");
    if (saved == csUnavailable) GTEST_SKIP() << "no unprivileged user can reach the folder here";
    ASSERT_EQ(saved, csSaved);
  } else {
    Save(file, "new\r\n");
  }
  EXPECT_EQ(ReadBytes(file), "new\r\n");
  c.check(file, before);
  // Neither a temporary nor a recovery file stays.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), entries);
}

INSTANTIATE_TEST_SUITE_P(Table, SaveIdentity, ::testing::ValuesIn(IdentityCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelvora
