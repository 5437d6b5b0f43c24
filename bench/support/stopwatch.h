#pragma once

// Wall-clock timing for benches that time a step by hand rather than through
// Google Benchmark's loop (a step that must run once on fresh state).
#include <algorithm>
#include <chrono>
#include <limits>

namespace kelvora::bench {

using Clock = std::chrono::steady_clock;

inline double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The fastest of several runs: the one least disturbed by the rest of the machine.
template <typename Run>
double Best(int repetitions, Run run) {
  double best = std::numeric_limits<double>::infinity();
  for (int i = 0; i < repetitions; ++i) best = std::min(best, run());
  return best;
}

}  // namespace kelvora::bench
