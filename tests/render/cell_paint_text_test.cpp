// The text of a cell: which kind it is drawn as, what is shown of it, and
// where and how it is laid out.
#include "cell_paint_fixture.h"

namespace kelvora::paint_test {
namespace {

// The text drawn, as the record writes it, and its flags.
struct TDrawn {
  std::string text;
  std::string rect;
  std::string flags;
  std::string font;
};

TDrawn Drawn(const std::string& call) {
  // DrawText "TEXT" L,T,R,B flags=FLAGS font=FONT
  const std::size_t textEnd = call.rfind("\" ");
  const std::size_t rectStart = textEnd + 2;
  const std::size_t flagsAt = call.find(" flags=", rectStart);
  const std::size_t fontAt = call.find(" font=", flagsAt);
  return {call.substr(10, textEnd - 10), call.substr(rectStart, flagsAt - rectStart),
          call.substr(flagsAt + 7, fontAt - flagsAt - 7), call.substr(fontAt + 6)};
}

class CellPaintText : public CellPaint {
 protected:
  TDrawn PaintText(const std::string& text, TGridDrawState state = {}) {
    host.Text = text;
    PaintNormal(state);
    return Drawn(Only("DrawText"));
  }
};

TEST_F(CellPaintText, LaysOutByAlignmentPlacementAndReadingOrder) {
  struct TCase {
    const char* name;
    std::function<void(TCellPaintSettings&, TFakeHost&)> arrange;
    const char* flags;
  };
  const std::vector<TCase> cases = {
      {"left, top", [](TCellPaintSettings&, TFakeHost&) {}, "SingleLine|NoPrefix|ExpandTabs"},
      {"right", [](TCellPaintSettings&, TFakeHost& h) { h.Alignment = taRightJustify; },
       "SingleLine|Right|NoPrefix|ExpandTabs"},
      {"centre", [](TCellPaintSettings&, TFakeHost& h) { h.Alignment = taCenter; },
       "SingleLine|Center|NoPrefix|ExpandTabs"},
      {"vertical centre", [](TCellPaintSettings& s, TFakeHost&) { s.VAlignment = vtaCenter; },
       "SingleLine|VCenter|NoPrefix|ExpandTabs"},
      {"bottom", [](TCellPaintSettings& s, TFakeHost&) { s.VAlignment = vtaBottom; },
       "SingleLine|Bottom|NoPrefix|ExpandTabs"},
      {"right to left", [](TCellPaintSettings& s, TFakeHost&) { s.RightToLeft = true; },
       "SingleLine|NoPrefix|ExpandTabs|RtlReading"},
      {"word wrap", [](TCellPaintSettings& s, TFakeHost&) { s.WordWrap = true; },
       "WordBreak|EditControl|NoPrefix|ExpandTabs"},
  };
  const TCellPaintSettings original = settings;
  for (const TCase& c : cases) {
    settings = original;
    host.Alignment = taLeftJustify;
    c.arrange(settings, host);
    const TDrawn drawn = PaintText("12");
    EXPECT_EQ(drawn.flags, c.flags) << c.name;
    EXPECT_EQ(drawn.rect, "102,42,158,60") << c.name;
  }
}

TEST_F(CellPaintText, ShowsTheFirstLineUnlessEveryLineIsAsked) {
  EXPECT_EQ(PaintText("ab\r\ncd").text, "ab");
  EXPECT_EQ(PaintText("ab\ncd").text, "ab\\ncd");  // a lone line feed ends nothing
  settings.Multilinecells = true;
  const TDrawn lines = PaintText("ab\r\ncd");
  EXPECT_EQ(lines.text, "ab\\r\\ncd");
  EXPECT_EQ(lines.flags, "NoPrefix|ExpandTabs");
  EXPECT_EQ(PaintText("no break").flags, "SingleLine|NoPrefix|ExpandTabs");
}

TEST_F(CellPaintText, LinksAreUnderlinedInTheLinkColourAndShownShort) {
  settings.URLShow = true;
  settings.URLColor = clPurple;
  TDrawn drawn = PaintText("see http://x.y");
  EXPECT_EQ(drawn.text, "x.y");
  EXPECT_EQ(drawn.font, "Sans/-10/clPurple/U");
  EXPECT_EQ(PaintText("mailto:me@x").text, "me@x");
  settings.URLFull = true;
  EXPECT_EQ(PaintText("see http://x.y").text, "see http://x.y");
  EXPECT_EQ(PaintText("no link").font, "Sans/-10/clNavy");
  settings.URLShow = false;
  EXPECT_EQ(PaintText("http://x.y").font, "Sans/-10/clNavy");
}

// 56 pixels for the text: eleven bytes of 5 pixels, "..." takes three.
TEST_F(CellPaintText, CutsTooLongTextWithAnEllipsisWhenAsked) {
  EXPECT_EQ(PaintText("abcdefghijklmnop").text, "abcdefghijklmnop");
  settings.EnhTextSize = true;
  EXPECT_EQ(PaintText("abcdefghijklmnop").text, "abcdefgh...");
  EXPECT_EQ(PaintText("abcdefghijk").text, "abcdefghijk");
  // Whole characters only: each "é" is two bytes.
  EXPECT_EQ(PaintText("\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9").text, "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9...");
  // Only the shown part is cut: the protocol goes first.
  settings.URLShow = true;
  EXPECT_EQ(PaintText("http://abcdefghijklmnop").text, "abcdefgh...");
}

TEST_F(CellPaintText, ACellNarrowerThanTheEllipsisShowsNothingAndStaysInside) {
  settings.EnhTextSize = true;
  host.Text = "abcdef";
  Paint(3, 5, {}, {100, 40, 110, 60});
  const TDrawn drawn = Drawn(Only("DrawText"));
  EXPECT_EQ(drawn.text, "");
  EXPECT_EQ(drawn.rect, "102,42,108,60");
  Paint(3, 5, {}, {100, 40, 101, 41});
  EXPECT_EQ(Drawn(Only("DrawText")).rect, "101,41,101,41");
}

TEST_F(CellPaintText, TheSortColumnHeaderKeepsRoomForItsGlyph) {
  settings.SortShow = true;
  settings.SortColumn = 3;
  settings.EnhTextSize = true;
  host.Alignment = taCenter;
  host.Text = "abcdefghij";  // the fixed font: 60 pixels, and 32 left after the room
  Paint(3, 0, {gdFixed}, kCell, clBtnFace);
  const TDrawn drawn = Drawn(Only("DrawText"));
  EXPECT_EQ(drawn.rect, "112,42,144,60");  // the text stops before the glyph
  EXPECT_EQ(drawn.text, "ab...");
  EXPECT_EQ(Calls("LineTo").size(), 4u);  // the glyph
  // Not a header: too few rows.
  settings.Areas.RowCount = 2;
  Paint(3, 0, {gdFixed}, kCell, clBtnFace);
  EXPECT_TRUE(Calls("LineTo").empty());
}

// Several sort columns: each header shows its direction and its rank, and
// the text stops before them.
TEST_F(CellPaintText, SortHeadersShowDirectionAndRankBesideTheirText) {
  const TSortMark marks[] = {{5, 1, false}, {3, 2, true}};
  settings.SortShow = true;
  settings.SortColumn = 5;
  settings.SortMarks = marks;
  host.Text = "abcdefghij";
  Paint(3, 0, {gdFixed}, kCell, clBtnFace);
  const std::vector<std::string> texts = Calls("DrawText");
  ASSERT_EQ(texts.size(), 2u);
  const TDrawn text = Drawn(texts[0]);
  const TDrawn rank = Drawn(texts[1]);
  EXPECT_EQ(rank.text, "2");
  const int textRight = std::stoi(text.rect.substr(text.rect.find(',', text.rect.find(',') + 1) + 1));
  const int rankLeft = std::stoi(rank.rect);
  EXPECT_LT(textRight, rankLeft);
  const std::vector<std::string> down = Calls("LineTo");
  ASSERT_EQ(down.size(), 4u);
  Paint(5, 0, {gdFixed}, kCell, clBtnFace);  // ascending: the triangle turns over
  const std::vector<std::string> up = Calls("LineTo");
  ASSERT_EQ(up.size(), 4u);
  EXPECT_NE(down, up);
}

TEST_F(CellPaintText, AFormulaIsDrawnAsThePlainTextItsHookMakes) {
  EXPECT_EQ(PaintText("=<B>x</B>").text, "=<B>x</B>");
  EXPECT_TRUE(MarkupCalls().empty());
  host.Formula = [](std::string& text) { text = "42"; };
  EXPECT_EQ(PaintText("=6*7").text, "42");
}

TEST_F(CellPaintText, MarkupGoesToTheRendererWithTheCellsLook) {
  TImageList images;
  settings.GridImages = &images;
  settings.BlinkPhase = true;
  settings.URLColor = clPurple;
  host.Text = "<B>bold</B>";
  PaintNormal();
  ASSERT_EQ(MarkupCalls().size(), 1u);
  const TMarkupCall& call = MarkupCalls()[0];
  EXPECT_EQ(call.Text, "<B>bold</B>");
  EXPECT_EQ(call.Rect, (TRect{102, 42, 160, 60}));
  EXPECT_EQ(call.Images, &images);
  EXPECT_EQ(call.HitPoint, (TPoint{-1, -1}));
  EXPECT_EQ(call.LinkColor, clPurple);
  EXPECT_TRUE(call.BlinkPhase);
  EXPECT_FALSE(call.MeasureOnly);
  EXPECT_EQ(call.Font, "Sans/-10/clNavy");
  EXPECT_EQ(call.Brush, clWhite);
  // The renderer draws inside the cell only.
  EXPECT_EQ(Calls("SetClipRect").front(), "SetClipRect 100,40,160,60");
  EXPECT_TRUE(Calls("DrawText").empty());
}

TEST_F(CellPaintText, MarkupOfASelectedCellGetsTheSelectionsColours) {
  settings.SelectionColor = clGreen;
  settings.SelectionTextColor = clLime;
  settings.BlinkPhase = false;
  host.Text = "a</I>";
  PaintNormal({gdSelected});
  ASSERT_EQ(MarkupCalls().size(), 1u);
  EXPECT_EQ(MarkupCalls()[0].LinkColor, clLime);
  EXPECT_EQ(MarkupCalls()[0].Font, "Sans/-10/clLime");
  EXPECT_EQ(MarkupCalls()[0].Brush, clGreen);
  EXPECT_FALSE(MarkupCalls()[0].BlinkPhase);
}

TEST_F(CellPaintText, TheMarkupSortHeaderLeavesTenPixels) {
  settings.SortShow = true;
  settings.SortColumn = 3;
  host.Text = "<I>h</I>";
  Paint(3, 0, {gdFixed}, kCell, clBtnFace);
  ASSERT_EQ(MarkupCalls().size(), 1u);
  EXPECT_EQ(MarkupCalls()[0].Rect, (TRect{102, 42, 150, 60}));
  EXPECT_EQ(Calls("LineTo").size(), 4u);
}

TEST_F(CellPaintText, KindsFollowTheContentRule) {
  for (const char* plain : {"<", "<b>lower bold", "no tags"}) {
    host.Text = plain;
    PaintNormal();
    EXPECT_EQ(Calls("DrawText").size(), 1u) << plain;
  }
  for (const char* markup : {"<BR>", "a</b>", "<I>x"}) {
    MarkupCalls().clear();
    host.Text = markup;
    PaintNormal();
    EXPECT_EQ(MarkupCalls().size(), 1u) << markup;
  }
  settings.EnableHTML = false;
  MarkupCalls().clear();
  EXPECT_EQ(PaintText("<B>x</B>").text, "<B>x</B>");
  EXPECT_TRUE(MarkupCalls().empty());
}

// Laid out as mark-up is, inset as mark-up is, in the cell's font where the
// document names none, and clipped to the cell.
TEST_F(CellPaintText, RichTextIsDrawnFormattedOverTheCellsColour) {
  host.Text = "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}plain \\b\\cf1 red\\plain\\par second}";
  PaintNormal();
  EXPECT_EQ(Only("Rectangle"), "Rectangle 100,40,160,60 pen=clWhite/1 brush=clWhite");
  const std::string flags = " flags=SingleLine|Bottom|NoPrefix|ExpandTabs|NoClip font=Sans/-10/";
  EXPECT_EQ(Calls("DrawText"), (std::vector<std::string>{"DrawText \"plain \" 102,42,132,54" + flags + "clNavy",
                                                         "DrawText \"red\" 132,42,147,54" + flags + "clRed/B",
                                                         "DrawText \"second\" 102,54,132,66" + flags + "clNavy"}));
  EXPECT_EQ(Calls("SetClipRect").front(), "SetClipRect 100,40,160,60");
  EXPECT_EQ(canvas.Brush().Style, bsSolid);
  // Selected, the text without a colour of its own takes the selection's.
  PaintNormal({gdSelected});
  EXPECT_EQ(Calls("DrawText").front(), "DrawText \"plain \" 102,42,132,54" + flags + "clHighlightText");
  // A selection without its own colour leaves the cell as it is.
  settings.SelectionColor = clNone;
  PaintNormal({gdSelected});
  EXPECT_TRUE(Calls("Rectangle").empty());
}

TEST_F(CellPaintText, APasswordShowsOneCharacterForEachOfTheText) {
  host.Password = true;
  EXPECT_EQ(PaintText("h\xc3\xa9llo").text, "*****");  // UTF-8: five characters
  EXPECT_EQ(PaintText("h\xe9llo").text, "*****");      // one byte a character
  EXPECT_EQ(PaintText("").text, "");
  // Whatever it held, it is no longer mark-up.
  EXPECT_EQ(PaintText("<B>b</B>").text, "********");
  EXPECT_TRUE(MarkupCalls().empty());
  settings.PasswordChar = '#';
  EXPECT_EQ(PaintText("abc").text, "###");
}

// The cell shows at most a character a pixel, so a huge password costs no
// more than what the cell can show, and shows the same.
TEST_F(CellPaintText, AHugePasswordIsMaskedAsFarAsTheCellCanShow) {
  host.Password = true;
  const TDrawn drawn = PaintText(std::string(10'000'000, 'p'));
  EXPECT_EQ(drawn.text, std::string((60 + 1) * (20 + 1), '*'));
  EXPECT_EQ(drawn.rect, "102,42,158,60");
}

}  // namespace
}  // namespace kelvora::paint_test
