#include <gtest/gtest.h>

#include <QImage>

#include "toolkit/recording_canvas.h"

namespace kelvora {
namespace {

class RecordingCanvas : public ::testing::Test {
 protected:
  RecordingCanvas() {
    canvas.Font().Name = "MS Sans Serif";
    canvas.Font().Height = -9;  // characters 4 wide, lines 11 high
    canvas.Font().Color = clNavy;
  }
  TRecordingCanvas canvas;
};

TEST_F(RecordingCanvas, TextWidthIsBytesTimesHalfTheHeight) {
  EXPECT_EQ(canvas.TextExtent("abc"), (TSize{12, 11}));
  EXPECT_EQ(canvas.TextExtent(""), (TSize{0, 11}));
  EXPECT_EQ(canvas.TextExtent("\xC3\xA9"), (TSize{8, 11}));  // one character, two bytes
  canvas.Font().Style = {fsBold, fsItalic};
  canvas.Font().Name = "Anything";
  EXPECT_EQ(canvas.TextWidth("abc"), 12);
  canvas.Font().Height = 20;
  EXPECT_EQ(canvas.TextExtent("abc"), (TSize{30, 22}));
  canvas.Font().Height = -1;
  EXPECT_EQ(canvas.TextExtent("abc"), (TSize{3, 3}));
}

TEST_F(RecordingCanvas, FitCountTakesWholeCharactersOnly) {
  TSize extent;
  EXPECT_EQ(canvas.TextFitCount("abcdef", 13, &extent), 3);
  EXPECT_EQ(extent, (TSize{12, 11}));
  EXPECT_EQ(canvas.TextFitCount("abcdef", 100), 6);
  EXPECT_EQ(canvas.TextFitCount("abcdef", -4, &extent), 0);
  EXPECT_EQ(extent, (TSize{0, 11}));
  // "a", then "é" in two bytes: eight pixels would cut it in half.
  EXPECT_EQ(canvas.TextFitCount("a\xC3\xA9z", 8), 1);
  EXPECT_EQ(canvas.TextFitCount("a\xC3\xA9z", 12), 3);
  // Not UTF-8: every byte is a character of its own.
  EXPECT_EQ(canvas.TextFitCount("\xE9\xE9\xE9", 8), 2);
}

TEST_F(RecordingCanvas, CalcRectMeasuresLinesAndDrawsNothing) {
  TRect rect{5, 7, 5, 7};
  EXPECT_EQ(canvas.DrawText("ab\r\ncdef\nx", rect, {tfCalcRect}), 33);
  EXPECT_EQ(rect, (TRect{5, 7, 21, 40}));
  rect = {0, 0, 0, 0};
  EXPECT_EQ(canvas.DrawText("ab\r\ncdef", rect, {tfCalcRect, tfSingleLine, tfNoPrefix}), 11);
  EXPECT_EQ(rect, (TRect{0, 0, 32, 11}));
  EXPECT_TRUE(canvas.Calls().empty());
}

TEST_F(RecordingCanvas, WordBreakWrapsToTheRectangleWidth) {
  TRect rect{0, 0, 28, 0};  // seven characters
  EXPECT_EQ(canvas.DrawText("aaa bb cccc", rect, {tfWordBreak, tfCalcRect}), 22);
  EXPECT_EQ(rect, (TRect{0, 0, 24, 22}));
  rect = {0, 0, 16, 0};
  EXPECT_EQ(canvas.DrawText("abcdefghij", rect, {tfWordBreak, tfEditControl, tfCalcRect}), 33);
  EXPECT_EQ(rect.Width(), 16);
}

TEST_F(RecordingCanvas, PrefixesAndTabsCountAsShown) {
  TRect rect{0, 0, 100, 100};
  canvas.DrawText("a&&b", rect, {tfCalcRect});
  EXPECT_EQ(rect.Width(), 12);
  rect = {0, 0, 100, 100};
  canvas.DrawText("a&&b", rect, {tfCalcRect, tfNoPrefix});
  EXPECT_EQ(rect.Width(), 16);
  rect = {0, 0, 100, 100};
  canvas.DrawText("a\tb", rect, {tfCalcRect, tfExpandTabs});
  EXPECT_EQ(rect.Width(), 36);  // the tab stop at eight characters, then "b"
}

TEST_F(RecordingCanvas, DrawTextReturnsTheHeightOfAllLines) {
  TRect rect{0, 0, 50, 50};
  EXPECT_EQ(canvas.DrawText("one\ntwo\nthree", rect, {}), 33);
  EXPECT_EQ(canvas.DrawText("one\ntwo\nthree", rect, {tfSingleLine}), 11);
  EXPECT_EQ(rect, (TRect{0, 0, 50, 50}));
}

TEST_F(RecordingCanvas, RecordsEveryDrawingCallAsALine) {
  canvas.Brush().Color = clWhite;
  canvas.FillRect({0, 0, 64, 21});
  canvas.SetTransparentText(true);
  TRect rect{2, 2, 62, 21};
  canvas.Font().Style = {fsBold};
  canvas.DrawText("abc", rect, {tfSingleLine, tfNoPrefix});
  canvas.MoveTo(1, 2);
  canvas.Pen().Color = clBlack;
  canvas.LineTo(10, 20);
  canvas.Pen().Style = psDot;
  canvas.Pen().Width = 2;
  canvas.LineTo(10, 30);
  canvas.DrawFocusRect({0, 0, 64, 21});
  canvas.DrawEdge({0, 0, 64, 21}, {esLeft, esBottom});
  canvas.Brush().Style = bsClear;
  canvas.Rectangle({1, 1, 5, 5});
  canvas.SetClipRect({0, 0, 10, 10});
  canvas.ResetClip();
  EXPECT_EQ(canvas.Text(),
            "FillRect 0,0,64,21 brush=clWhite\n"
            "DrawText \"abc\" 2,2,62,21 flags=SingleLine|NoPrefix font=MS Sans Serif/-9/clNavy/B\n"
            "LineTo 10,20 from=1,2 pen=clBlack/1\n"
            "LineTo 10,30 from=10,20 pen=clBlack/2/dot\n"
            "DrawFocusRect 0,0,64,21\n"
            "DrawEdge 0,0,64,21 sides=Left|Bottom\n"
            "Rectangle 1,1,5,5 pen=clBlack/2/dot brush=clear\n"
            "SetClipRect 0,0,10,10\n"
            "ResetClip");
  EXPECT_EQ(canvas.Calls().size(), 9u);
  canvas.Clear();
  EXPECT_EQ(canvas.Text(), "");
}

TEST_F(RecordingCanvas, OpaqueTextRecordsItsBackground) {
  canvas.Brush().Color = clYellow;
  canvas.TextOut(3, 4, "x");
  canvas.SetTransparentText(true);
  canvas.TextOut(3, 4, "x");
  canvas.SetTransparentText(false);
  canvas.Brush().Style = bsClear;
  canvas.TextOut(3, 4, "x");
  EXPECT_EQ(canvas.Text(),
            "TextOut 3,4 \"x\" font=MS Sans Serif/-9/clNavy bg=clYellow\n"
            "TextOut 3,4 \"x\" font=MS Sans Serif/-9/clNavy\n"
            "TextOut 3,4 \"x\" font=MS Sans Serif/-9/clNavy");
}

TEST_F(RecordingCanvas, FontsShowStylesTurnAndUnnamedColours) {
  TFont font;
  font.Name = "Arial";
  font.Height = 12;
  font.Color = RGB(1, 2, 3);
  font.Style = {fsStrikeOut, fsItalic, fsUnderline, fsBold};
  font.Orientation = 900;
  EXPECT_EQ(RecordedFont(font), "Arial/12/$00030201/BIUS/turn=900");
  EXPECT_EQ(RecordedFlags({}), "none");
  EXPECT_EQ(RecordedFlags({tfNoClip, tfCenter, tfCalcRect}), "Center|CalcRect|NoClip");
}

TEST_F(RecordingCanvas, TextIsQuotedWithControlAndForeignBytesEscaped) {
  EXPECT_EQ(RecordedText("a\"b\\c"), "\"a\\\"b\\\\c\"");
  EXPECT_EQ(RecordedText("1\r\n2\t3"), "\"1\\r\\n2\\t3\"");
  EXPECT_EQ(RecordedText(std::string("x\0y\x1b", 4)), "\"x\\x00y\\x1B\"");
  EXPECT_EQ(RecordedText("caf\xC3\xA9"), "\"caf\xC3\xA9\"");  // UTF-8 stays readable
  EXPECT_EQ(RecordedText("caf\xE9"), "\"caf\\xE9\"");
}

TEST_F(RecordingCanvas, PicturesRecordTheirSizes) {
  QImage image(3, 2, QImage::Format_RGB32);
  image.fill(Qt::red);
  const TBitmap bitmap(image);
  canvas.Draw(1, 2, bitmap);
  canvas.StretchDraw({0, 0, 30, 20}, bitmap);
  TImageList list;
  list.Add(bitmap);
  canvas.DrawImage(list, 0, 5, 6);
  canvas.DrawImage(list, 1, 5, 6);  // past the list: nothing
  canvas.DrawIcon(7, 8, TIcon(), 16);
  EXPECT_EQ(canvas.Text(),
            "Draw 1,2 bitmap=3x2\n"
            "StretchDraw 0,0,30,20 bitmap=3x2\n"
            "Draw 5,6 bitmap=3x2\n"
            "DrawIcon 7,8 size=16 empty");
}

}  // namespace
}  // namespace kelvora
