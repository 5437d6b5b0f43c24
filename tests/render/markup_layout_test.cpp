#include <gtest/gtest.h>

#include <QImage>

#include <string>

#include "grid/render/markup_layout.h"
#include "markup_test_support.h"

namespace kelvora {
namespace {

using testing::kPlain;
using testing::MarkupSurface;
using testing::Drawn;

const std::string kBold = kPlain + "/B";

class MarkupLayoutTest : public ::testing::Test {
 protected:
  std::string Lines(std::string_view text, TRect rect = {0, 0, 200, 100}) {
    surface.Draw(text, rect);
    return surface.Calls();
  }
  MarkupSurface surface;
};

TEST_F(MarkupLayoutTest, WordsOfOneLookAreDrawnAsOneRunOnTheLinesBottom) {
  EXPECT_EQ(Lines("<B>ab</B> cd"), Drawn("ab", 0, 0, 20, 22, kBold) + "\n" + Drawn(" cd", 20, 0, 50, 22, kPlain));
  const TMarkupResult result = surface.Measure("<B>ab</B> cd");
  EXPECT_EQ(result.Width, 50);
  EXPECT_EQ(result.Height, 22);
  EXPECT_EQ(result.PlainText, "ab cd");
}

TEST_F(MarkupLayoutTest, AWordThatDoesNotFitStartsTheNextLine) {
  EXPECT_EQ(Lines("aaa bbb ccc", {0, 0, 75, 100}),
            Drawn("aaa bbb", 0, 0, 70, 22, kPlain) + "\n" + Drawn("ccc", 0, 22, 30, 44, kPlain));
  // The trailing space is not counted: "aaa bbb " fits 70 pixels.
  EXPECT_EQ(Lines("aaa bbb ccc", {0, 0, 70, 100}),
            Drawn("aaa bbb", 0, 0, 70, 22, kPlain) + "\n" + Drawn("ccc", 0, 22, 30, 44, kPlain));
  EXPECT_EQ(Lines("aaa bbb ccc", {0, 0, 69, 100}),
            Drawn("aaa", 0, 0, 30, 22, kPlain) + "\n" + Drawn("bbb", 0, 22, 30, 44, kPlain) + "\n" +
                Drawn("ccc", 0, 44, 30, 66, kPlain));
}

TEST_F(MarkupLayoutTest, AWordWiderThanTheLineStandsAloneOnItsLine) {
  // It runs past the right edge, where the rectangle clips it.
  EXPECT_EQ(Lines("ab abcdefgh cd", {0, 0, 50, 100}),
            "SetClipRect 0,0,50,100\n" + Drawn("ab", 0, 0, 20, 22, kPlain) + "\n" +
                Drawn("abcdefgh", 0, 22, 80, 44, kPlain) + "\n" + Drawn("cd", 0, 44, 20, 66, kPlain) + "\nResetClip");
}

TEST_F(MarkupLayoutTest, PaintingStopsWhenTheNextLineWouldStartBelowTheBottom) {
  EXPECT_EQ(Lines("a<BR>b<BR>c", {0, 0, 200, 44}), Drawn("a", 0, 0, 10, 22, kPlain) + "\n" + Drawn("b", 0, 22, 10, 44, kPlain));
  // A line that starts inside is drawn whole; the surface clips it.
  surface.Draw("a<BR>b<BR>c", {0, 0, 200, 45});
  EXPECT_NE(surface.Calls().find(Drawn("c", 0, 44, 10, 66, kPlain)), std::string::npos);
  EXPECT_EQ(surface.Draw("a<BR>b<BR>c", {0, 0, 200, 44}).Height, 44);
}

TEST_F(MarkupLayoutTest, LinesAlignByTheirParagraph) {
  EXPECT_EQ(Lines("<P align=\"right\">ab </P>cd"), Drawn("ab", 180, 0, 200, 22, kPlain) + "\n" + Drawn("cd", 0, 22, 20, 44, kPlain));
  EXPECT_EQ(Lines("<P align=\"CENTER\">ab</P>"), Drawn("ab", 90, 0, 110, 22, kPlain));
  // The alignment holds for every line of the paragraph, the one it starts in too.
  EXPECT_EQ(Lines("a <P align=\"right\">b<BR>c</P>", {0, 0, 100, 100}),
            Drawn("a b", 70, 0, 100, 22, kPlain) + "\n" + Drawn("c", 90, 22, 100, 44, kPlain));
  // A line wider than the rectangle starts at its left.
  EXPECT_EQ(Lines("<P align=\"right\">abcdefgh</P>", {0, 0, 50, 100}),
            "SetClipRect 0,0,50,100\n" + Drawn("abcdefgh", 0, 0, 80, 22, kPlain) + "\nResetClip");
}

TEST_F(MarkupLayoutTest, TheHeightIsTheSumOfTheLinesOrOneLineWhenNoneHasAny) {
  EXPECT_EQ(surface.Measure("a<BR>b").Height, 44);
  EXPECT_EQ(surface.Measure("a<BR>b").PlainText, "a\rb");
  EXPECT_EQ(surface.Measure("a<BR><BR>b").Height, 44);  // an empty line has no height
  EXPECT_EQ(surface.Measure("<B></B>").Height, 22);
  EXPECT_EQ(surface.Measure("<B></B>").Width, 0);
  EXPECT_EQ(surface.Measure("").Height, 22);
}

TEST_F(MarkupLayoutTest, ScriptsGetAQuarterOfTheirHeightAsRoom) {
  EXPECT_EQ(Lines("a<SUP>b</SUP>c"),
            Drawn("a", 0, 5, 10, 27, kPlain) + "\n" + Drawn("b", 10, 0, 20, 22, kPlain) + "\n" + Drawn("c", 20, 5, 30, 27, kPlain));
  EXPECT_EQ(Lines("a<SUB>b</SUB>c"),
            Drawn("a", 0, 0, 10, 22, kPlain) + "\n" + Drawn("b", 10, 5, 20, 27, kPlain) + "\n" + Drawn("c", 20, 0, 30, 22, kPlain));
  EXPECT_EQ(surface.Measure("a<SUB>b</SUB><SUP>c</SUP>").Height, 32);
  // Any closing "</SU" ends both.
  EXPECT_EQ(surface.Measure("<SUB><SUP>a</SUPER>b").Height, 32);
}

TEST_F(MarkupLayoutTest, ListItemsIndentTwelvePixelsALevelWithTheirBullet) {
  const std::string symbol = "Symbol/-20/clBlack";
  EXPECT_EQ(Lines("<UL><LI>ab</UL>"), Drawn("\xE2\x80\xA2", 0, 0, 12, 22, symbol) + "\n" + Drawn("ab", 12, 0, 32, 22, kPlain));
  EXPECT_EQ(Lines("<UL><UL><LI>ab"), Drawn("o", 12, 0, 24, 22, symbol) + "\n" + Drawn("ab", 24, 0, 44, 22, kPlain));
  // A second item on one line starts a new line.
  EXPECT_EQ(Lines("<UL><LI>a<LI>b"), Drawn("\xE2\x80\xA2", 0, 0, 12, 22, symbol) + "\n" + Drawn("a", 12, 0, 22, 22, kPlain) + "\n" +
                                          Drawn("\xE2\x80\xA2", 0, 22, 12, 44, symbol) + "\n" + Drawn("b", 12, 22, 22, 44, kPlain));
  // Outside a list an item has no room and no bullet; bullets are no plain text.
  EXPECT_EQ(Lines("<LI>ab"), Drawn("ab", 0, 0, 20, 22, kPlain));
  EXPECT_EQ(surface.Measure("<UL><LI>ab").PlainText, "ab");
  EXPECT_EQ(surface.Measure("<UL><LI>ab").Width, 32);
}

TEST_F(MarkupLayoutTest, IndentMovesOnlyRightward) {
  EXPECT_EQ(Lines("a<IND x=\"50\">b"), Drawn("a", 0, 0, 10, 22, kPlain) + "\n" + Drawn("b", 50, 0, 60, 22, kPlain));
  EXPECT_EQ(Lines("abcdef<IND x=\"20\">g"), Drawn("abcdefg", 0, 0, 70, 22, kPlain));
}

TEST_F(MarkupLayoutTest, HiddenTextGoesOnlyIntoThePlainText) {
  EXPECT_EQ(Lines("a<Z>hidden </Z>b"), Drawn("a", 0, 0, 10, 22, kPlain) + "\n" + Drawn("b", 10, 0, 20, 22, kPlain));
  const TMarkupResult result = surface.Measure("a<Z>hidden </Z>b");
  EXPECT_EQ(result.PlainText, "ahidden b");
  EXPECT_EQ(result.Width, 20);
}

TEST_F(MarkupLayoutTest, EntitiesAreDecodedInWhatIsDrawnAndInThePlainText) {
  EXPECT_EQ(Lines("<B>&lt;x&GT;</B>"), Drawn("<x>", 0, 0, 30, 22, kBold));
  EXPECT_EQ(surface.Measure("a &amp; &Quot;b&quot; &nbsp;c").PlainText, "a & \"b\" &nbsp;c");
}

TEST_F(MarkupLayoutTest, FontSizeFollowsTheTagAndComesBack) {
  // 15 points are 20 pixels, 30 points 40.
  surface.canvas.Font().Height = -20;
  EXPECT_EQ(Lines("a<FONT size=\"30\">b</FONT>c"),
            Drawn("a", 0, 20, 10, 42, kPlain) + "\n" + Drawn("b", 10, 0, 30, 42, "MS Sans Serif/-40/clBlack") + "\n" +
                Drawn("c", 30, 20, 40, 42, kPlain));
}

class MarkupImageLayoutTest : public MarkupLayoutTest {
 protected:
  MarkupImageLayoutTest() {
    QImage image(16, 30, QImage::Format_RGB32);
    image.fill(Qt::red);
    images.Add(TBitmap(image));
  }
  std::string LinesWithImages(std::string_view text, TRect rect = {0, 0, 200, 100}) {
    TMarkupInput input;
    input.Text = text;
    input.Rect = rect;
    input.Images = &images;
    surface.Draw(input);
    return surface.Calls();
  }
  TImageList images;
};

TEST_F(MarkupImageLayoutTest, AnImageWidensAndHeightensItsLine) {
  EXPECT_EQ(LinesWithImages("a<IMG src=\"idx:0\">b"),
            Drawn("a", 0, 8, 10, 30, kPlain) + "\n" + Drawn("b", 26, 8, 36, 30, kPlain) + "\nDraw 10,0 bitmap=16x30");
  EXPECT_EQ(LinesWithImages("a<IMG src=\"IDX:0\" align=\"top\">b"),
            Drawn("a", 0, 0, 10, 22, kPlain) + "\n" + Drawn("b", 26, 0, 36, 22, kPlain) + "\nDraw 10,0 bitmap=16x30");
  EXPECT_EQ(LinesWithImages("a<IMG src=\"idx:0\" align=\"middle\">b"),
            Drawn("a", 0, 4, 10, 26, kPlain) + "\n" + Drawn("b", 26, 4, 36, 26, kPlain) + "\nDraw 10,0 bitmap=16x30");
}

TEST_F(MarkupImageLayoutTest, AnImageThatDoesNotFitEndsTheLine) {
  EXPECT_EQ(LinesWithImages("abc<IMG src=\"idx:0\">", {0, 0, 40, 100}), Drawn("abc", 0, 0, 30, 22, kPlain) + "\nDraw 0,22 bitmap=16x30");
}

TEST_F(MarkupImageLayoutTest, IndexesBeyondTheListAreSkipped) {
  EXPECT_EQ(LinesWithImages("a<IMG src=\"idx:1\"><IMG src=\"idx:-1\"><IMG src=\"idx:99999999999\">b"), Drawn("ab", 0, 0, 20, 22, kPlain));
  EXPECT_EQ(Lines("a<IMG src=\"idx:0\">b"), Drawn("ab", 0, 0, 20, 22, kPlain));  // no list at all
  // An unreadable index counts as 0.
  EXPECT_NE(LinesWithImages("<IMG src=\"idx:x\">").find("Draw 0,0 bitmap=16x30"), std::string::npos);
}

TEST(MarkupLayout, KeepsThePiecesOfEachLine) {
  MarkupSurface surface;
  TMarkupInput input;
  input.Text = "<P bgcolor=\"clYellow\">a</P>b<HR>";
  input.Rect = {5, 7, 200, 100};
  const TMarkupLayout layout = LayoutMarkup(surface.canvas, input);
  ASSERT_EQ(layout.Lines.size(), 2u);
  EXPECT_EQ(layout.Lines[0].Top, 7);
  EXPECT_EQ(layout.Lines[0].Fill, clYellow);
  EXPECT_EQ(layout.Lines[1].Fill, clNone);
  EXPECT_TRUE(layout.Lines[1].Rule);
  EXPECT_EQ(layout.Height, 44);
  ASSERT_EQ(layout.Runs.size(), 2u);
  EXPECT_EQ(layout.Runs[1].Box, (TRect{5, 29, 15, 51}));
}

}  // namespace
}  // namespace kelvora

