#include "toolkit/save_temporary.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "toolkit/file_calls.h"

namespace kelvora {
namespace {

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Names are kept short enough that the suffix always fits a file name.
std::string HiddenStem(const std::string& target) {
  return FolderOf(target) + "/." + NameOf(target).substr(0, 200);
}

int OpenNoInterrupt(const std::string& path, int flags, mode_t mode) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

bool LockNow(int fd) {
  BeforeFileCall(TFileCall::Lock);
  int result;
  do {
    result = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

// The lock is on whatever file the name led to when it was opened; that
// must still be the file under the name, or a save that finished meanwhile
// has renamed it over its target. A file with a second name is someone's
// (a save cut off while it named its recovery file) and is never truncated.
bool StillNamed(int fd, const std::string& path) {
  struct stat own {}, named {};
  return ::fstat(fd, &own) == 0 && ::lstat(path.c_str(), &named) == 0 && S_ISREG(named.st_mode) &&
         own.st_dev == named.st_dev && own.st_ino == named.st_ino && own.st_nlink == 1;
}

enum class TClaim { Claimed, Busy, Failed };

// The shared name: new, or left by a killed save and taken over.
TClaim ClaimSharedName(const std::string& path, int& fd, int& err) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    BeforeFileCall(TFileCall::Open);
    fd = OpenNoInterrupt(path, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
      err = errno;
      // A link or another user's file in the way is passed by, not followed.
      return err == ELOOP || err == EACCES || err == EPERM ? TClaim::Busy : TClaim::Failed;
    }
    if (!LockNow(fd)) {
      ::close(fd);
      return TClaim::Busy;
    }
    if (StillNamed(fd, path) && ::ftruncate(fd, 0) == 0) return TClaim::Claimed;
    ::close(fd);
  }
  return TClaim::Busy;
}

// A name of its own beside a running save to the same target.
int ClaimUniqueName(const std::string& target, TSaveTemporary& out) {
  std::string path = HiddenStem(target) + ".XXXXXX";
  BeforeFileCall(TFileCall::Open);
  const int fd = ::mkostemp(path.data(), O_CLOEXEC);
  if (fd < 0) return errno;
  LockNow(fd);
  out.fd = fd;
  out.path = path;
  return 0;
}

}  // namespace

std::string SaveTemporaryName(const std::string& target) { return HiddenStem(target) + ".saving"; }

int ClaimSaveTemporary(const std::string& target, TSaveTemporary& out) {
  const std::string path = SaveTemporaryName(target);
  int fd = -1;
  int err = 0;
  switch (ClaimSharedName(path, fd, err)) {
    case TClaim::Claimed:
      out.fd = fd;
      out.path = path;
      return 0;
    case TClaim::Failed:
      return err;
    case TClaim::Busy:
      break;
  }
  return ClaimUniqueName(target, out);
}

}  // namespace kelvora
