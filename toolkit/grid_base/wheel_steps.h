#pragma once

#include <cstdint>

namespace kelvora {

// Turns of a wheel, or strokes of a touchpad, gathered into whole steps. A
// mouse wheel reports a notch as 120 units; a touchpad or a free-spinning
// wheel reports the same distance in many small pieces, which must add up
// to the same scrolling, neither racing ahead of the hand nor standing still
// because each piece alone is less than a step.
class TWheelSteps {
 public:
  static constexpr int kNotch = 120;

  // Adds `amount` units, of which `perStep` make one step, and answers the
  // whole steps completed (negative when turned the other way). A turn back
  // forgets what was gathered the other way, so a reversing hand is
  // followed at once.
  int Add(std::int64_t amount, std::int64_t perStep);
  void Reset() { pending_ = 0; }

 private:
  std::int64_t pending_ = 0;
};

}  // namespace kelvora
