#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QTest>

#include <functional>

#include "custom_grid_test_grid.h"
#include "toolkit/grid_base/grid_scroll_bar.h"

namespace kelvora {
namespace {

using testing::kPatience;

class TPaintCount : public QObject {
 public:
  explicit TPaintCount(QWidget& widget) { widget.installEventFilter(this); }
  int Paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++Paints;
    return false;
  }
};

// Showing, activating and laying out a window each repaint it; a change is
// judged only once those paints have stopped.
void WaitUntilPainted(const TPaintCount& count) {
  ASSERT_TRUE(QTest::qWaitFor([&] { return count.Paints > 0; }, kPatience));
  for (int seen = -1; seen != count.Paints;) {
    seen = count.Paints;
    QTest::qWait(50);
  }
}

// The paints that follow a change.
int PaintsAfter(TPaintCount& count, const std::function<void()>& change) {
  const int before = count.Paints;
  change();
  QTest::qWait(20);
  return count.Paints - before;
}

class GridScrollBar : public ::testing::Test {
 protected:
  void SetUp() override {
    bar.resize(16, 400);
    bar.setRange(0, 1'000'000);
    bar.setPageStep(20);
    bar.setValue(500'000);
    bar.show();
    WaitUntilPainted(count);
  }
  TGridScrollBar bar{Qt::Vertical};
  TPaintCount count{bar};
};

TEST_F(GridScrollBar, KeepsItsPictureWhenAStepOfOneMovesNoPixel) {
  EXPECT_EQ(PaintsAfter(count, [&] { bar.setMaximum(999'999); }), 0);
  EXPECT_EQ(PaintsAfter(count, [&] { bar.setValue(500'001); }), 0);
  // The values themselves are taken, only the painting is spared.
  EXPECT_EQ(bar.maximum(), 999'999);
  EXPECT_EQ(bar.value(), 500'001);
}

TEST_F(GridScrollBar, RepaintsWhenTheSliderMoves) {
  EXPECT_GT(PaintsAfter(count, [&] { bar.setValue(0); }), 0);
  EXPECT_GT(PaintsAfter(count, [&] { bar.setMaximum(100); }), 0);
  EXPECT_GT(PaintsAfter(count, [&] { bar.setPageStep(60); }), 0);
}

TEST_F(GridScrollBar, RepaintsWhenAnEndIsReachedOrLeft) {
  // Some styles show the arrow at an end as spent, without moving the slider.
  bar.setRange(0, 1'000'000'000);
  bar.setValue(1);
  WaitUntilPainted(count);
  EXPECT_GT(PaintsAfter(count, [&] { bar.setValue(0); }), 0);
  EXPECT_GT(PaintsAfter(count, [&] { bar.setValue(1); }), 0);
  EXPECT_GT(PaintsAfter(count, [&] { bar.setRange(0, 0); }), 0);
}

TEST(GridScrollBars, AreTheGridsOwnAndFollowItsRows) {
  testing::TTestGrid grid;
  grid.SetRowCount(1'000'000);
  auto* vertical = dynamic_cast<TGridScrollBar*>(grid.verticalScrollBar());
  ASSERT_NE(vertical, nullptr);
  EXPECT_NE(dynamic_cast<TGridScrollBar*>(grid.horizontalScrollBar()), nullptr);
  TPaintCount count(*vertical);
  grid.ShowFocused();
  WaitUntilPainted(count);
  const int maximum = vertical->maximum();
  EXPECT_EQ(PaintsAfter(count, [&] { grid.DeleteRow(10); }), 0);
  EXPECT_EQ(vertical->maximum(), maximum - 1);
  EXPECT_GT(PaintsAfter(count, [&] { grid.SetTopRow(600'000); }), 0);
  EXPECT_EQ(vertical->value(), 600'000 - grid.FixedRows());
}

}  // namespace
}  // namespace kelvora
