#pragma once

// Tests on the bytes of a short text held in one word (on a little-endian
// machine: its first byte lowest), all bytes at once: the writers test each
// usual cell so, rather than byte by byte.
#include <cassert>
#include <cstdint>

namespace kelvora {

inline constexpr std::uint64_t kLowBits = 0x0101010101010101u;
inline constexpr std::uint64_t kHighBits = kLowBits << 7;

inline std::uint64_t Repeated(char c) { return kLowBits * static_cast<unsigned char>(c); }

// A high bit set in each byte that is zero. Borrows run only upwards, so the
// lowest zero byte is always marked and no byte below it is.
inline std::uint64_t ZeroBytes(std::uint64_t v) { return (v - kLowBits) & ~v & kHighBits; }

// Whether a byte is below `limit` (at most 128). Borrows may mark bytes
// above the lowest such too, so only whether any is marked is exact.
inline bool AnyByteBelow(std::uint64_t v, unsigned char limit) {
  assert(limit <= 128);
  return ((v - kLowBits * limit) & ~v & kHighBits) != 0;
}

// Whether a byte of a short text's word is a or b. The word's bytes past the
// text are zero, and neither byte sought ever is (the delimiter written is
// never byte 0), so they match neither; and with no byte matching, no byte
// is marked at all.
inline bool WordHoldsEither(std::uint64_t word, char a, char b) {
  assert(a != '\0' && b != '\0');
  return (ZeroBytes(word ^ Repeated(a)) | ZeroBytes(word ^ Repeated(b))) != 0;
}

}  // namespace kelvora
