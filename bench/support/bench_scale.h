#pragma once

namespace kelvora::bench {

// `bench/run --short` sets KELVORA_BENCH_SHORT=1: every bench then runs once
// on small data. That proves in seconds that each program builds, starts,
// measures and prints its lines; the figures of a short run mean nothing.
bool ShortRun();

// The full size normally, the small one in a short run.
template <typename T>
T Sized(T full, T small) {
  return ShortRun() ? small : full;
}

// How often a measurement is repeated to take its best: once in a short run.
inline int Repetitions(int full) { return Sized(full, 1); }

}  // namespace kelvora::bench
