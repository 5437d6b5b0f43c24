#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kelvora {

// Columns of dates, numbers and names repeat their short texts, so what is
// worked out for a text of up to seven bytes is remembered, keyed by the
// bytes and the length packed into one word; a newer text takes its slot
// over. Longer texts are worked out every time.
template <typename Value>
class TShortTextMemo {
 public:
  template <typename Work>
  Value Of(std::string_view text, Work work) {
    if (text.size() > 7) return work(text);
    std::uint64_t key = std::uint64_t{text.size()} << 56;
    for (std::size_t i = 0; i < text.size(); ++i) key |= std::uint64_t{static_cast<unsigned char>(text[i])} << (8 * i);
    TSlot& slot = slots_[(key * 0x9E3779B97F4A7C15ull) >> (64 - kSlotBits)];
    if (slot.Key != key) slot = {key, work(text)};
    return slot.Result;
  }

 private:
  static constexpr int kSlotBits = 12;
  struct TSlot {
    std::uint64_t Key = ~std::uint64_t{0};  // no text packs to this
    Value Result{};
  };
  std::array<TSlot, std::size_t{1} << kSlotBits> slots_;
};

}  // namespace kelvora
