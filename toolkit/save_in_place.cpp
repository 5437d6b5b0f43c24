#include "toolkit/save_in_place.h"

#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <vector>

#include "toolkit/file_calls.h"

namespace kelvora {
namespace {

constexpr std::size_t kCopyBlock = std::size_t{1} << 20;
constexpr int kRecoveryNames = 100;

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The attribute names of a file, each ended by a NUL byte, as the system
// lists them; empty when it has none or keeps none.
bool ListAttributes(const std::string& path, std::vector<char>& names) {
  for (int attempt = 0; attempt < 4; ++attempt) {
    const ssize_t size = ::listxattr(path.c_str(), nullptr, 0);
    if (size < 0) return errno == ENOTSUP;
    names.resize(static_cast<std::size_t>(size));
    if (size == 0) return true;
    const ssize_t got = ::listxattr(path.c_str(), names.data(), names.size());
    if (got >= 0) {
      names.resize(static_cast<std::size_t>(got));
      return true;
    }
    if (errno != ERANGE) return false;
  }
  return false;
}

bool CopyAttribute(const std::string& from, int to, const char* name) {
  const ssize_t size = ::getxattr(from.c_str(), name, nullptr, 0);
  if (size < 0) return false;
  std::vector<char> value(static_cast<std::size_t>(size));
  const ssize_t got = ::getxattr(from.c_str(), name, value.data(), value.size());
  if (got < 0) return false;
  return ::fsetxattr(to, name, value.data(), static_cast<std::size_t>(got), 0) == 0;
}

int SyncFolder(const std::string& path) {
  const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  BeforeFileCall(TFileCall::Sync);
  const int err = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
  ::close(fd);
  return err;
}

int WriteAll(int fd, const char* data, std::size_t size, off_t at) {
  while (size > 0) {
    const std::size_t allowed = BeforeFileCall(TFileCall::Write, size);
    const ssize_t n = ::pwrite(fd, data, allowed, at);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return EIO;
    data += n;
    size -= static_cast<std::size_t>(n);
    at += n;
  }
  return 0;
}

int CopyAll(int from, int to, off_t size) {
  const auto block = std::make_unique_for_overwrite<char[]>(kCopyBlock);
  for (off_t at = 0; at < size;) {
    const ssize_t n = ::pread(from, block.get(), kCopyBlock, at);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return EIO;  // the recovery file is shorter than written
    if (const int err = WriteAll(to, block.get(), static_cast<std::size_t>(n), at)) return err;
    at += n;
  }
  return 0;
}

}  // namespace

bool CopyExtendedAttributes(const std::string& from, int to) {
  std::vector<char> names;
  if (!ListAttributes(from, names)) return false;
  for (std::size_t at = 0; at < names.size();) {
    const char* name = names.data() + at;
    if (!CopyAttribute(from, to, name)) return false;
    at += std::char_traits<char>::length(name) + 1;
  }
  return true;
}

bool RenameWouldSplit(const struct stat& old, bool ownerKept) { return old.st_nlink > 1 || !ownerKept; }

std::string RecoveryName(const std::string& target, int attempt) {
  return target + ".recovery" + (attempt == 0 ? std::string() : "-" + std::to_string(attempt + 1));
}

// Never over a file already under the name. Where the file system cannot
// rename so, a link and the removal of the old name do it in two steps.
int MoveWithoutReplacing(const std::string& from, const std::string& to) {
  BeforeFileCall(TFileCall::Rename);
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  if (::link(from.c_str(), to.c_str()) != 0) return errno;
  BeforeFileCall(TFileCall::Remove);
  ::unlink(from.c_str());
  return 0;
}

int NameRecoveryFile(const std::string& temporary, const std::string& target, std::string& recovery) {
  for (int attempt = 0; attempt < kRecoveryNames; ++attempt) {
    const std::string name = RecoveryName(target, attempt);
    const int err = MoveWithoutReplacing(temporary, name);
    if (err == EEXIST) continue;
    if (err != 0) return err;
    if (const int synced = SyncFolder(target)) {
      ::rename(name.c_str(), temporary.c_str());  // back, so that the failure removes it
      return synced;
    }
    recovery = name;
    return 0;
  }
  return EEXIST;
}

int OverwriteInPlace(int from, off_t size, const std::string& target) {
  BeforeFileCall(TFileCall::Open);
  const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return errno;
  int err = CopyAll(from, fd, size);
  if (err == 0 && ::ftruncate(fd, size) != 0) err = errno;
  BeforeFileCall(TFileCall::Sync);
  if (err == 0 && ::fsync(fd) != 0) err = errno;
  BeforeFileCall(TFileCall::Close);
  if (::close(fd) != 0 && err == 0 && errno != EINTR) err = errno;
  return err;
}

}  // namespace kelvora
