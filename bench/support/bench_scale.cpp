#include "support/bench_scale.h"

#include <cstdlib>
#include <cstring>

namespace kelvora::bench {

bool ShortRun() {
  static const bool on = [] {
    const char* value = std::getenv("KELVORA_BENCH_SHORT");
    return value && *value && std::strcmp(value, "0") != 0;
  }();
  return on;
}

}  // namespace kelvora::bench
