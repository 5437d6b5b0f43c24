#include "support/process_memory.h"

#include <fstream>
#include <string>

namespace kelvora::bench {
namespace {

double StatusFieldMiB(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == field) {
      double kib = 0;
      status >> kib;
      return kib / 1024.0;
    }
    status.ignore(1 << 16, '\n');
  }
  return 0;
}

}  // namespace

double ResidentMiB() { return StatusFieldMiB("VmRSS:"); }
double PeakResidentMiB() { return StatusFieldMiB("VmHWM:"); }

}  // namespace kelvora::bench
