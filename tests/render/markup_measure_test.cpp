#include "grid/render/markup_measure.h"

#include <gtest/gtest.h>

#include <string>

#include "toolkit/recording_canvas.h"

namespace kelvora {
namespace {

constexpr int kUnbounded = 65535;

// A 20-pixel font: every byte is 10 pixels wide and every line 22 high.
class MarkupMeasure : public ::testing::Test {
 protected:
  MarkupMeasure() { canvas.Font().Height = -20; }

  TSize Measure(std::string_view text, int maxWidth = kUnbounded, int maxHeight = kUnbounded) {
    return MeasureMarkup(canvas, text, maxWidth, maxHeight);
  }

  TRecordingCanvas canvas;
  const int w = 10;
  const int h = 22;
};

TEST_F(MarkupMeasure, MeasuresTheTextWithoutItsTags) {
  EXPECT_EQ(Measure("<B>ab</B>"), (TSize{2 * w, h}));
  EXPECT_EQ(Measure("<FONT color=\"clRed\">red</FONT> <I>x</I>"), (TSize{5 * w, h}));
}

TEST_F(MarkupMeasure, CountsEveryBreakAsALine) {
  EXPECT_EQ(Measure("a<BR>bcd"), (TSize{3 * w, 2 * h}));
  EXPECT_EQ(Measure("<B>abcd</B><hr>x<br>yz"), (TSize{4 * w, 3 * h}));
  EXPECT_EQ(Measure("<B>ab</B>\r\ncde"), (TSize{3 * w, 2 * h}));
}

TEST_F(MarkupMeasure, GivesAnEmptyTextOneLine) {
  EXPECT_EQ(Measure("<B></B>"), (TSize{0, h}));
}

TEST_F(MarkupMeasure, StopsAtATagThatNeverCloses) {
  EXPECT_EQ(Measure("ab<B"), (TSize{2 * w, h}));
}

TEST_F(MarkupMeasure, FollowsTheCurrentFont) {
  canvas.Font().Height = -8;
  EXPECT_EQ(Measure("<B>abc</B>"), (TSize{3 * 4, 10}));
}

TEST_F(MarkupMeasure, StaysInsideTheRectangle) {
  EXPECT_EQ(Measure("<B>" + std::string(100, 'x') + "</B>", 300, kUnbounded), (TSize{300, h}));
  EXPECT_EQ(Measure("a<BR>b<BR>c<BR>d", kUnbounded, 50), (TSize{w, 50}));
}

TEST_F(MarkupMeasure, DrawsNothing) {
  Measure("<B>ab</B><BR>cd");
  EXPECT_TRUE(canvas.Calls().empty());
}

}  // namespace
}  // namespace kelvora
