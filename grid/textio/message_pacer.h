#pragma once

#include <chrono>
#include <cstddef>
#include <functional>

namespace kelvora {

// Decides when a long write lets the window process its pending messages:
// often enough that it keeps repainting, and never more than once a frame,
// because processing messages costs far more than writing one row.
class TMessagePacer {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  using Clock = std::function<TimePoint()>;

  static constexpr std::chrono::milliseconds kInterval{16};
  // Reading the clock after every short row would itself be a cost, so it is
  // read only after this many rows or bytes.
  static constexpr int kRowsPerLook = 64;
  static constexpr std::size_t kBytesPerLook = 64 * 1024;

  TMessagePacer();
  explicit TMessagePacer(Clock clock);

  // Called after each row written; true when messages are due now.
  bool RowWritten(std::size_t bytes);

 private:
  bool IntervalPassed();

  Clock clock_;
  TimePoint last_;
  int rowsSinceLook_ = 0;
  std::size_t bytesSinceLook_ = 0;
};

}  // namespace kelvora
