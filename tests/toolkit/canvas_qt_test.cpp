#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPalette>

#include <optional>
#include <string>
#include <string_view>

#include "toolkit/qt_canvas.h"

namespace kelvora {
namespace {

const QRgb kWhite = qRgb(255, 255, 255);

// Draws into a white image and reads the pixels back.
class QtCanvasImage : public ::testing::Test {
 protected:
  QtCanvasImage() : image(120, 80, QImage::Format_RGB32) { Restart(); }

  // A white image and a fresh canvas on it with a 16-pixel black font.
  void Restart() {
    canvas.reset();
    image.fill(kWhite);
    canvas.emplace(image);
    canvas->Font() = TFont{"DejaVu Sans", -16, clBlack, {}, 0};
  }

  // Ends the painter so the image holds everything drawn.
  const QImage& Finished() {
    canvas.reset();
    return image;
  }

  // What one transparent DrawText alone draws.
  QImage DrawnText(std::string_view text, TRect rect, TTextFlags flags) {
    Restart();
    canvas->SetTransparentText(true);
    canvas->DrawText(text, rect, flags);
    return Finished().copy();
  }

  static int CountWhere(const QImage& img, const QRect& area, bool inside, QRgb other = kWhite) {
    int count = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x)
        if (area.contains(x, y) == inside && img.pixel(x, y) != other) ++count;
    return count;
  }
  static int InkInside(const QImage& img, const QRect& area) { return CountWhere(img, area, true); }
  static int InkOutside(const QImage& img, const QRect& area) { return CountWhere(img, area, false); }

