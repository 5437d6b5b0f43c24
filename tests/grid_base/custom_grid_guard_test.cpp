#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimerEvent>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <functional>
#include <string>
#include <vector>

#include "custom_grid_test_grid.h"
#include "toolkit/exceptions.h"
#include "toolkit/message_box.h"
#include "toolkit/window_timer.h"

// Every event handler of the grid base and its edit window runs guarded: a
// hook that throws shows its message in the error box, and the exception
// never leaves the handler. The events are handed to the handlers directly,
// past the application object's own last-resort catch, so that an unguarded
// handler would fail the test by throwing.
namespace kelvora {
namespace {

using testing::TTestGrid;
using testing::Type;

class TThrowingGrid : public TTestGrid {
 public:
  std::string ThrowFrom;  // the hook that throws, once

  // Straight to the handlers, as Qt's own dispatch would call them.
  bool Handle(QObject* target, QEvent* event) { return target->event(event); }
  bool HandleOnViewport(QEvent* event) { return viewportEvent(event); }

 protected:
  void KeyDown(int& key, TShiftState shift) override {
    Maybe("KeyDown");
    TTestGrid::KeyDown(key, shift);
  }
  void KeyUp(int& key, TShiftState shift) override {
    Maybe("KeyUp");
    TTestGrid::KeyUp(key, shift);
  }
  bool SelectCell(int col, int row) override {
    Maybe("SelectCell");
    return TTestGrid::SelectCell(col, row);
  }
  void Click() override {
    Maybe("Click");
    TTestGrid::Click();
  }
  void TopLeftChanged() override {
    Maybe("TopLeftChanged");
    TTestGrid::TopLeftChanged();
  }
  void SetEditText(int col, int row, const std::string& value) override {
    Maybe("SetEditText");
    TTestGrid::SetEditText(col, row, value);
  }

 private:
  void Maybe(const char* hook) {
    if (ThrowFrom != hook) return;
    ThrowFrom.clear();
    throw Exception(std::string("broken ") + hook);
  }
};

class GridGuards : public ::testing::Test {
 protected:
  void SetUp() override {
    grid.SetOptions(grid.Options().insert(goEditing));
    grid.Texts[{1, 1}] = "abc";
    grid.SetRowCount(50);
    grid.ShowFocused();
  }

  // The one message shown, checked after the handler returned normally.
  void ExpectShownOnce(const std::string& text) {
    EXPECT_EQ(shown, std::vector<std::string>{text + "."});
    EXPECT_TRUE(grid.ThrowFrom.empty()) << "the hook was never reached";
  }

  std::vector<std::string> shown;
  TMessageSinkGuard sink{[this](const std::string&, const std::string& text) { shown.push_back(text); }};
  TThrowingGrid grid;
};

TEST_F(GridGuards, KeyHandlers) {
  grid.ThrowFrom = "KeyDown";
  QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
  EXPECT_NO_THROW(grid.Handle(&grid, &down));
  ExpectShownOnce("broken KeyDown");
  EXPECT_EQ(grid.Row(), 1);

  shown.clear();
  grid.ThrowFrom = "KeyUp";
  QKeyEvent up(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
  EXPECT_NO_THROW(grid.Handle(&grid, &up));
  ExpectShownOnce("broken KeyUp");

  // The grid takes keys as before.
  QTest::keyClick(&grid, Qt::Key_Down);
  EXPECT_EQ(grid.Row(), 2);
}

TEST_F(GridGuards, MouseHandlers) {
  const QRect target = [&] {
    const TRect r = grid.CellRect(2, 3);
    return QRect(r.Left, r.Top, r.Width(), r.Height());
  }();
  grid.ThrowFrom = "SelectCell";
  QMouseEvent press(QEvent::MouseButtonPress, target.center(), grid.viewport()->mapToGlobal(target.center()),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  EXPECT_NO_THROW(grid.HandleOnViewport(&press));
  ExpectShownOnce("broken SelectCell");
  EXPECT_EQ(grid.Row(), 1);  // the refused move left the current cell

  shown.clear();
  EXPECT_NO_THROW(grid.HandleOnViewport(&press));
  EXPECT_EQ(grid.Row(), 3);
  grid.ThrowFrom = "Click";
  QMouseEvent release(QEvent::MouseButtonRelease, target.center(), grid.viewport()->mapToGlobal(target.center()),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  EXPECT_NO_THROW(grid.HandleOnViewport(&release));
  ExpectShownOnce("broken Click");

  shown.clear();
  grid.ThrowFrom = "TopLeftChanged";
  QWheelEvent wheel(target.center(), grid.viewport()->mapToGlobal(target.center()), {}, {0, -120}, Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  EXPECT_NO_THROW(grid.HandleOnViewport(&wheel));
  ExpectShownOnce("broken TopLeftChanged");
}

TEST_F(GridGuards, TypingIntoTheEditWindow) {
  QTest::keyClick(&grid, Qt::Key_F2);
  ASSERT_TRUE(grid.EditorShowing());
  QWidget* control = grid.InplaceEditor()->Control();
  grid.ThrowFrom = "SetEditText";
  QKeyEvent x(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
  EXPECT_NO_THROW(grid.Handle(control, &x));
  ExpectShownOnce("broken SetEditText");
  // The window still types, and every change reaches the cell again.
  Type(grid, "y");
  EXPECT_EQ(grid.Text(1, 1), grid.EditorText());
}

// A grid that fails when the focus leaves it.
class TFailingExitGrid : public TTestGrid {
 public:
  bool Fail = false;

 protected:
  void DoExit() override {
    TTestGrid::DoExit();
    if (Fail) throw Exception("broken exit");
  }
};

TEST(GridGuard, FocusLeavingTheGrid) {
  std::vector<std::string> shown;
  TMessageSinkGuard sink([&](const std::string&, const std::string& text) { shown.push_back(text); });
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* grid = new TFailingExitGrid;
  auto* other = new QLineEdit;
  layout->addWidget(grid);
  layout->addWidget(other);
  window.show();
  QApplication::setActiveWindow(&window);
  grid->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return grid->hasFocus(); }, testing::kPatience));
  grid->Fail = true;
  // The focus change reaches the grid through a signal of the application;
  // the exception must end there, not in Qt's signal machinery.
  EXPECT_NO_THROW(other->setFocus());
  EXPECT_TRUE(other->hasFocus());
  EXPECT_EQ(shown, std::vector<std::string>{"broken exit."});
}

TEST(GridGuard, TimerTicks) {
  std::vector<std::string> shown;
  TMessageSinkGuard sink([&](const std::string&, const std::string& text) { shown.push_back(text); });
  TWindowTimer timer;
  timer.OnTimer = [] { throw Exception("broken tick"); };
  timer.SetInterval(1);
  // The tick is taken out of the normal delivery and handed straight to the timer.
  struct TDirect : QObject {
    bool delivered = false;
    bool eventFilter(QObject* watched, QEvent* event) override {
      if (event->type() != QEvent::Timer || delivered) return false;
      delivered = true;
      EXPECT_NO_THROW(watched->event(event));
      return true;
    }
  } direct;
  timer.installEventFilter(&direct);
  timer.Start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return direct.delivered; }, testing::kPatience));
  EXPECT_EQ(shown, std::vector<std::string>{"broken tick."});
}

}  // namespace
}  // namespace kelvora
