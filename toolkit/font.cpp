#include "toolkit/font.h"

#include <algorithm>
#include <climits>

namespace kelvora {

namespace {
// Rounds half away from zero and saturates, so that a size read from a text
// (however large) gives a height that can still be negated.
int MulDivRounded(long long value, int numerator, int denominator) {
  const long long product = value * numerator;
  const long long half = denominator / 2;
  const long long result = product >= 0 ? (product + half) / denominator : (product - half) / denominator;
  return static_cast<int>(std::clamp<long long>(result, -INT_MAX, INT_MAX));
}
}  // namespace

int TFont::Size() const {
  const long long height = Height;
  return MulDivRounded(height < 0 ? -height : height, 72, kPixelsPerInch);
}

void TFont::SetSize(int points) { Height = -MulDivRounded(points, kPixelsPerInch, 72); }

}  // namespace kelvora