  QImage image;
  std::optional<TQtCanvas> canvas;
};

TEST_F(QtCanvasImage, FillRectCoversLeftTopButNotRightBottom) {
  canvas->Brush().Color = clRed;
  canvas->FillRect({10, 20, 30, 25});
  const QImage& img = Finished();
  EXPECT_EQ(img.pixel(10, 20), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(29, 24), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(30, 24), kWhite);
  EXPECT_EQ(img.pixel(29, 25), kWhite);
  EXPECT_EQ(InkInside(img, QRect(10, 20, 20, 5)), 100);
  EXPECT_EQ(InkOutside(img, QRect(10, 20, 20, 5)), 0);
}

TEST_F(QtCanvasImage, AClearBrushFillsNothing) {
  canvas->Brush().Style = bsClear;
  canvas->FillRect({0, 0, 50, 50});
  canvas->FrameRect({0, 0, 50, 50});
  EXPECT_EQ(InkOutside(Finished(), QRect()), 0);
}

TEST_F(QtCanvasImage, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
  canvas->Pen().Color = clBlue;
  canvas->Brush().Color = clYellow;
  canvas->Rectangle({10, 10, 20, 16});
  const QImage& img = Finished();
  EXPECT_EQ(img.pixel(10, 10), qRgb(0, 0, 255));
  EXPECT_EQ(img.pixel(19, 15), qRgb(0, 0, 255));
  EXPECT_EQ(img.pixel(15, 13), qRgb(255, 255, 0));
  EXPECT_EQ(InkOutside(img, QRect(10, 10, 10, 6)), 0);
}

TEST_F(QtCanvasImage, LinesLeaveOutTheirEndPoint) {
  canvas->Pen().Color = clBlack;
  canvas->MoveTo(2, 2);
  canvas->LineTo(10, 2);   // rightwards
  canvas->MoveTo(15, 15);
  canvas->LineTo(15, 5);   // upwards
  canvas->MoveTo(30, 10);
  canvas->LineTo(40, 20);  // diagonal
  EXPECT_EQ(canvas->PenPos(), (TPoint{40, 20}));
  const QImage& img = Finished();
  EXPECT_NE(img.pixel(2, 2), kWhite);
  EXPECT_NE(img.pixel(9, 2), kWhite);
  EXPECT_EQ(img.pixel(10, 2), kWhite);
  EXPECT_NE(img.pixel(15, 15), kWhite);
  EXPECT_NE(img.pixel(15, 6), kWhite);
  EXPECT_EQ(img.pixel(15, 5), kWhite);
  EXPECT_NE(img.pixel(30, 10), kWhite);
  EXPECT_NE(img.pixel(39, 19), kWhite);
  EXPECT_EQ(img.pixel(40, 20), kWhite);
}

TEST_F(QtCanvasImage, APenOfClearStyleOnlyMovesThePen) {
  canvas->Pen().Style = psClear;
  canvas->LineTo(50, 50);
  EXPECT_EQ(canvas->PenPos(), (TPoint{50, 50}));
  EXPECT_EQ(InkOutside(Finished(), QRect()), 0);
}

TEST_F(QtCanvasImage, FocusRectDottedOnTheOutlineAndGoneWhenDrawnTwice) {
  canvas->Brush().Color = clTeal;
  canvas->FillRect({0, 0, 60, 40});
  canvas.reset();
  const QImage before = image.copy();
  canvas.emplace(image);
  canvas->DrawFocusRect({5, 5, 25, 15});
  canvas.reset();
  const QImage once = image.copy();
  const QRect outline(5, 5, 20, 10);
  int changed = 0;
  for (int y = 0; y < once.height(); ++y) {
    for (int x = 0; x < once.width(); ++x) {
      if (once.pixel(x, y) == before.pixel(x, y)) continue;
      ++changed;
      const bool onOutline = outline.contains(x, y) && !outline.adjusted(1, 1, -1, -1).contains(x, y);
      EXPECT_TRUE(onOutline) << x << "," << y;
    }
  }
  EXPECT_EQ(changed, 28);  // every other one of the 56 outline pixels
  canvas.emplace(image);
  canvas->DrawFocusRect({5, 5, 25, 15});
  EXPECT_EQ(Finished(), before);
}

TEST_F(QtCanvasImage, RaisedEdgeColoursOnlyTheChosenSides) {
  canvas->Brush().Color = clGray;
  canvas->FillRect({0, 0, 120, 80});
  canvas->DrawEdge({10, 10, 30, 30}, {esLeft, esBottom});
  canvas->DrawEdge({50, 10, 70, 30}, kAllEdges);
  const QImage& img = Finished();
  const QRgb highlight = ToQColor(clBtnHighlight).rgb();
  const QRgb shadow = ToQColor(clBtnShadow).rgb();
  const QRgb gray = qRgb(128, 128, 128);
  EXPECT_EQ(img.pixel(10, 15), highlight);  // left
  EXPECT_EQ(img.pixel(20, 29), shadow);     // bottom
  EXPECT_EQ(img.pixel(20, 10), gray);       // top not chosen
  EXPECT_EQ(img.pixel(29, 15), gray);       // right not chosen
  EXPECT_EQ(img.pixel(20, 20), gray);
  EXPECT_EQ(img.pixel(60, 10), highlight);
  EXPECT_EQ(img.pixel(50, 20), highlight);
  EXPECT_EQ(img.pixel(69, 20), shadow);
  EXPECT_EQ(img.pixel(60, 29), shadow);
  EXPECT_EQ(img.pixel(70, 20), gray);
}

TEST_F(QtCanvasImage, ClipRectLimitsDrawingUntilReset) {
  canvas->Brush().Color = clBlack;
  canvas->SetClipRect({10, 10, 20, 20});
  canvas->FillRect({0, 0, 120, 80});
  canvas->Brush().Color = clRed;
  canvas->ResetClip();
  canvas->FillRect({100, 0, 120, 10});
  const QImage& img = Finished();
  EXPECT_EQ(CountWhere(img, QRect(10, 10, 10, 10), true, qRgb(255, 255, 255)), 100);
  EXPECT_EQ(img.pixel(9, 9), kWhite);
  EXPECT_EQ(img.pixel(20, 20), kWhite);
  EXPECT_EQ(img.pixel(110, 5), qRgb(255, 0, 0));
}

TEST_F(QtCanvasImage, AnEmptyClipRectHidesEverything) {
  canvas->SetClipRect({10, 10, 10, 30});
  canvas->Brush().Color = clBlack;
  canvas->FillRect({0, 0, 120, 80});
  EXPECT_EQ(InkOutside(Finished(), QRect()), 0);
}

TEST_F(QtCanvasImage, TextDrawsInsideItsRectangleAndIsClippedToIt) {
  const QRect box(10, 10, 30, 30);
  TRect rect{10, 10, 40, 40};
  canvas->SetTransparentText(true);
  canvas->DrawText("WWWWWWWWWWWW", rect, {tfSingleLine, tfNoPrefix});
  const QImage& img = Finished();
  EXPECT_GT(InkInside(img, box), 20);
  EXPECT_EQ(InkOutside(img, box), 0);
}

// A text that just fits its advance box is drawn unclipped; glyphs that
// overhang that box, or a rectangle lower than the line, must still clip.
TEST_F(QtCanvasImage, InkNeverLeavesARectangleThatJustHoldsTheText) {
  const char* texts[] = {"jump", "ff", "Hg", "W", "fjf", "Date: 12"};
  for (const bool italic : {false, true}) {
    for (const char* text : texts) {
      SCOPED_TRACE(std::string(text) + (italic ? " italic" : ""));
      Restart();
      canvas->Font().Height = -24;
      if (italic) canvas->Font().Style = {fsItalic};
      canvas->SetTransparentText(true);
      const TSize extent = canvas->TextExtent(text);
      TRect exact{20, 20, 20 + extent.cx, 20 + extent.cy};
      canvas->DrawText(text, exact, {tfSingleLine, tfNoPrefix});
      TRect low{20, 60, 20 + extent.cx, 60 + extent.cy / 2};
      canvas->DrawText(text, low, {tfSingleLine, tfNoPrefix});
      const QImage& img = Finished();
      EXPECT_GT(InkInside(img, QRect(20, 20, extent.cx, extent.cy)), 0);
      int outside = 0;
      for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
          if (img.pixel(x, y) != kWhite && !QRect(20, 20, extent.cx, extent.cy).contains(x, y) &&
              !QRect(20, 60, extent.cx, extent.cy / 2).contains(x, y))
            ++outside;
      EXPECT_EQ(outside, 0);
    }
  }
}

TEST_F(QtCanvasImage, NoClipLetsTextRunPastItsRectangle) {
  TRect rect{10, 10, 40, 40};
  canvas->SetTransparentText(true);
  canvas->DrawText("WWWWWWWWWWWW", rect, {tfSingleLine, tfNoClip});
  EXPECT_GT(InkOutside(Finished(), QRect(10, 10, 30, 30)), 20);
}

TEST_F(QtCanvasImage, TheCanvasClipAlsoCutsText) {
  canvas->SetClipRect({0, 0, 20, 80});
  canvas->TextOut(5, 5, "WWWWWWWW");
  const QImage& img = Finished();
  EXPECT_GT(InkInside(img, QRect(0, 0, 20, 80)), 10);
  EXPECT_EQ(InkOutside(img, QRect(0, 0, 20, 80)), 0);
}

TEST_F(QtCanvasImage, CalcRectDrawsNothingAndGrowsForMoreLines) {
  TRect one{5, 5, 5, 5};
  const int oneHeight = canvas->DrawText("alpha", one, {tfCalcRect});
  TRect three{5, 5, 5, 5};
  const int threeHeight = canvas->DrawText("alpha\nbe\nalphabet", three, {tfCalcRect});
  EXPECT_EQ(oneHeight, one.Height());
  EXPECT_EQ(threeHeight, 3 * oneHeight);
  EXPECT_EQ(three.Height(), 3 * one.Height());
  EXPECT_GT(three.Width(), one.Width());
  EXPECT_EQ(three.Width(), canvas->TextWidth("alphabet"));
  EXPECT_EQ(InkOutside(Finished(), QRect()), 0);
}

TEST_F(QtCanvasImage, WordBreakAddsLinesInANarrowRectangle) {
  TRect wide{0, 0, 1000, 0};
  TRect narrow{0, 0, canvas->TextWidth("one two") + 1, 0};
  canvas->DrawText("one two three", wide, {tfWordBreak, tfCalcRect});
  canvas->DrawText("one two three", narrow, {tfWordBreak, tfCalcRect});
  EXPECT_EQ(narrow.Height(), 2 * wide.Height());
  EXPECT_EQ(narrow.Width(), canvas->TextWidth("one two"));
}

TEST_F(QtCanvasImage, FitCountNeverCutsAMultiByteCharacter) {
  const std::string text = "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9";  // five "é"
  int previous = 0;
  for (int width = -1; width <= canvas->TextWidth(text) + 5; ++width) {
    TSize extent;
    const int bytes = canvas->TextFitCount(text, width, &extent);
    ASSERT_EQ(bytes % 2, 0) << "width " << width;
    ASSERT_GE(bytes, previous);
    ASSERT_LE(extent.cx, std::max(width, 0));
    EXPECT_EQ(extent.cx, canvas->TextWidth(text.substr(0, static_cast<std::size_t>(bytes))));
    previous = bytes;
  }
  EXPECT_EQ(previous, 10);
}

TEST_F(QtCanvasImage, FitCountReadsSingleByteTextAsOneBytePerCharacter) {
  const std::string text = "\xE9\xE9\xE9\xE9";  // not UTF-8
  EXPECT_EQ(canvas->TextFitCount(text, canvas->TextWidth("\xE9\xE9")), 2);
  EXPECT_EQ(canvas->TextFitCount(text, 10000), 4);
}

TEST_F(QtCanvasImage, OpaqueTextFillsItsBoxWithTheBrush) {
  canvas->Brush().Color = clRed;
  const TSize extent = canvas->TextExtent("Hi");
  canvas->TextOut(10, 10, "Hi");
  canvas->SetTransparentText(true);
  canvas->TextOut(10, 50, "Hi");
  const QImage& img = Finished();
  const QRgb red = qRgb(255, 0, 0);
  int redAbove = 0, redBelow = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixel(x, y) == red) ++(y < 40 ? redAbove : redBelow);
  EXPECT_GT(redAbove, extent.cx * extent.cy / 2);
  EXPECT_EQ(redAbove + CountWhere(img, QRect(10, 10, extent.cx, extent.cy), true, red),
            extent.cx * extent.cy);  // nothing red outside the box
  EXPECT_EQ(redBelow, 0);
}

