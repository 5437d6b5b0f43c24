#include <gtest/gtest.h>

#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTest>
#include <QWidget>

#include <functional>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/application.h"
#include "toolkit/exceptions.h"
#include "toolkit/message_box.h"

namespace kelvora {
namespace {

using TMessages = std::vector<std::pair<std::string, std::string>>;

struct TErrorBoxCase {
  const char* message;
  const char* shown;
};

class ErrorBoxText_ : public ::testing::TestWithParam<TErrorBoxCase> {};

TEST_P(ErrorBoxText_, AppendsAFullStopOnlyAfterCharactersSortingAfterIt) {
  SCOPED_TRACE(GetParam().message);
  EXPECT_EQ(ErrorBoxText(GetParam().message), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    ErrorBoxText, ErrorBoxText_,
    ::testing::Values(TErrorBoxCase{"Disk full", "Disk full."},
                      TErrorBoxCase{"Done.", "Done."},
                      TErrorBoxCase{"I/O error 27", "I/O error 27."},
                      TErrorBoxCase{"Cannot create file /tmp/a", "Cannot create file /tmp/a."},
                      TErrorBoxCase{"Why?", "Why?."},
                      TErrorBoxCase{"Stop!", "Stop!"},
                      TErrorBoxCase{"a, b,", "a, b,"},
                      TErrorBoxCase{"dash-", "dash-"},
                      TErrorBoxCase{"path/", "path/."},
                      TErrorBoxCase{"(closed)", "(closed)"},
                      TErrorBoxCase{"", ""},
                      // Bytes past 0x7F sort after "." only when read unsigned.
                      TErrorBoxCase{"caf\xC3\xA9", "caf\xC3\xA9."},
                      TErrorBoxCase{"caf\xE9", "caf\xE9."}));

// A widget whose handlers throw what the test gives it, and that counts the
// events it handled without a fault.
class TThrowingWidget : public QWidget {
 public:
  std::function<void()> fault;
  int handled = 0;

 protected:
  void keyPressEvent(QKeyEvent*) override { Handle(); }
  void mousePressEvent(QMouseEvent*) override { Handle(); }
  void timerEvent(QTimerEvent* event) override {
    killTimer(event->timerId());
    Handle();
  }
  void customEvent(QEvent*) override { Handle(); }
  void paintEvent(QPaintEvent*) override { Handle(); }

 private:
  void Handle() {
    if (fault) {
      auto once = std::move(fault);
      fault = nullptr;
      once();
    }
    ++handled;
  }
};

class ApplicationErrors : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_title_ = TApplication::Instance()->Title();
    TApplication::Instance()->SetTitle("Kelvora");
  }
  void TearDown() override { TApplication::Instance()->SetTitle(saved_title_); }

  bool WaitForMessages(std::size_t count) {
    return QTest::qWaitFor([&] { return messages_.size() >= count; }, 5000);
  }

  TMessages messages_;
  TMessageSinkGuard sink_{[this](const std::string& caption, const std::string& text) {
    messages_.emplace_back(caption, text);
  }};
  TThrowingWidget widget_;

 private:
  std::string saved_title_;
};

struct TNotAnError {};

struct TFaultCase {
  const char* name;
  std::function<void()> fault;
  const char* shown;
};

TEST_F(ApplicationErrors, ShowsEachKindOfFaultWithTheTitleAsCaption) {
  const std::vector<TFaultCase> cases{
      {"program error", [] { throw Exception("Cannot create file /x/y.csv"); },
       "Cannot create file /x/y.csv."},
      {"file error", [] { throw EInOutError(ioDiskFull); }, "Disk full."},
      {"allocation", [] { throw std::bad_alloc(); }, "Out of memory."},
      {"unknown type", [] { throw TNotAnError(); }, "An unexpected error occurred."},
      {"no message", [] { throw std::runtime_error(""); }, "An unexpected error occurred."},
  };
  for (const TFaultCase& c : cases) {
    SCOPED_TRACE(c.name);
    messages_.clear();
    widget_.fault = c.fault;
    QCoreApplication::postEvent(&widget_, new QEvent(QEvent::User));
    ASSERT_TRUE(WaitForMessages(1));
    EXPECT_EQ(messages_, (TMessages{{"Kelvora", c.shown}}));
  }
}

TEST_F(ApplicationErrors, CatchesFaultsFromEveryKindOfEvent) {
  const std::vector<std::pair<const char*, std::function<void()>>> deliveries{
      {"key", [&] {
         QCoreApplication::postEvent(&widget_, new QKeyEvent(QEvent::KeyPress, Qt::Key_A,
                                                             Qt::NoModifier, "a"));
       }},
      {"mouse", [&] {
         QCoreApplication::postEvent(
             &widget_, new QMouseEvent(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5),
                                       Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
       }},
      {"timer", [&] { widget_.startTimer(1); }},
      {"queued call", [&] {
         QMetaObject::invokeMethod(
             &widget_, [] { throw Exception("Queued"); }, Qt::QueuedConnection);
       }},
  };
  for (const auto& [name, deliver] : deliveries) {
    SCOPED_TRACE(name);
    messages_.clear();
    widget_.fault = [] { throw Exception("Queued"); };
    deliver();
    ASSERT_TRUE(WaitForMessages(1));
    EXPECT_EQ(messages_, (TMessages{{"Kelvora", "Queued."}}));
    widget_.fault = nullptr;
  }
}

// A modal box cannot open inside a paint: the box would paint over a
// widget that is half painted, from a nested loop.
TEST_F(ApplicationErrors, ShowsAFaultInPaintingOnlyAfterThePaintHasEnded) {
  widget_.resize(50, 50);
  widget_.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget_));
  widget_.fault = [] { throw Exception("Cannot paint"); };
  widget_.repaint();
  ASSERT_FALSE(widget_.fault) << "the repaint did not paint at once";
  EXPECT_TRUE(messages_.empty());
  ASSERT_TRUE(WaitForMessages(1));
  EXPECT_EQ(messages_, (TMessages{{"Kelvora", "Cannot paint."}}));
}

