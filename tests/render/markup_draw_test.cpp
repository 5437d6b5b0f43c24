#include <gtest/gtest.h>

#include <string>

#include "markup_test_support.h"

namespace kelvora {
namespace {

using testing::Drawn;
using testing::kPlain;
using testing::MarkupSurface;

bool Has(const std::string& calls, const std::string& call) { return calls.find(call) != std::string::npos; }

class MarkupDrawTest : public ::testing::Test {
 protected:
  std::string Calls(std::string_view text, TRect rect = {0, 0, 200, 100}) {
    surface.Draw(text, rect);
    return surface.Calls();
  }
  MarkupSurface surface;
};

TEST_F(MarkupDrawTest, LeavesTheSurfaceAsItFoundIt) {
  TCanvas& canvas = surface.canvas;
  canvas.Pen() = TPen{clGreen, 3, psDot};
  canvas.MoveTo(7, 9);
  const TFont font = canvas.Font();
  const TBrush brush = canvas.Brush();
  surface.Draw("<FONT face=\"Arial\" color=\"clRed\" bgcolor=\"clLime\" size=\"30\"><B><R a=\"45\">x<HR>"
               "<P bgcolor=\"clBlue\"><BODY bgcolor=\"clAqua\"><A href=\"x\">y");
  EXPECT_EQ(canvas.Font(), font);
  EXPECT_EQ(canvas.Brush(), brush);
  EXPECT_EQ(canvas.Pen(), (TPen{clGreen, 3, psDot}));
  EXPECT_EQ(canvas.PenPos(), (TPoint{7, 9}));
  EXPECT_FALSE(canvas.TransparentText());
  EXPECT_FALSE(canvas.ClipRect().has_value());
}

TEST_F(MarkupDrawTest, DrawsTextWithATransparentBackground) {
  surface.canvas.Brush() = TBrush{clWhite, bsSolid};
  EXPECT_FALSE(Has(Calls("<B>ab</B>"), "bg="));
}

TEST_F(MarkupDrawTest, StylesFollowTheirTags) {
  EXPECT_EQ(Calls("<B>a<I>b</B>c</I><U>d<S>e</U></S>"),
            Drawn("a", 0, 0, 10, 22, kPlain + "/B") + "\n" + Drawn("b", 10, 0, 20, 22, kPlain + "/BI") + "\n" +
                Drawn("c", 20, 0, 30, 22, kPlain + "/I") + "\n" + Drawn("d", 30, 0, 40, 22, kPlain + "/U") + "\n" +
                Drawn("e", 40, 0, 50, 22, kPlain + "/US"));
}

TEST_F(MarkupDrawTest, FontsComeBackToTheOneInForceBefore) {
  const std::string red = "MS Sans Serif/-20/clRed";
  EXPECT_EQ(Calls("<FONT color=\"clRed\">a<FONT color=\"#0000FF\" face=\"Arial\">b</FONT>c</FONT>d"),
            Drawn("a", 0, 0, 10, 22, red) + "\n" + Drawn("b", 10, 0, 20, 22, "Arial/-20/clBlue") + "\n" +
                Drawn("c", 20, 0, 30, 22, red) + "\n" + Drawn("d", 30, 0, 40, 22, kPlain));
  // Also when the font spans lines, and when a </FONT> has no <FONT>.
  EXPECT_EQ(Calls("<FONT color=\"clRed\">a<BR>b</FONT>c</FONT>"),
            Drawn("a", 0, 0, 10, 22, red) + "\n" + Drawn("b", 0, 22, 10, 44, red) + "\n" + Drawn("c", 10, 22, 20, 44, kPlain));
}

TEST_F(MarkupDrawTest, ATextBackgroundIsFilledUnderItsWords) {
  EXPECT_EQ(Calls("<FONT bgcolor=\"clYellow\">ab</FONT>c"),
            "FillRect 0,0,20,22 brush=clYellow\n" + Drawn("ab", 0, 0, 20, 22, kPlain) + "\n" +
                Drawn("c", 20, 0, 30, 22, kPlain));
}

TEST_F(MarkupDrawTest, LinksAreUnderlinedInTheLinkColour) {
  TMarkupInput input;
  input.Text = "a <A href=\"http://x\">go</A> b";
  input.Rect = {0, 0, 200, 100};
  input.LinkColor = clFuchsia;
  surface.Draw(input);
  EXPECT_EQ(surface.Calls(), Drawn("a ", 0, 0, 20, 22, kPlain) + "\n" +
                                 Drawn("go", 20, 0, 40, 22, "MS Sans Serif/-20/clFuchsia/U") + "\n" +
                                 Drawn(" b", 40, 0, 60, 22, kPlain));
  // The hovered link takes the hover colours.
  input.Text = "<A href=\"1\">a</A><A href=\"2\">b</A>";
  input.HoverLink = 1;
  input.HoverTextColor = clRed;
  input.HoverLinkColor = clYellow;
  surface.Draw(input);
  EXPECT_EQ(surface.Calls(), Drawn("a", 0, 0, 10, 22, "MS Sans Serif/-20/clFuchsia/U") +
                                 "\nFillRect 10,0,20,22 brush=clYellow\n" +
                                 Drawn("b", 10, 0, 20, 22, "MS Sans Serif/-20/clRed/U"));
}

TEST_F(MarkupDrawTest, AShadowIsDrawnFirstOffsetInItsColour) {
  EXPECT_EQ(Calls("<SHAD>ab</SHAD>c"),
            Drawn("ab", 1, 1, 21, 23, "MS Sans Serif/-20/clGray") + "\n" + Drawn("ab", 0, 0, 20, 22, kPlain) + "\n" +
                Drawn("c", 20, 0, 30, 22, kPlain));
  TMarkupInput input;
  input.Text = "<SHAD>a";
  input.Rect = {0, 0, 200, 100};
  input.ShadowColor = clSilver;
  input.ShadowOffset = 3;
  surface.Draw(input);
  EXPECT_TRUE(Has(surface.Calls(), Drawn("a", 3, 3, 13, 25, "MS Sans Serif/-20/clSilver")));
}

TEST_F(MarkupDrawTest, BlinkingTextTakesTheCellBackgroundWhileThePhaseIsOff) {
  TMarkupInput input;
  input.Text = "<BLINK>ab</BLINK>c";
  input.Rect = {0, 0, 200, 100};
  input.BlinkPhase = true;
  surface.Draw(input);
  EXPECT_EQ(surface.Calls(), Drawn("ab", 0, 0, 20, 22, kPlain) + "\n" + Drawn("c", 20, 0, 30, 22, kPlain));
  input.BlinkPhase = false;
  surface.canvas.Brush().Color = clInfoBk;
  surface.Draw(input);
  EXPECT_EQ(surface.Calls(), Drawn("ab", 0, 0, 20, 22, "MS Sans Serif/-20/clInfoBk") + "\n" + Drawn("c", 20, 0, 30, 22, kPlain));
}

TEST_F(MarkupDrawTest, ParagraphBackgroundsFillTheirLinesAcrossTheRectangle) {
  EXPECT_EQ(Calls("<P bgcolor=\"clYellow\">a<BR>b</P>c", {5, 0, 105, 100}),
            "FillRect 5,0,105,22 brush=clYellow\nFillRect 5,22,105,44 brush=clYellow\n" +
                Drawn("a", 5, 0, 15, 22, kPlain) + "\n" + Drawn("b", 5, 22, 15, 44, kPlain) + "\n" +
                Drawn("c", 5, 44, 15, 66, kPlain));
}

TEST_F(MarkupDrawTest, ARuleRunsAcrossTheRectangleUnderItsLine) {
  EXPECT_EQ(Calls("a<HR>b", {5, 0, 105, 100}), Drawn("a", 5, 0, 15, 22, kPlain) + "\n" + Drawn("b", 5, 22, 15, 44, kPlain) +
                                                    "\nLineTo 105,22 from=5,22 pen=clBlack/1");
}

TEST_F(MarkupDrawTest, TheBodyColourFillsTheRectangleFirst) {
  EXPECT_EQ(Calls("a<BODY bgcolor=\"clTeal\">", {5, 6, 105, 50}),
            "FillRect 5,6,105,50 brush=clTeal\n" + Drawn("a", 5, 6, 15, 28, kPlain));
}

TEST_F(MarkupDrawTest, RotatedTextTurnsWithinTheRectanglesClip) {
  surface.canvas.SetClipRect({0, 0, 50, 50});
  EXPECT_EQ(Calls("<R a=\"90\">ab</R>c"),
            "SetClipRect 0,0,50,50\n" + Drawn("ab", 0, 0, 20, 22, kPlain + "/turn=900") + "\n" +
                Drawn("c", 20, 0, 30, 22, kPlain) + "\nSetClipRect 0,0,50,50");
  EXPECT_EQ(Calls("<R a=\"-90\">a<R a=\"725\">b"),
            "SetClipRect 0,0,50,50\n" + Drawn("a", 0, 0, 10, 22, kPlain + "/turn=2700") + "\n" +
                Drawn("b", 10, 0, 20, 22, kPlain + "/turn=50") + "\nSetClipRect 0,0,50,50");
}

TEST_F(MarkupDrawTest, MeasuringDrawsNothing) {
  surface.Measure("<BODY bgcolor=\"clRed\"><P bgcolor=\"clRed\">a<HR><SHAD>b<UL><LI>c");
  EXPECT_EQ(surface.Calls(), "");
}

class MarkupHitTest : public ::testing::Test {
 protected:
  TMarkupResult HitAt(int x, int y, bool measureOnly = false) {
    TMarkupInput input;
    input.Text = "ab <A href=\"http://x\">link</A> <A href=\"mailto:y\">two</A>";
    input.Rect = {0, 0, 200, 100};
    input.HitPoint = {x, y};
    input.MeasureOnly = measureOnly;
    return surface.Draw(input);
  }
  MarkupSurface surface;
};

TEST_F(MarkupHitTest, APointStrictlyInsideALinkedWordHitsIt) {
  const TMarkupResult hit = HitAt(31, 1);
  EXPECT_TRUE(hit.OnLink);
  EXPECT_EQ(hit.Anchor, "http://x");
  EXPECT_EQ(hit.LinkIndex, 0);
  EXPECT_EQ(hit.LinkRect, (TRect{30, 0, 70, 22}));
  const TMarkupResult second = HitAt(100, 10, true);
  EXPECT_TRUE(second.OnLink);
  EXPECT_EQ(second.Anchor, "mailto:y");
  EXPECT_EQ(second.LinkIndex, 1);
}

TEST_F(MarkupHitTest, EdgesAndTheSpaceBetweenLinksHitNothing) {
  for (const TPoint p : {TPoint{30, 10}, TPoint{70, 10}, TPoint{50, 0}, TPoint{50, 22}, TPoint{75, 10}, TPoint{10, 10},
                         TPoint{-1, -1}}) {
    const TMarkupResult miss = HitAt(p.X, p.Y);
    EXPECT_FALSE(miss.OnLink) << p.X << "," << p.Y;
    EXPECT_EQ(miss.Anchor, "");
    EXPECT_EQ(miss.LinkIndex, -1);
  }
}

}  // namespace
}  // namespace kelvora
