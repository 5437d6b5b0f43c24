#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvora {

// A file read in blocks of bytes, for readers that take a file whole
// whatever its size. Opening never waits: a pipe, a socket or a folder is
// refused with EInOutError, since reading one would hang the window or
// mean nothing; devices are read as they come. A regular file that changes
// while it is read is noticed at the end (ChangedSinceOpen).
class TFileBlocks {
 public:
  static constexpr std::size_t kBlockBytes = std::size_t{256} << 10;

  explicit TFileBlocks(const std::string& fileName);
  ~TFileBlocks();
  TFileBlocks(const TFileBlocks&) = delete;
  TFileBlocks& operator=(const TFileBlocks&) = delete;

  // The next block; empty at the end. Raises EInOutError on a read error.
  std::string_view Next();
  // The size when opened; 0 for a device.
  std::int64_t Size() const { return size_; }
  std::int64_t BytesRead() const { return read_; }
  bool ChangedSinceOpen() const;

 private:
  int fd_ = -1;
  std::int64_t size_ = 0;
  std::int64_t read_ = 0;
  bool regular_ = false;
  std::int64_t modified_ = 0;  // nanoseconds
  std::string block_;
};

}  // namespace kelvora
