#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "toolkit/grid_base/grid_axis.h"

namespace kelvora {
namespace {

// The plain model the sparse axis must agree with: one size per item.
struct TNaiveAxis {
  std::vector<int> sizes;
  int gap = 0;

  std::int64_t Offset(int index) const {
    std::int64_t sum = 0;
    for (int i = 0; i < index; ++i) sum += sizes[i] + gap;
    return sum;
  }
  int IndexAt(std::int64_t offset) const {
    if (offset < 0) return -1;
    std::int64_t start = 0;
    for (int i = 0; i < static_cast<int>(sizes.size()); ++i) {
      start += sizes[i] + gap;
      if (offset < start) return i;
    }
    return static_cast<int>(sizes.size());
  }
};

void ExpectSame(const TGridAxis& axis, const TNaiveAxis& model) {
  ASSERT_EQ(axis.Count(), static_cast<int>(model.sizes.size()));
  ASSERT_TRUE(axis.CheckConsistency());
  for (int i = 0; i < axis.Count(); ++i) ASSERT_EQ(axis.Size(i), model.sizes[i]) << "item " << i;
  for (int i = 0; i <= axis.Count(); ++i) ASSERT_EQ(axis.Offset(i), model.Offset(i)) << "offset " << i;
  for (std::int64_t y = -2; y <= model.Offset(axis.Count()) + 2; ++y)
    ASSERT_EQ(axis.IndexAt(y), model.IndexAt(y)) << "pixel " << y;
}

TEST(GridAxis, AgreesWithOneSizePerItemThroughRandomEdits) {
  std::mt19937 random(20240611);
  TGridAxis axis;
  TNaiveAxis model;
  axis.SetDefaultSize(5);
  axis.SetGap(1);
  model.gap = 1;
  axis.SetCount(12);
  model.sizes.assign(12, 5);
  for (int step = 0; step < 400; ++step) {
    const int count = axis.Count();
    const int pick = static_cast<int>(random() % 6);
    const int index = count > 0 ? static_cast<int>(random() % count) : 0;
    if (pick <= 1 && count > 0) {
      const int size = static_cast<int>(random() % 9);  // 0..8, the default among them
      axis.SetSize(index, size);
      model.sizes[index] = size;
    } else if (pick == 2 && count > 0) {
      // One item by itself, or a run of them.
      const int run = 1 + static_cast<int>(random() % std::min(4, count - index));
      if (run == 1) axis.Delete(index);
      else axis.Delete(index, run);
      model.sizes.erase(model.sizes.begin() + index, model.sizes.begin() + index + run);
    } else if (pick == 3 && count < 30) {
      const int at = static_cast<int>(random() % (count + 1));
      const int run = 1 + static_cast<int>(random() % 3);
      if (run == 1) axis.Insert(at);
      else axis.Insert(at, run);
      model.sizes.insert(model.sizes.begin() + at, run, 5);
    } else if (pick == 4 && count > 0) {
      const int to = static_cast<int>(random() % count);
      axis.Move(index, to);
      const int moved = model.sizes[index];
      model.sizes.erase(model.sizes.begin() + index);
      model.sizes.insert(model.sizes.begin() + to, moved);
    } else if (pick == 5) {
      const int newCount = static_cast<int>(random() % 25);
      axis.SetCount(newCount);
      model.sizes.resize(newCount, 5);
    }
    ExpectSame(axis, model);
    if (::testing::Test::HasFatalFailure()) {
      ADD_FAILURE() << "after step " << step;
      return;
    }
  }
}

TEST(GridAxis, ZeroSizedItemsHoldNoPixel) {
  TGridAxis axis;
  axis.SetDefaultSize(10);
  axis.SetCount(4);
  axis.SetSize(1, 0);
  axis.SetSize(2, 0);
  EXPECT_EQ(axis.IndexAt(9), 0);
  EXPECT_EQ(axis.IndexAt(10), 3);
  EXPECT_EQ(axis.Offset(3), 10);
}

TEST(GridAxis, AHundredMillionItemsCostOnlyTheirExceptions) {
  TGridAxis axis;
  axis.SetDefaultSize(24);
  axis.SetGap(1);
  axis.SetCount(100'000'000);
  axis.SetSize(99'999'999, 50);
  axis.SetSize(3, 10);
  EXPECT_EQ(axis.OwnSizeCount(), 2);
  const std::int64_t expected = std::int64_t{99'999'998} * 25 + 11 + 51;
  EXPECT_EQ(axis.Total(), expected);  // far past 2^31
  EXPECT_EQ(axis.IndexAt(expected - 1), 99'999'999);
  EXPECT_EQ(axis.IndexAt(expected - 51), 99'999'999);
  EXPECT_EQ(axis.IndexAt(expected - 52), 99'999'998);
  axis.Delete(50'000'000);
  EXPECT_EQ(axis.Count(), 99'999'999);
  EXPECT_EQ(axis.Size(99'999'998), 50);
  EXPECT_EQ(axis.Size(3), 10);
}

TEST(GridAxis, ClampsSizesAndCounts) {
  TGridAxis axis;
  axis.SetCount(-3);
  EXPECT_EQ(axis.Count(), 0);
  axis.SetDefaultSize(0);
  EXPECT_EQ(axis.DefaultSize(), 1);
  axis.SetCount(2);
  axis.SetSize(0, -7);
  EXPECT_EQ(axis.Size(0), 0);
  axis.SetSize(1, TGridAxis::kMaxSize + 5);
  EXPECT_EQ(axis.Size(1), TGridAxis::kMaxSize);
  EXPECT_EQ(axis.Size(7), 1);  // outside: the default
}

TEST(GridAxis, ANewDefaultResetsEveryItem) {
  TGridAxis axis;
  axis.SetCount(3);
  axis.SetSize(1, 40);
  axis.SetDefaultSize(30);
  EXPECT_EQ(axis.Size(1), 30);
  EXPECT_EQ(axis.OwnSizeCount(), 0);
}

TEST(GridAxis, ShrinkingForgetsTheSizesOfItemsThatWentAway) {
  TGridAxis axis;
  axis.SetDefaultSize(10);
  axis.SetCount(5);
  axis.SetSize(4, 99);
  axis.SetCount(3);
  axis.SetCount(5);
  EXPECT_EQ(axis.Size(4), 10);
}

}  // namespace
}  // namespace kelvora
