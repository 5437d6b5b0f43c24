#include "support/bench_output.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kelvora::bench {
namespace {

void PrintLine(const char* kind, const std::string& name, double value, const std::string& unit) {
  std::printf("%s %s %s %s\n", kind, name.c_str(), FormatValue(value).c_str(), unit.c_str());
  // The runner reads the lines as they come, interleaved with commentary.
  std::fflush(stdout);
}

}  // namespace

std::string FormatValue(double value) {
  if (!std::isfinite(value)) return std::isnan(value) ? "nan" : (value > 0 ? "inf" : "-inf");
  if (value == 0) return "0";
  const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value))));
  const int decimals = std::clamp(3 - magnitude, 0, 9);
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

void PrintFigure(const std::string& name, double value, const std::string& unit) {
  PrintLine("figure", name, value, unit);
}

void PrintAnchor(const std::string& name, double value, const std::string& unit) {
  PrintLine("anchor", name, value, unit);
}

}  // namespace kelvora::bench
