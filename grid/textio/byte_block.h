#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace kelvora {

// A growing run of bytes, cheaper per cell than a string's append: the few
// bytes of a usual cell are copied inline, without a call.
class TByteBlock {
 public:
  explicit TByteBlock(std::size_t capacity)
      : data_(std::make_unique_for_overwrite<char[]>(capacity)), capacity_(capacity) {}

  std::size_t Size() const { return size_; }
  std::string_view View() const { return {data_.get(), size_}; }
  void Clear() { size_ = 0; }
  void Reserve(std::size_t more) {
    if (capacity_ - size_ < more) Grow(more);
  }
  // The end of the bytes, and a new end written up to: room reserved first.
  char* End() { return data_.get() + size_; }
  void MoveEnd(const char* end) { size_ = static_cast<std::size_t>(end - data_.get()); }
  // These need the room reserved first.
  void PutByte(char c) { data_[size_++] = c; }
  // 1 to 8 bytes, as two overlapping copies of a fixed size.
  void PutShort(std::string_view text) {
    char* to = data_.get() + size_;
    const char* from = text.data();
    const std::size_t n = text.size();
    if (n >= 4) {
      std::memcpy(to, from, 4);
      std::memcpy(to + n - 4, from + n - 4, 4);
    } else {
      to[0] = from[0];
      to[n / 2] = from[n / 2];
      to[n - 1] = from[n - 1];
    }
    size_ += n;
  }
  // A short text held in the low `n` bytes of a word; 8 bytes of room must
  // be reserved, as the whole word is stored.
  void PutWord(std::uint64_t word, std::size_t n) {
    std::memcpy(data_.get() + size_, &word, sizeof word);
    size_ += n;
  }

  void Append(std::string_view text) {
    Reserve(text.size());
    std::memcpy(data_.get() + size_, text.data(), text.size());
    size_ += text.size();
  }

 private:
  void Grow(std::size_t more) {
    const std::size_t capacity = std::max(2 * capacity_, size_ + more);
    auto grown = std::make_unique_for_overwrite<char[]>(capacity);
    std::memcpy(grown.get(), data_.get(), size_);
    data_ = std::move(grown);
    capacity_ = capacity;
  }

  std::unique_ptr<char[]> data_;
  std::size_t capacity_;
  std::size_t size_ = 0;
};

}  // namespace kelvora
