#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kelvora {

// The packed form of a short text: one 64-bit word whose low byte is the
// text's length (0 to 7) times two plus one, whose next bytes are the text's
// bytes, the first lowest, and whose remaining bytes are zero. So equal texts
// have equal words, the low bit marks a packed word (a pointer, being
// aligned, never has it), and the empty text is the word 1.
//
// The cell store keeps its short texts in this form and hands whole rows of
// them to writers and measurers, which test and copy a text with a few word
// operations. Every reader and maker of the form goes through here.
struct TPackedText {
  static constexpr std::size_t kCapacity = 7;
  static constexpr std::uint64_t kEmpty = 1;

  static constexpr bool IsPacked(std::uint64_t word) noexcept { return (word & 1u) != 0; }
  static constexpr std::size_t Length(std::uint64_t word) noexcept { return (word & 0xFFu) >> 1; }
  // The text's bytes alone, the first in the lowest byte, zeros above them.
  static constexpr std::uint64_t Bytes(std::uint64_t word) noexcept { return word >> 8; }

  // The text must be at most kCapacity bytes long.
  static constexpr std::uint64_t Pack(std::string_view text) noexcept {
    std::uint64_t word = (static_cast<std::uint64_t>(text.size()) << 1) | 1u;
    for (std::size_t i = 0; i < text.size(); ++i)
      word |= static_cast<std::uint64_t>(static_cast<unsigned char>(text[i])) << (8 * (i + 1));
    return word;
  }

  // Whether a word is one that Pack could have made.
  static constexpr bool WellFormed(std::uint64_t word) noexcept {
    if (!IsPacked(word) || Length(word) > kCapacity) return false;
    const std::uint64_t usedBits = 8 * (Length(word) + 1);
    return usedBits == 64 || (word >> usedBits) == 0;
  }
};

}  // namespace kelvora