TEST_F(QtCanvasImage, RotatedTextLeavesTheUnrotatedBox) {
  canvas->Font().Orientation = 900;
  const TSize extent = canvas->TextExtent("Hello");
  canvas->TextOut(40, 70, "Hello");
  const QImage& img = Finished();
  EXPECT_GT(InkOutside(img, QRect(40, 70, extent.cx, extent.cy)), 20);
  EXPECT_EQ(InkInside(img, QRect(0, 71, 120, 9)), 0);  // a quarter turn left goes up
}

TEST_F(QtCanvasImage, PrefixesUnderlineAndDoubleAmpersandsShowOne) {
  const TRect rect{5, 5, 115, 40};
  EXPECT_EQ(DrawnText("a&&b", rect, {tfSingleLine}), DrawnText("a&b", rect, {tfSingleLine, tfNoPrefix}));
  const QImage marked = DrawnText("&x", rect, {tfSingleLine});
  const QImage plain = DrawnText("x", rect, {tfSingleLine});
  EXPECT_GT(InkInside(marked, QRect(0, 0, 120, 80)), InkInside(plain, QRect(0, 0, 120, 80)));
  EXPECT_NE(DrawnText("&x", rect, {tfSingleLine, tfNoPrefix}), marked);
}

TEST_F(QtCanvasImage, AlignmentMovesTheInk) {
  canvas->SetTransparentText(true);
  TRect right{0, 0, 120, 80};
  canvas->DrawText("i", right, {tfSingleLine, tfRight, tfBottom});
  const QImage& img = Finished();
  EXPECT_GT(InkInside(img, QRect(100, 60, 20, 20)), 0);
  EXPECT_EQ(InkInside(img, QRect(0, 0, 100, 80)), 0);
}

