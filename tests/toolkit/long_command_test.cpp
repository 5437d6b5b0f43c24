// While a long command runs, the person's input is refused and error boxes
// wait; painting and timers go on, and so does the command's own window.

#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/event_loop.h"
#include "toolkit/long_command.h"
#include "toolkit/message_box.h"

namespace kelvora {
namespace {

class TRecordingWindow : public QWidget {
 public:
  std::vector<QEvent::Type> received;

 protected:
  bool event(QEvent* event) override {
    received.push_back(event->type());
    return QWidget::event(event);
  }
};

struct TEventCase {
  const char* name;
  std::function<QEvent*()> make;
  bool refused;
};

std::vector<TEventCase> EventCases() {
  const QPointF at(5, 5);
  return {
      {"Key", [] { return new QKeyEvent(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier); }, true},
      {"Click",
       [at] { return new QMouseEvent(QEvent::MouseButtonPress, at, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier); },
       true},
      {"Wheel",
       [at] {
         return new QWheelEvent(at, at, QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
       },
       true},
      {"Close", [] { return new QCloseEvent; }, true},
      {"Timer", [] { return new QTimerEvent(1); }, false},
      {"Repaint", [] { return new QEvent(QEvent::UpdateRequest); }, false},
  };
}

class LongCommandEvents : public ::testing::TestWithParam<TEventCase> {};

bool Received(const TRecordingWindow& window, QEvent::Type type) {
  return std::find(window.received.begin(), window.received.end(), type) != window.received.end();
}

// Each event is sent once during a command and once after it: the second
// shows that the event itself would have arrived.
TEST_P(LongCommandEvents, InputIsRefusedAndTheRestArrives) {
  TRecordingWindow window;
  window.show();
  const TEventCase& c = GetParam();
  std::unique_ptr<QEvent> during(c.make());
  const QEvent::Type type = during->type();
  {
    TLongCommand command;
    window.received.clear();
    QCoreApplication::sendEvent(&window, during.get());
    EXPECT_EQ(Received(window, type), !c.refused);
    if (type == QEvent::Close) {
      EXPECT_FALSE(during->isAccepted());
      EXPECT_TRUE(window.isVisible());
    }
  }
  std::unique_ptr<QEvent> after(c.make());
  window.received.clear();
  QCoreApplication::sendEvent(&window, after.get());
  EXPECT_TRUE(Received(window, type));
}

INSTANTIATE_TEST_SUITE_P(Table, LongCommandEvents, ::testing::ValuesIn(EventCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LongCommand, ItsOwnWindowTakesInputAndNestedCommandsEndTogether) {
  TRecordingWindow main;
  TRecordingWindow box;
  QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  {
    TLongCommand outer;
    {
      TLongCommand inner(&box);
      QCoreApplication::sendEvent(&box, &key);
      QCoreApplication::sendEvent(&main, &key);
      EXPECT_TRUE(Received(box, QEvent::KeyPress));
      EXPECT_FALSE(Received(main, QEvent::KeyPress));
    }
    EXPECT_TRUE(TLongCommand::Running());
    QCoreApplication::sendEvent(&main, &key);
    EXPECT_FALSE(Received(main, QEvent::KeyPress));
  }
  EXPECT_FALSE(TLongCommand::Running());
  QCoreApplication::sendEvent(&main, &key);
  EXPECT_TRUE(Received(main, QEvent::KeyPress));
}

TEST(LongCommand, AnErrorBoxWaitsUntilTheCommandHasEnded) {
  std::vector<std::string> shown;
  TMessageSinkGuard sink([&](const std::string&, const std::string& text) { shown.push_back(text); });
  {
    TLongCommand command;
    ShowErrorBox("Kelvora", "Could not paint a cell.");
    ASSERT_TRUE(testing::DrainEvents());
    EXPECT_TRUE(shown.empty());
  }
  EXPECT_TRUE(shown.empty()) << "shown inside the command's own clean-up";
  ASSERT_TRUE(testing::DrainEvents());
  EXPECT_EQ(shown, std::vector<std::string>{"Could not paint a cell."});
}

}  // namespace
}  // namespace kelvora
