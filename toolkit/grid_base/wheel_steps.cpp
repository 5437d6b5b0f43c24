#include "toolkit/grid_base/wheel_steps.h"

#include <algorithm>
#include <climits>

namespace kelvora {

int TWheelSteps::Add(std::int64_t amount, std::int64_t perStep) {
  if (perStep <= 0 || amount == 0) return 0;
  if ((amount > 0) != (pending_ > 0) && pending_ != 0) pending_ = 0;
  // A delta of any size is taken whole: the steps may be many, the sum stays
  // far inside 64 bits, and the grid clamps the scrolling to its ends.
  pending_ += std::clamp<std::int64_t>(amount, -(std::int64_t{1} << 40), std::int64_t{1} << 40);
  const std::int64_t steps = pending_ / perStep;
  pending_ -= steps * perStep;
  return static_cast<int>(std::clamp<std::int64_t>(steps, INT_MIN, INT_MAX));
}

}  // namespace kelvora