TEST_F(QtCanvasImage, RightToLeftReadingReordersTheText) {
  const TRect rect{0, 0, 120, 40};
  EXPECT_NE(DrawnText("abc!", rect, {tfSingleLine, tfRtlReading}), DrawnText("abc!", rect, {tfSingleLine}));
}

TEST_F(QtCanvasImage, ExpandedTabsReachTheTabStop) {
  TRect rect{0, 0, 0, 0};
  canvas->DrawText("a\tb", rect, {tfCalcRect, tfExpandTabs, tfSingleLine});
  EXPECT_GE(rect.Width(), canvas->TextWidth("b") + 8 * canvas->TextWidth("x") / 2);
  EXPECT_GT(rect.Width(), canvas->TextWidth("ab"));
}

TEST_F(QtCanvasImage, ChangingTheFontBetweenCallsTakesEffect) {
  int widths[6];
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 6; ++i) {
      canvas->Font().Height = -(8 + 4 * i);  // more faces than the canvas keeps
      const int width = canvas->TextWidth("Measure me");
      if (round == 0) {
        widths[i] = width;
      } else {
        EXPECT_EQ(width, widths[i]) << i;
      }
      if (i > 0) {
        EXPECT_GT(widths[i], widths[i - 1]);
      }
    }
  }
  canvas->Font().Style = {fsBold};
  EXPECT_NE(canvas->TextWidth("Measure me"), widths[5]);
}

