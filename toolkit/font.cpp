#include "toolkit/font.h"

namespace kelvora {

namespace {
int MulDivRounded(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  const long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator
                                       : (product - half) / denominator);
}
}  // namespace

int TFont::Size() const { return MulDivRounded(PixelHeight(), 72, kPixelsPerInch); }

void TFont::SetSize(int points) { Height = -MulDivRounded(points, kPixelsPerInch, 72); }

}  // namespace kelvora
