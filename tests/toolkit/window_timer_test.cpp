#include <gtest/gtest.h>

#include <QTest>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/patience.h"
#include "toolkit/exceptions.h"
#include "toolkit/message_box.h"
#include "toolkit/window_timer.h"

namespace kelvora {
namespace {

using testing::kPatience;

TEST(WindowTimer, IsIdleAtHalfASecondUntilStarted) {
  TWindowTimer timer;
  EXPECT_EQ(timer.Interval(), 500);
  EXPECT_FALSE(timer.Enabled());
}

TEST(WindowTimer, CallsItsHandlerOnEveryTickUntilStopped) {
  TWindowTimer timer;
  int ticks = 0;
  timer.OnTimer = [&] { ++ticks; };
  timer.SetInterval(5);
  timer.Start();
  EXPECT_TRUE(timer.Enabled());
  ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, kPatience));
  timer.Stop();
  EXPECT_FALSE(timer.Enabled());
  const int at_stop = ticks;

  // A second timer shows that time has passed while the first one slept.
  TWindowTimer witness;
  int witness_ticks = 0;
  witness.OnTimer = [&] { ++witness_ticks; };
  witness.SetInterval(5);
  witness.Start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return witness_ticks >= 5; }, kPatience));
  EXPECT_EQ(ticks, at_stop);
}

TEST(WindowTimer, KeepsTickingAfterItsIntervalChanges) {
  TWindowTimer timer;
  int ticks = 0;
  timer.OnTimer = [&] { ++ticks; };
  timer.Start();
  timer.SetInterval(5);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, kPatience));
}

TEST(WindowTimer, AFaultInATickReachesTheErrorBoxAndTheTimerGoesOn) {
  std::vector<std::string> shown;
  TMessageSinkGuard sink(
      [&](const std::string&, const std::string& text) { shown.push_back(text); });
  TWindowTimer timer;
  int ticks = 0;
  timer.OnTimer = [&] {
    if (++ticks == 1) throw EInOutError(ioFileNotFound);
  };
  timer.SetInterval(5);
  timer.Start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, kPatience));
  EXPECT_EQ(shown, std::vector<std::string>{"File not found."});
  EXPECT_TRUE(timer.Enabled());
}

TEST(WindowTimer, ATickMayDeleteItsOwnTimer) {
  auto timer = std::make_unique<TWindowTimer>();
  bool deleted = false;
  std::string captured = "kept alive by the handler's own copy";
  timer->OnTimer = [&timer, &deleted, captured] {
    timer.reset();
    deleted = !captured.empty();
  };
  timer->SetInterval(1);
  timer->Start();
  EXPECT_TRUE(QTest::qWaitFor([&] { return deleted; }, kPatience));
}

}  // namespace
}  // namespace kelvora