TEST_F(QtCanvasImage, AHugeTextIsMeasuredAndDrawnWithoutTrouble) {
  const std::string huge(200000, 'a');
  const int one = canvas->TextWidth("aaaaaaaaaa");
  const int all = canvas->TextWidth(huge);
  EXPECT_NEAR(all, one * 20000, one * 20000 / 100);
  TRect rect{0, 0, 60, 30};
  EXPECT_GT(canvas->TextFitCount(huge, 60), 0);
  canvas->DrawText(huge, rect, {tfSingleLine, tfNoPrefix});
  const QImage& img = Finished();
  EXPECT_GT(InkInside(img, QRect(0, 0, 60, 30)), 0);
  EXPECT_EQ(InkOutside(img, QRect(0, 0, 60, 30)), 0);
}

TEST_F(QtCanvasImage, HugeTurnedAndLaidOutTextsDrawToo) {
  const std::string huge = "&" + std::string(200000, 'a') + "\tb";
  canvas->Font().Orientation = 300;
  canvas->TextOut(10, 70, huge);
  canvas->Font().Orientation = 0;
  TRect rect{0, 0, 120, 30};
  canvas->DrawText(huge, rect, {tfExpandTabs});
  const QImage& img = Finished();
  EXPECT_GT(InkInside(img, QRect(0, 0, 120, 30)), 0);
  EXPECT_GT(InkInside(img, QRect(10, 30, 110, 40)), 0);
}

TEST_F(QtCanvasImage, SystemColoursAreReadWhenDrawing) {
  QPalette palette = QApplication::palette();
  const QPalette saved = palette;
  palette.setColor(QPalette::Active, QPalette::Highlight, QColor(1, 2, 3));
  canvas->Brush().Color = clHighlight;
  QApplication::setPalette(palette);
  canvas->FillRect({0, 0, 5, 5});
  QApplication::setPalette(saved);
  EXPECT_EQ(Finished().pixel(2, 2), qRgb(1, 2, 3));
}

TEST(QtCanvasPainter, ALentPainterGetsItsStateBack) {
  QImage image(20, 20, QImage::Format_RGB32);
  image.fill(kWhite);
  QPainter painter(&image);
  painter.setPen(QColor(9, 8, 7));
  {
    TQtCanvas canvas(painter);
    canvas.SetClipRect({0, 0, 5, 5});
    canvas.Pen().Color = clRed;
    canvas.LineTo(10, 10);
    canvas.TextOut(0, 0, "x");
  }
  EXPECT_EQ(painter.pen().color(), QColor(9, 8, 7));
  EXPECT_FALSE(painter.hasClipping());
}

TEST(QtCanvasPainter, AFocusRectFollowsAMovedPainter) {
  QImage image(40, 40, QImage::Format_RGB32);
  image.fill(kWhite);
  {
    QPainter painter(&image);
    painter.translate(30, 30);
    TQtCanvas canvas(painter);
    canvas.DrawFocusRect({-20, -20, -5, -5});  // lands on 10..24 of the image
  }
  int dots = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x)
      if (image.pixel(x, y) != kWhite) {
        ++dots;
        EXPECT_TRUE(QRect(10, 10, 15, 15).contains(x, y)) << x << "," << y;
      }
  EXPECT_EQ(dots, 28);  // every other one of the 56 outline pixels
}

