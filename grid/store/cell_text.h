#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "grid/store/packed_text.h"

namespace kelvora {

// One cell's text in eight bytes. A grid of dates holds millions of texts of
// one to four bytes, so texts of up to seven bytes live inside the cell itself
// and cost no allocation; longer ones live in a heap block of their own.
//
// The low bit tells the two apart. An inline text is held in its packed form
// (TPackedText). A long text is a pointer to { size_t length; bytes }, which
// is even because the block is aligned. The empty text is the packed text of
// length zero, so a cell that was never written reads as empty.
class TCellText {
 public:
  static constexpr std::size_t kInlineCapacity = TPackedText::kCapacity;

  TCellText() noexcept = default;
  explicit TCellText(std::string_view text) { Assign(text); }
  TCellText(TCellText&& other) noexcept : word_(other.word_) { other.word_ = kEmptyWord; }
  TCellText& operator=(TCellText&& other) noexcept;
  TCellText(const TCellText&) = delete;
  TCellText& operator=(const TCellText&) = delete;
  ~TCellText() { Release(); }

  // The word of the empty text, and of a cell never written.
  static constexpr std::uint64_t kEmptyWord = TPackedText::kEmpty;

  bool Empty() const noexcept { return word_ == kEmptyWord; }
  // The eight bytes as they are: for an inline text, its packed form, which
  // writers that walk millions of short texts read as it stands.
  std::uint64_t Word() const noexcept { return word_; }
  bool IsInline() const noexcept { return TPackedText::IsPacked(word_); }

  std::string_view View() const noexcept {
    if (IsInline()) {
      return {reinterpret_cast<const char*>(&word_) + 1, TPackedText::Length(word_)};
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

  static std::uint64_t InlineWord(std::string_view text) noexcept { return TPackedText::Pack(text); }
  static std::uint64_t LongWord(std::string_view text);
  void AssignWithHeap(std::string_view text);
  const char* LongBlock() const noexcept { return reinterpret_cast<const char*>(word_); }
  void Release() noexcept;

  std::uint64_t word_ = kEmptyWord;
};

static_assert(sizeof(TCellText) == 8);

}  // namespace kelvora
