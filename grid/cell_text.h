#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace kelvora {

// One cell's text in eight bytes. A grid of dates holds millions of texts of
// one to four bytes, so texts of up to seven bytes live inside the cell itself
// and cost no allocation; longer ones live in a heap block of their own.
//
// The low byte tells the two apart. An inline text has it odd: its length
// shifted left by one, plus one, with the bytes in the seven bytes above and
// zeros after them. A long text is a pointer to { size_t length; bytes },
// which is even because the block is aligned. The empty text is the inline
// text of length zero, so a cell that was never written reads as empty.
class TCellText {
 public:
  static constexpr std::size_t kInlineCapacity = 7;

  TCellText() noexcept = default;
  explicit TCellText(std::string_view text) { Assign(text); }
  TCellText(TCellText&& other) noexcept : word_(other.word_) { other.word_ = kEmptyWord; }
  TCellText& operator=(TCellText&& other) noexcept;
  TCellText(const TCellText&) = delete;
  TCellText& operator=(const TCellText&) = delete;
  ~TCellText() { Release(); }

  // The word of the empty text, and of a cell never written.
  static constexpr std::uint64_t kEmptyWord = 1;

  bool Empty() const noexcept { return word_ == kEmptyWord; }
  // The eight bytes as they are. When odd, they are the whole text: the
  // length times two plus one in the low byte, the bytes above it, zeros
  // after them; writers that walk millions of short texts read them so.
  std::uint64_t Word() const noexcept { return word_; }
  bool IsInline() const noexcept { return (word_ & 1u) != 0; }

  std::string_view View() const noexcept {
    if (IsInline()) {
      return {reinterpret_cast<const char*>(&word_) + 1, static_cast<std::size_t>((word_ & 0xFFu) >> 1)};
    }
    const char* block = LongBlock();
    std::size_t length;
    std::memcpy(&length, block, sizeof length);
    return {block + sizeof length, length};
  }

  // Safe when the text is a view of this very cell: the new value is built
  // before the old one is let go, and on a failed allocation the old value stays.
  void Assign(std::string_view text) {
    // Short over short is by far the commonest write, and needs no call.
    if (text.size() <= kInlineCapacity && IsInline()) {
      word_ = InlineWord(text);
    } else {
      AssignWithHeap(text);
    }
  }
  void Clear() noexcept;

  // Whether the eight bytes hold a value Assign could have produced.
  bool WellFormed() const noexcept;

 private:
  static_assert(std::endian::native == std::endian::little, "the tag byte must be the first byte in memory");
  static_assert(sizeof(void*) == sizeof(std::uint64_t), "a long text is a pointer in the cell's eight bytes");

  static std::uint64_t InlineWord(std::string_view text) noexcept {
    std::uint64_t word = (static_cast<std::uint64_t>(text.size()) << 1) | 1u;
    for (std::size_t i = 0; i < text.size(); ++i) {
      word |= static_cast<std::uint64_t>(static_cast<unsigned char>(text[i])) << (8 * (i + 1));
    }
    return word;
  }
  static std::uint64_t LongWord(std::string_view text);
  void AssignWithHeap(std::string_view text);
  const char* LongBlock() const noexcept { return reinterpret_cast<const char*>(word_); }
  void Release() noexcept;

  std::uint64_t word_ = kEmptyWord;
};

static_assert(sizeof(TCellText) == 8);

}  // namespace kelvora
