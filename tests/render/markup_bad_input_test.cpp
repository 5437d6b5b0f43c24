#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "grid/render/markup_layout.h"
#include "grid/render/strip_markup.h"
#include "common/recorded_calls.h"
#include "markup_test_support.h"

namespace kelvora {
namespace {

using testing::Drawn;
using testing::kPlain;
using testing::MarkupSurface;

int DrawTextCalls(const TRecordingCanvas& canvas) { return testing::Count(canvas.Calls(), "DrawText"); }

TFont FirstRunFont(std::string_view text) {
  MarkupSurface surface;
  TMarkupInput input;
  input.Text = text;
  input.Rect = {0, 0, 200, 100};
  const TMarkupLayout layout = LayoutMarkup(surface.canvas, input);
  return layout.Runs.empty() ? TFont{} : layout.Styles[static_cast<std::size_t>(layout.Runs.front().Style)].Font;
}

TEST(MarkupBadInput, UnclosedTagsAndQuotesEndQuietly) {
  MarkupSurface surface;
  EXPECT_EQ(surface.Draw("ab<B").PlainText, "ab");
  EXPECT_EQ(surface.Calls(), Drawn("ab", 0, 0, 20, 22, kPlain));
  // The quote never closes inside the tag: no colour.
  surface.Draw("<FONT color=\"clRed>b");
  EXPECT_EQ(surface.Calls(), Drawn("b", 0, 0, 10, 22, kPlain));
  surface.Draw("<FONT color=clRed>b");
  EXPECT_EQ(surface.Calls(), Drawn("b", 0, 0, 10, 22, kPlain));
  EXPECT_EQ(surface.Draw("<<<<").PlainText, "");
  EXPECT_EQ(surface.Draw(std::string("a\0<B>b\xff\xfe", 8)).PlainText, std::string("a\0b\xff\xfe", 5));
}

TEST(MarkupBadInput, FontSizesStayBetweenOneAnd3072Points) {
  EXPECT_EQ(FirstRunFont("<FONT size=\"0\">x").Height, -1);
  EXPECT_EQ(FirstRunFont("<FONT size=\"-40\">x").Height, -1);
  EXPECT_EQ(FirstRunFont("<FONT size=\"2147483647\">x").Height, -4096);
  EXPECT_EQ(FirstRunFont("<FONT size=\"big\">x").Height, -1);  // unreadable: 0, then 1 point
  EXPECT_EQ(FirstRunFont("<FONT size=\"\">x").Height, -20);   // no size: no change
  EXPECT_EQ(FirstRunFont("<FONT face=\"" + std::string(300, 'f') + "\">x").Name, "MS Sans Serif");
}

TEST(MarkupBadInput, AnyAngleTurnsWithinOneTurn) {
  for (const char* angle : {"-2147483648", "2147483647", "-1", "360", "720", "x"}) {
    const int orientation = FirstRunFont(std::string("<R a=\"") + angle + "\">x").Orientation;
    EXPECT_GE(orientation, 0) << angle;
    EXPECT_LT(orientation, 3600) << angle;
  }
  EXPECT_EQ(FirstRunFont("<R a=\"-90\">x").Orientation, 2700);
}

TEST(MarkupBadInput, ExtremeIndentsAndListsStayInRange) {
  MarkupSurface surface;
  surface.Draw("a<IND x=\"2147483647\">b<IND x=\"-2147483648\">c");
  EXPECT_NE(surface.Calls().find(Drawn("bc", 0, 22, 20, 44, kPlain)), std::string::npos) << surface.Calls();
  std::string lists;
  for (int i = 0; i < 100000; ++i) lists += "<UL>";
  lists += "<LI>x<LI>y";
  const TMarkupResult measured = surface.Measure(lists);
  EXPECT_GT(measured.Width, 12 * 60000);
  EXPECT_LT(measured.Width, 1 << 29);
  EXPECT_EQ(measured.Height, 44);
  surface.Draw(lists, {0, 0, 100, 100});
  EXPECT_EQ(surface.canvas.Calls().front(), "SetClipRect 0,0,100,100");
}

TEST(MarkupBadInput, AHugeTextIsPaintedAsFarAsItShows) {
  std::string text;
  while (text.size() < (std::size_t{10} << 20)) text += "<B>word</B> and <I>more</I> &amp; ";
  MarkupSurface surface;
  const TMarkupResult painted = surface.Draw(text, {0, 0, 120, 21});
  EXPECT_LE(DrawTextCalls(surface.canvas), 16);
  EXPECT_LT(painted.PlainText.size(), 4096u);
  // Measured, it wraps at 65535 pixels: about 4.9 million characters of
  // 10 pixels make some 750 lines.
  const TMarkupResult measured = surface.Measure(text);
  EXPECT_GT(measured.Height, 700 * 22);
  EXPECT_LE(measured.Width, 65535);
  // One word of ten megabytes is one line, cut off at the edge.
  surface.Draw(std::string(10 << 20, 'w'), {0, 0, 120, 21});
  EXPECT_EQ(DrawTextCalls(surface.canvas), 1);
}

TEST(MarkupBadInput, StripMarkupKeepsItsOwnRules) {
  // Entities stay, breaks become CR LF, where the renderer decodes and puts CR.
  EXPECT_EQ(StripMarkup("a&amp;b<BR>c"), "a&amp;b\r\nc");
  MarkupSurface surface;
  EXPECT_EQ(surface.Measure("a&amp;b<BR>c").PlainText, "a&b\rc");
}

}  // namespace
}  // namespace kelvora