namespace kelvora {
namespace {

// Printing scales what is counted in screen pixels: list indents, indents,
// pictures and the shadow offset; fonts come in the printer's size already.
TEST(MarkupLayout, PrintingScalesPixelDistances) {
  testing::MarkupSurface surface;
  TMarkupInput input;
  input.Text = "<UL><LI>a<IND x=\"100\"><SHAD>b";
  input.Rect = {0, 0, 400, 100};
  input.Printing = true;
  input.PrintScale = 2;
  surface.Draw(input);
  const std::string symbol = "Symbol/-20/clBlack";
  EXPECT_EQ(surface.Calls(), testing::Drawn("\xE2\x80\xA2", 0, 0, 24, 22, symbol) + "\n" +
                                 testing::Drawn("a", 24, 0, 34, 22, testing::kPlain) + "\n" +
                                 testing::Drawn("b", 202, 2, 212, 24, "MS Sans Serif/-20/clGray") + "\n" +
                                 testing::Drawn("b", 200, 0, 210, 22, testing::kPlain));
  input.PrintScale = 2;
  input.Printing = false;
  surface.Draw(input);
  EXPECT_NE(surface.Calls().find(testing::Drawn("b", 100, 0, 110, 22, testing::kPlain)), std::string::npos);
}

}  // namespace
}  // namespace kelvora