TEST(QtCanvasPainter, AClipOfTheLentPainterStillHolds) {
  QImage image(20, 20, QImage::Format_RGB32);
  image.fill(kWhite);
  {
    QPainter painter(&image);
    painter.setClipRect(0, 0, 10, 10);
    TQtCanvas canvas(painter);
    canvas.Brush().Color = clBlack;
    canvas.SetClipRect({5, 5, 20, 20});
    canvas.FillRect({0, 0, 20, 20});
  }
  EXPECT_EQ(image.pixel(7, 7), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(12, 12), kWhite);
  EXPECT_EQ(image.pixel(2, 2), kWhite);
}

TEST(QtCanvasMeasuring, MeasuresLikeAnImageCanvasAndDrawsNothing) {
  QImage image(50, 50, QImage::Format_RGB32);
  TQtCanvas onImage(image);
  TQtCanvas measuring = TQtCanvas::ForMeasuring();
  EXPECT_FALSE(measuring.CanDraw());
  EXPECT_TRUE(onImage.CanDraw());
  for (TQtCanvas* c : {&onImage, &measuring}) c->Font().Height = -13;
  EXPECT_EQ(measuring.TextExtent("Kelvora grid"), onImage.TextExtent("Kelvora grid"));
  EXPECT_EQ(measuring.TextFitCount("Kelvora grid", 40), onImage.TextFitCount("Kelvora grid", 40));
  TRect a{0, 0, 30, 0}, b{0, 0, 30, 0};
  measuring.DrawText("one two\nthree", a, {tfWordBreak, tfCalcRect});
  onImage.DrawText("one two\nthree", b, {tfWordBreak, tfCalcRect});
  EXPECT_EQ(a, b);
  TRect r{0, 0, 10, 10};
  measuring.FillRect(r);
  measuring.DrawFocusRect(r);
  measuring.TextOut(0, 0, "x");
  EXPECT_EQ(measuring.DrawText("x\ny", r, {}), 2 * measuring.TextHeight("x"));
}

// A face remembers the widths of the texts it measured lately, in slots that
// newer texts take over. Whatever came between, a text's width is the one Qt
// gives it, and so is that of each piece between the tabs of a text.
TEST(QtCanvasMeasuring, RemembersNoWidthButTheTextsOwn) {
  TQtCanvas canvas = TQtCanvas::ForMeasuring();
  canvas.Font() = TFont{"DejaVu Sans", -13, clBlack, {}, 0};
  const QFontMetrics metrics(ToQFont(canvas.Font()));
  const int first = canvas.TextWidth("Kelvora 2003");
  for (int i = 0; i < 10000; ++i) {
    const std::string text = "cell " + std::to_string(i);
    ASSERT_EQ(canvas.TextWidth(text), metrics.horizontalAdvance(QString::fromStdString(text))) << text;
  }
  EXPECT_EQ(canvas.TextWidth("Kelvora 2003"), first);
  EXPECT_EQ(first, metrics.horizontalAdvance(QStringLiteral("Kelvora 2003")));
  const int tab = 8 * metrics.averageCharWidth();
  for (const std::string& after : {std::string("Jan"), std::string("Mon 12"), std::string("Jan")}) {
    TRect r{0, 0, 1000, 0};
    canvas.DrawText("ab\t" + after, r, {tfSingleLine, tfNoPrefix, tfExpandTabs, tfCalcRect});
    EXPECT_EQ(r.Width(), tab + metrics.horizontalAdvance(QString::fromStdString(after))) << after;
  }
}

TEST(QtCanvasMeasuring, ANullImageGivesACanvasThatOnlyMeasures) {
  QImage none;
  TQtCanvas canvas(none);
  EXPECT_FALSE(canvas.CanDraw());
  EXPECT_GT(canvas.TextWidth("abc"), 0);
  canvas.FillRect({0, 0, 5, 5});
}

}  // namespace
}  // namespace kelvora
