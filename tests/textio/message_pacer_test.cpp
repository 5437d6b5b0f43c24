#include "grid/textio/message_pacer.h"

#include <gtest/gtest.h>

#include <chrono>

namespace kelvora {
namespace {

using std::chrono::milliseconds;

// A pacer on a clock the test moves by hand.
struct PacerOnTestClock {
  TMessagePacer::TimePoint now{};
  int reads = 0;
  TMessagePacer pacer{[this] {
    ++reads;
    return now;
  }};

  // The number of the first of up to `rows` rows after which messages are
  // due, or 0 when none is.
  int FirstDueRow(int rows, std::size_t bytesPerRow = 10) {
    for (int row = 1; row <= rows; ++row)
      if (pacer.RowWritten(bytesPerRow)) return row;
    return 0;
  }
};

TEST(MessagePacer, WaitsAFrameFromTheStartOfTheWrite) {
  PacerOnTestClock t;
  EXPECT_EQ(t.FirstDueRow(6400), 0);
  t.now += milliseconds(15);
  EXPECT_EQ(t.FirstDueRow(6400), 0);
  t.now += milliseconds(1);
  EXPECT_EQ(t.FirstDueRow(6400), TMessagePacer::kRowsPerLook);
}

TEST(MessagePacer, IsDueAtMostOncePerFrame) {
  PacerOnTestClock t;
  t.now += milliseconds(16);
  EXPECT_EQ(t.FirstDueRow(6400), TMessagePacer::kRowsPerLook);
  EXPECT_EQ(t.FirstDueRow(6400), 0);
  t.now += milliseconds(16);
  EXPECT_EQ(t.FirstDueRow(6400), TMessagePacer::kRowsPerLook);
}

TEST(MessagePacer, ReadsTheClockSeldomForShortRowsAndAfterEveryLongOne) {
  PacerOnTestClock t;
  const int readsAtStart = t.reads;
  t.FirstDueRow(640);
  EXPECT_EQ(t.reads - readsAtStart, 640 / TMessagePacer::kRowsPerLook);

  t.now += milliseconds(16);
  EXPECT_EQ(t.FirstDueRow(1, TMessagePacer::kBytesPerLook), 1);  // a long row is not held back
}

}  // namespace
}  // namespace kelvora
