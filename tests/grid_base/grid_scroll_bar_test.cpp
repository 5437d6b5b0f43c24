#include <gtest/gtest.h>

#include <functional>

#include "common/event_loop.h"
#include "common/paint_watch.h"
#include "custom_grid_test_grid.h"
#include "toolkit/grid_base/grid_scroll_bar.h"

namespace kelvora {
namespace {

using testing::DrainEvents;
using testing::TPaintWatch;
using testing::WaitForPaint;

// Showing, activating and laying out a window each repaint it; a change is
// judged only once those paints are over and the event loop is at rest.
void WaitUntilPainted(const TPaintWatch& watch) {
  ASSERT_TRUE(WaitForPaint(watch, 0));
  ASSERT_TRUE(DrainEvents());
}

// Whether the change repaints: the paint is waited for, then the loop is
// let come to rest, so that the next change starts afresh.
bool Repaints(const TPaintWatch& watch, const std::function<void()>& change) {
  const int before = watch.Paints;
  change();
  const bool painted = WaitForPaint(watch, before);
  EXPECT_TRUE(DrainEvents());
  return painted;
}

// Whether the change leaves the picture alone: once the loop has delivered
// everything the change set going, nothing has painted.
bool KeepsItsPicture(const TPaintWatch& watch, const std::function<void()>& change) {
  const int before = watch.Paints;
  change();
  EXPECT_TRUE(DrainEvents());
  return watch.Paints == before;
}

class GridScrollBar : public ::testing::Test {
 protected:
  void SetUp() override {
    bar.resize(16, 400);
    bar.setRange(0, 1'000'000);
    bar.setPageStep(20);
    bar.setValue(500'000);
    bar.show();
    WaitUntilPainted(watch);
  }
  TGridScrollBar bar{Qt::Vertical};
  TPaintWatch watch{&bar};
};

TEST_F(GridScrollBar, KeepsItsPictureWhenAStepOfOneMovesNoPixel) {
  EXPECT_TRUE(KeepsItsPicture(watch, [&] { bar.setMaximum(999'999); }));
  EXPECT_TRUE(KeepsItsPicture(watch, [&] { bar.setValue(500'001); }));
  // The values themselves are taken, only the painting is spared.
  EXPECT_EQ(bar.maximum(), 999'999);
  EXPECT_EQ(bar.value(), 500'001);
}

TEST_F(GridScrollBar, RepaintsWhenTheSliderMoves) {
  EXPECT_TRUE(Repaints(watch, [&] { bar.setValue(0); }));
  EXPECT_TRUE(Repaints(watch, [&] { bar.setMaximum(100); }));
  EXPECT_TRUE(Repaints(watch, [&] { bar.setPageStep(60); }));
}

TEST_F(GridScrollBar, RepaintsWhenAnEndIsReachedOrLeft) {
  // Some styles show the arrow at an end as spent, without moving the slider.
  bar.setRange(0, 1'000'000'000);
  bar.setValue(1);
  WaitUntilPainted(watch);
  EXPECT_TRUE(Repaints(watch, [&] { bar.setValue(0); }));
  EXPECT_TRUE(Repaints(watch, [&] { bar.setValue(1); }));
  EXPECT_TRUE(Repaints(watch, [&] { bar.setRange(0, 0); }));
}

TEST(GridScrollBars, AreTheGridsOwnAndFollowItsRows) {
  testing::TTestGrid grid;
  grid.SetRowCount(1'000'000);
  auto* vertical = dynamic_cast<TGridScrollBar*>(grid.verticalScrollBar());
  ASSERT_NE(vertical, nullptr);
  EXPECT_NE(dynamic_cast<TGridScrollBar*>(grid.horizontalScrollBar()), nullptr);
  TPaintWatch watch(vertical);
  grid.ShowFocused();
  WaitUntilPainted(watch);
  const int maximum = vertical->maximum();
  EXPECT_TRUE(KeepsItsPicture(watch, [&] { grid.DeleteRow(10); }));
  EXPECT_EQ(vertical->maximum(), maximum - 1);
  EXPECT_TRUE(Repaints(watch, [&] { grid.SetTopRow(600'000); }));
  EXPECT_EQ(vertical->value(), 600'000 - grid.FixedRows());
}

}  // namespace
}  // namespace kelvora
