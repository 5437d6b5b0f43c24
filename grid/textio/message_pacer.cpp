#include "grid/textio/message_pacer.h"

#include <utility>

namespace kelvora {

TMessagePacer::TMessagePacer() : TMessagePacer([] { return std::chrono::steady_clock::now(); }) {}

// The interval counts from the start of the write: a write that ends within
// one frame never processes messages at all.
TMessagePacer::TMessagePacer(Clock clock) : clock_(std::move(clock)), last_(clock_()) {}

bool TMessagePacer::RowWritten(std::size_t bytes) {
  ++rowsSinceLook_;
  bytesSinceLook_ += bytes;
  if (rowsSinceLook_ < kRowsPerLook && bytesSinceLook_ < kBytesPerLook) return false;
  rowsSinceLook_ = 0;
  bytesSinceLook_ = 0;
  return IntervalPassed();
}

bool TMessagePacer::IntervalPassed() {
  const TimePoint now = clock_();
  if (now - last_ < kInterval) return false;
  last_ = now;
  return true;
}

}  // namespace kelvora
