#include "toolkit/file_blocks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "toolkit/exceptions.h"

namespace kelvora {
namespace {

std::int64_t ModifiedNanoseconds(const struct stat& status) {
  return std::int64_t{status.st_mtim.tv_sec} * 1'000'000'000 + status.st_mtim.tv_nsec;
}

[[noreturn]] void Refuse(int fd, const std::string& why) {
  ::close(fd);
  throw EInOutError(ioAccessDenied, why);
}

}  // namespace

// Without O_NONBLOCK, opening a pipe that nobody writes to waits for ever.
TFileBlocks::TFileBlocks(const std::string& fileName) : block_(kBlockBytes, '\0') {
  fd_ = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) throw EInOutError::FromErrno(errno);
  struct stat status {};
  if (::fstat(fd_, &status) != 0) Refuse(fd_, InOutMessage(ioAccessDenied));
  if (S_ISDIR(status.st_mode)) Refuse(fd_, "it is a folder, not a file");
  if (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode)) Refuse(fd_, "it is a pipe, not a file");
  ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
  regular_ = S_ISREG(status.st_mode);
  size_ = regular_ ? status.st_size : 0;
  modified_ = ModifiedNanoseconds(status);
}

TFileBlocks::~TFileBlocks() {
  if (fd_ >= 0) ::close(fd_);
}

std::string_view TFileBlocks::Next() {
  for (;;) {
    const ssize_t n = ::read(fd_, block_.data(), block_.size());
    if (n >= 0) {
      read_ += n;
      return {block_.data(), static_cast<std::size_t>(n)};
    }
    if (errno != EINTR) throw EInOutError::FromErrno(errno);
  }
}

// A file written to while it was read has another size or time now, or
// gave more or fewer bytes than it had.
bool TFileBlocks::ChangedSinceOpen() const {
  if (!regular_) return false;
  struct stat status {};
  if (::fstat(fd_, &status) != 0) return true;
  return status.st_size != size_ || read_ != size_ || ModifiedNanoseconds(status) != modified_;
}

}  // namespace kelvora
