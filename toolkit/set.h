#pragma once

#include <cstdint>
#include <initializer_list>

namespace kelvora {

// A small set of enumeration values, kept as bits. The enumerations it holds
// have fewer than 64 values, counted from 0.
template <typename Enum>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<Enum> values) {
    for (Enum v : values) insert(v);
  }

  constexpr bool contains(Enum v) const { return (bits_ & Bit(v)) != 0; }
  constexpr TSet& insert(Enum v) { bits_ |= Bit(v); return *this; }
  constexpr TSet& erase(Enum v) { bits_ &= ~Bit(v); return *this; }
  constexpr bool empty() const { return bits_ == 0; }
  constexpr void clear() { bits_ = 0; }

  constexpr TSet operator|(TSet other) const { return FromBits(bits_ | other.bits_); }
  constexpr TSet operator&(TSet other) const { return FromBits(bits_ & other.bits_); }
  constexpr TSet operator-(TSet other) const { return FromBits(bits_ & ~other.bits_); }
  constexpr bool operator==(const TSet&) const = default;

  constexpr std::uint64_t bits() const { return bits_; }
  static constexpr TSet FromBits(std::uint64_t bits) { TSet s; s.bits_ = bits; return s; }

 private:
  static constexpr std::uint64_t Bit(Enum v) { return std::uint64_t{1} << static_cast<unsigned>(v); }
  std::uint64_t bits_ = 0;
};

}  // namespace kelvora
