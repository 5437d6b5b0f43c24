#pragma once

#include <QStringView>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kelvora {

// How far a text's ink reaches beyond its advance box, and the box's width.
// Measuring needs only the width; the overhangs are worked out when drawing
// first asks for them.
struct TTextInk {
  int width = 0;
  bool overhangsKnown = false;
  int overhangLeft = 0;
  int overhangRight = 0;
};

// The inks of the texts one face measured lately. A grid draws the same
// texts frame after frame, and column fitting measures a column whose texts
// are mostly new: a lookup must cost far less than the shaping it spares,
// and a new text no more than taking a slot. So each text has one slot,
// found by the standard library's hash (Qt's seeded one costs several times
// as much on a short text), and a new text simply takes it over; nothing is
// ever rehashed or cleared wholesale.
class TTextInkCache {
 public:
  // The text's ink, remembered or else new with the width `measure` gives;
  // it stays valid until the next text comes.
  template <typename Measure>
  TTextInk& Ink(QStringView text, const Measure& measure) {
    const std::u16string_view units(text.utf16(), static_cast<std::size_t>(text.size()));
    const std::size_t hash = std::hash<std::u16string_view>{}(units);
    Slot& slot = SlotOf(hash);
    if (slot.used && slot.hash == hash && slot.text == units) return slot.ink;
    slot.ink = {measure(text)};
    slot.hash = hash;
    slot.used = true;
    slot.text.assign(units);
    return slot.ink;
  }

 private:
  static constexpr std::size_t kSlots = 2048;

  struct Slot {
    std::size_t hash = 0;
    bool used = false;
    std::u16string text;  // its buffer is kept when the slot is taken over
    TTextInk ink;
  };

  Slot& SlotOf(std::size_t hash);

  std::vector<Slot> slots_;  // made when the first text comes
};

}  // namespace kelvora
