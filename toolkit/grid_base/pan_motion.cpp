#include "toolkit/grid_base/pan_motion.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kelvora {

void TPanMotion::Start(TPoint origin, TPanAxes axes) {
  origin_ = origin;
  mouse_ = origin;
  axes_ = axes;
  moved_ = false;
  pendingCols_ = 0;
  pendingRows_ = 0;
}

void TPanMotion::MoveTo(TPoint mouse) {
  mouse_ = mouse;
  if (std::abs(mouse.X - origin_.X) > kDeadZone || std::abs(mouse.Y - origin_.Y) > kDeadZone) moved_ = true;
}

// The speed grows with the square of the distance past the still zone: a
// few pixels creep a row at a time for reading, a long reach races through
// a million rows.
double TPanMotion::Speed(int distance) {
  const double beyond = std::max(std::abs(static_cast<double>(distance)) - kDeadZone, 0.0);
  const double speed = std::min(beyond * beyond / 64.0 + (beyond > 0 ? 1.0 : 0.0), kMaxSpeed);
  return distance < 0 ? -speed : speed;
}

double TPanMotion::Gather(double& pending, int distance, int milliseconds) {
  pending += Speed(distance) * std::clamp(milliseconds, 0, 1000) / 1000.0;
  const double whole = std::trunc(pending);
  pending -= whole;
  return whole;
}

TPoint TPanMotion::Advance(int milliseconds) {
  const int dx = axes_.Horizontal ? mouse_.X - origin_.X : 0;
  const int dy = axes_.Vertical ? mouse_.Y - origin_.Y : 0;
  return {static_cast<int>(Gather(pendingCols_, dx, milliseconds)),
          static_cast<int>(Gather(pendingRows_, dy, milliseconds))};
}

}  // namespace kelvora