TEST_F(ApplicationErrors, TheEventLoopGoesOnAfterAFault) {
  widget_.fault = [] { throw EInOutError(ioAccessDenied); };
  QEventLoop loop;
  QCoreApplication::postEvent(&widget_, new QEvent(QEvent::User));
  QCoreApplication::postEvent(&widget_, new QEvent(QEvent::User));
  QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  EXPECT_NO_THROW(loop.exec());
  EXPECT_EQ(messages_, (TMessages{{"Kelvora", "Access denied."}}));
  EXPECT_EQ(widget_.handled, 1) << "the event after the fault must still be handled";
}

TEST_F(ApplicationErrors, AFaultingErrorBoxDoesNotLetTheFaultEscape) {
  TMessageSinkGuard broken_box(
      [](const std::string&, const std::string&) { throw std::runtime_error("box broke"); });
  widget_.fault = [] { throw Exception("First"); };
  QEventLoop loop;
  QCoreApplication::postEvent(&widget_, new QEvent(QEvent::User));
  QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  EXPECT_NO_THROW(loop.exec());
}

TEST_F(ApplicationErrors, TheCaptionFollowsTheTitle) {
  TApplication::Instance()->SetTitle("Another title");
  widget_.fault = [] { throw Exception("x"); };
  QCoreApplication::postEvent(&widget_, new QEvent(QEvent::User));
  ASSERT_TRUE(WaitForMessages(1));
  EXPECT_EQ(messages_.front().first, "Another title");
}

// A handler that guards its own body shows the fault and goes on with the
// rest of its work; a fault in painting still waits for the paint to end.
class TGuardedWidget : public QWidget {
 public:
  std::function<void()> fault = [] {};
  int went_on = 0;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    RunGuarded(fault);
    ++went_on;
    event->accept();
  }
  void paintEvent(QPaintEvent*) override {
    RunGuarded(fault, true);
    ++went_on;
  }
};

TEST_F(ApplicationErrors, AGuardedHandlerShowsTheFaultAndGoesOn) {
  TGuardedWidget widget;
  widget.fault = [] { throw EInOutError(ioPathNotFound); };
  QTest::keyClick(&widget, Qt::Key_A);
  EXPECT_EQ(messages_, (TMessages{{"Kelvora", "Path not found."}}));
  EXPECT_EQ(widget.went_on, 1);
}

TEST_F(ApplicationErrors, AGuardedPaintShowsTheFaultAfterThePaint) {
  TGuardedWidget widget;
  widget.resize(50, 50);
  widget.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
  const int painted = widget.went_on;
  widget.fault = [] { throw Exception("Cannot paint"); };
  widget.repaint();
  widget.fault = [] {};
  EXPECT_EQ(widget.went_on, painted + 1);
  EXPECT_TRUE(messages_.empty());
  ASSERT_TRUE(WaitForMessages(1));
  EXPECT_EQ(messages_, (TMessages{{"Kelvora", "Cannot paint."}}));
}

// A box that is open runs its own event loop, in which the same fault can
// come again; the user must see each distinct error once, in order.
TEST(ErrorBox, DropsRepeatsAndQueuesOtherErrorsWhileABoxIsOpen) {
  TMessages shown;
  TMessageSinkGuard sink([&](const std::string& caption, const std::string& text) {
    shown.emplace_back(caption, text);
    if (shown.size() == 1) {
      ShowErrorBox("K", "First.");
      ShowErrorBox("K", "Second.");
      ShowErrorBox("K", "Second.");
      ShowErrorBox("K", "Third.");
    }
  });
  ShowErrorBox("K", "First.");
  EXPECT_EQ(shown, (TMessages{{"K", "First."}, {"K", "Second."}, {"K", "Third."}}));
  shown.clear();
  ShowErrorBox("K", "First.");
  EXPECT_EQ(shown.size(), 3u) << "a closed box must not block the next errors";
}

TEST(ErrorBox, ABrokenBoxDoesNotSilenceLaterErrors) {
  bool broken = true;
  TMessages shown;
  TMessageSinkGuard sink([&](const std::string& caption, const std::string& text) {
    if (broken) throw std::runtime_error("box broke");
    shown.emplace_back(caption, text);
  });
  EXPECT_THROW(ShowErrorBox("K", "Lost."), std::runtime_error);
  broken = false;
  ShowErrorBox("K", "Seen.");
  EXPECT_EQ(shown, (TMessages{{"K", "Seen."}}));
}

}  // namespace
}  // namespace kelvora
