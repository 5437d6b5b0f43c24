#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "toolkit/qt_canvas.h"
#include "toolkit/recording_canvas.h"

namespace kelvora {
namespace {

// The same questions put to the Qt canvas and to the recording canvas: their
// numbers differ, but painting code tested on one must behave alike on the
// other.
struct CanvasKind {
  const char* name;
  std::function<std::unique_ptr<TCanvas>()> make;
};

std::unique_ptr<TCanvas> MakeQt() {
  auto canvas = std::make_unique<TQtCanvas>(TQtCanvas::ForMeasuring());
  return canvas;
}

class CanvasAgreement : public ::testing::TestWithParam<CanvasKind> {
 protected:
  void SetUp() override {
    canvas = GetParam().make();
    canvas->Font().Height = -13;
  }
  std::unique_ptr<TCanvas> canvas;
};

TEST_P(CanvasAgreement, ALongerTextIsWiderAndAsHigh) {
  const TSize shorter = canvas->TextExtent("Date");
  const TSize longer = canvas->TextExtent("Date: Mon");
  EXPECT_GT(longer.cx, shorter.cx);
  EXPECT_EQ(longer.cy, shorter.cy);
  EXPECT_GT(shorter.cy, 0);
  EXPECT_EQ(canvas->TextWidth(""), 0);
}

TEST_P(CanvasAgreement, CalcRectGrowsByALineForEachLine) {
  TRect one{3, 4, 3, 4};
  const int lineHeight = canvas->DrawText("Sat", one, {tfCalcRect});
  TRect three{3, 4, 3, 4};
  EXPECT_EQ(canvas->DrawText("Sat\r\n12\nSaturday", three, {tfCalcRect}), 3 * lineHeight);
  EXPECT_EQ(three.Left, 3);
  EXPECT_EQ(three.Top, 4);
  EXPECT_EQ(three.Height(), 3 * one.Height());
  EXPECT_EQ(three.Width(), canvas->TextWidth("Saturday"));
}

TEST_P(CanvasAgreement, WordBreakWrapsAtTheRectangleWidth) {
  const int width = canvas->TextWidth("one two");
  TRect rect{0, 0, width, 0};
  canvas->DrawText("one two three four", rect, {tfWordBreak, tfCalcRect});
  EXPECT_EQ(rect.Height(), 3 * canvas->TextHeight("x"));  // "one two", "three", "four"
  EXPECT_LE(rect.Width(), width);
}

TEST_P(CanvasAgreement, FitCountGrowsWithTheWidthInWholeCharacters) {
  const std::string text = "Z\xC3\xBCrich \xE2\x82\xAC 12";  // two- and three-byte characters
  int previous = 0;
  for (int width = 0; width <= canvas->TextWidth(text); ++width) {
    TSize extent;
    const int bytes = canvas->TextFitCount(text, width, &extent);
    ASSERT_GE(bytes, previous);
    ASSERT_LE(extent.cx, width);
    if (bytes < static_cast<int>(text.size())) {
      const auto next = static_cast<unsigned char>(text[static_cast<std::size_t>(bytes)]);
      ASSERT_NE(next & 0xC0, 0x80) << "cut at " << bytes;
    }
    previous = bytes;
  }
  EXPECT_EQ(previous, static_cast<int>(text.size()));
}

INSTANTIATE_TEST_SUITE_P(BothCanvases, CanvasAgreement,
                         ::testing::Values(CanvasKind{"Qt", MakeQt},
                                           CanvasKind{"Recording",
                                                      [] { return std::make_unique<TRecordingCanvas>(); }}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelvora
