#include <gtest/gtest.h>

#include <QString>

#include <string>
#include <vector>

#include "toolkit/text_layout.h"

namespace kelvora {
namespace {

// One pixel for each UTF-16 unit keeps widths easy to read off the text.
const TTextMeasure kUnitMeasure = [](QStringView s) { return static_cast<int>(s.size()); };

std::vector<QString> LinesOf(const QString& text, TTextFlags flags, int maxWidth, int tabWidth = 8) {
  const TTabbedMeasure measure(kUnitMeasure, flags.contains(tfExpandTabs), tabWidth);
  const TTextLayout layout = LayoutText(text, flags, maxWidth, measure);
  std::vector<QString> lines;
  for (const TTextLine& line : layout.Lines) lines.push_back(layout.LineText(line).toString());
  return lines;
}

using Lines = std::vector<QString>;

TEST(TextLayout, SplitsAtEveryKindOfLineEnd) {
  EXPECT_EQ(LinesOf("ab\r\ncd\ref\ngh", {}, 100), (Lines{"ab", "cd", "ef", "gh"}));
  EXPECT_EQ(LinesOf("ab\n\ncd", {}, 100), (Lines{"ab", "", "cd"}));
  EXPECT_EQ(LinesOf("ab\r\n", {}, 100), (Lines{"ab", ""}));
  EXPECT_EQ(LinesOf("", {}, 100), (Lines{""}));
}

TEST(TextLayout, SingleLineKeepsLineEndsInTheOneLine) {
  EXPECT_EQ(LinesOf("ab\r\ncd", {tfSingleLine}, 100), (Lines{"ab\r\ncd"}));
  EXPECT_EQ(LinesOf("aaa bbb ccc", {tfSingleLine, tfWordBreak}, 4), (Lines{"aaa bbb ccc"}));
}

TEST(TextLayout, WordBreakWrapsAtBlanksAndDropsThemAtTheBreak) {
  EXPECT_EQ(LinesOf("aaa bb cccc", {tfWordBreak}, 6), (Lines{"aaa bb", "cccc"}));
  EXPECT_EQ(LinesOf("aaa    bbb", {tfWordBreak}, 5), (Lines{"aaa", "bbb"}));
  EXPECT_EQ(LinesOf("  indented text", {tfWordBreak}, 11), (Lines{"  indented", "text"}));
  EXPECT_EQ(LinesOf("aa bb\ncc dd", {tfWordBreak}, 3), (Lines{"aa", "bb", "cc", "dd"}));
  EXPECT_EQ(LinesOf("fits  ", {tfWordBreak}, 4), (Lines{"fits  "}));
}

TEST(TextLayout, AWordWiderThanTheLineStaysWholeUnlessCut) {
  EXPECT_EQ(LinesOf("a abcdefgh b", {tfWordBreak}, 4), (Lines{"a", "abcdefgh", "b"}));
  EXPECT_EQ(LinesOf("a abcdefgh b", {tfWordBreak, tfEditControl}, 4), (Lines{"a", "abcd", "efgh", "b"}));
  EXPECT_EQ(LinesOf("abcdefghij", {tfWordBreak, tfEditControl}, 3), (Lines{"abc", "def", "ghi", "j"}));
}

TEST(TextLayout, EvenANarrowerThanOneCharacterLineMakesProgress) {
  EXPECT_EQ(LinesOf("abc", {tfWordBreak, tfEditControl}, 0), (Lines{"a", "b", "c"}));
  EXPECT_EQ(LinesOf("ab cd", {tfWordBreak}, -5), (Lines{"ab", "cd"}));
}

TEST(TextLayout, CuttingAWordNeverSplitsASurrogatePair) {
  const QString face = QString::fromUtf8("\xF0\x9F\x98\x80");  // two UTF-16 units
  const QString text = face + face + face;
  for (int width = 1; width <= 6; ++width) {
    SCOPED_TRACE(width);
    for (const QString& line : LinesOf(text, {tfWordBreak, tfEditControl}, width)) {
      ASSERT_FALSE(line.isEmpty());
      EXPECT_FALSE(line.front().isLowSurrogate());
      EXPECT_FALSE(line.back().isHighSurrogate());
    }
  }
}

TEST(TextLayout, LayoutWidthIsTheWidestLine) {
  const TTabbedMeasure measure(kUnitMeasure, false, 8);
  const TTextLayout layout = LayoutText(u"ab\nabcdef\nabc", {}, 100, measure);
  ASSERT_EQ(layout.Lines.size(), 3u);
  EXPECT_EQ(layout.Width, 6);
  EXPECT_EQ(layout.Lines[2].Width, 3);
}

TEST(TextPrefixes, AmpersandMarksTheNextCharacter) {
  std::vector<qsizetype> marks;
  EXPECT_EQ(ResolvePrefixes(u"&File", &marks), "File");
  EXPECT_EQ(marks, (std::vector<qsizetype>{0}));
  marks.clear();
  EXPECT_EQ(ResolvePrefixes(u"Save &As", &marks), "Save As");
  EXPECT_EQ(marks, (std::vector<qsizetype>{5}));
}

TEST(TextPrefixes, DoubleAmpersandIsOneAndALoneLastOneStays) {
  std::vector<qsizetype> marks;
  EXPECT_EQ(ResolvePrefixes(u"Fish && Chips", &marks), "Fish & Chips");
  EXPECT_EQ(ResolvePrefixes(u"&&&&", &marks), "&&");
  EXPECT_EQ(ResolvePrefixes(u"end&", &marks), "end&");
  EXPECT_TRUE(marks.empty());
}

TEST(TextPrefixes, LayoutResolvesThemOnlyWithoutNoPrefix) {
  const TTabbedMeasure measure(kUnitMeasure, false, 8);
  EXPECT_EQ(LayoutText(u"a&&b&c", {}, 100, measure).Text, "a&bc");
  EXPECT_EQ(LayoutText(u"a&&b&c", {tfNoPrefix}, 100, measure).Text, "a&&b&c");
}

TEST(TextTabs, ExpandedTabsJumpToTheNextStop) {
  const TTabbedMeasure tabs(kUnitMeasure, true, 8);
  EXPECT_EQ(tabs.Width(u"a\tb"), 9);
  EXPECT_EQ(tabs.Width(u"\t"), 8);
  EXPECT_EQ(tabs.Width(u"abcdefgh\tx"), 17);
  EXPECT_EQ(tabs.Advance(3, u"\t"), 8);
  const TTabbedMeasure plain(kUnitMeasure, false, 8);
  EXPECT_EQ(plain.Width(u"a\tb"), 3);
}

TEST(TextTabs, RunsBetweenTabsAreDrawnAtTheirStops) {
  const TTabbedMeasure tabs(kUnitMeasure, true, 4);
  std::vector<std::pair<QString, int>> runs;
  tabs.ForEachRun(u"ab\tc\t\tdefgh", [&](QStringView run, int x) { runs.emplace_back(run.toString(), x); });
  EXPECT_EQ(runs, (std::vector<std::pair<QString, int>>{{"ab", 0}, {"c", 4}, {"defgh", 12}}));
}

TEST(TextFit, AgreesWithAPlainScanForEveryWidth) {
  // Uneven widths: "W" is five pixels, everything else one.
  const TTextMeasure uneven = [](QStringView s) {
    int width = 0;
    for (QChar c : s) width += c == u'W' ? 5 : 1;
    return width;
  };
  const TTabbedMeasure measure(uneven, false, 8);
  const QString text = "abWcdWWefghWijklmnopWqrstuvwxyz";
  for (int maxWidth = -2; maxWidth <= 60; ++maxWidth) {
    qsizetype expected = 0;
    while (expected < text.size() && uneven(QStringView(text).first(expected + 1)) <= maxWidth) ++expected;
    EXPECT_EQ(measure.Fit(0, text, maxWidth), expected) << "width " << maxWidth;
  }
}

TEST(TextFit, CountsFromTheStartPositionGiven) {
  const TTabbedMeasure measure(kUnitMeasure, false, 8);
  EXPECT_EQ(measure.Fit(6, u"abcdef", 10), 4);
  EXPECT_EQ(measure.Fit(11, u"abcdef", 10), 0);
}

TEST(TextBytes, CountsTheBytesTheTextCameFrom) {
  EXPECT_EQ(ByteLength(u"abc", true), 3);
  EXPECT_EQ(ByteLength(QString::fromUtf8("\xC3\xA9t\xC3\xA9"), true), 5);
  EXPECT_EQ(ByteLength(QString::fromUtf8("\xE2\x82\xAC"), true), 3);
  EXPECT_EQ(ByteLength(QString::fromUtf8("\xF0\x9F\x98\x80"), true), 4);
  EXPECT_EQ(ByteLength(QString::fromUtf8("\xE2\x82\xAC"), false), 1);  // one byte in the single-byte reading
}

struct AlignCase {
  TTextFlags flags;
  int left;
  int top;
};

TEST(TextAlignment, PlacesTheTextInsideTheRectangle) {
  const TRect rect{10, 20, 110, 60};  // 100 wide, 40 high; the text is 30 by 10
  const AlignCase table[] = {
      {{}, 10, 20},
      {{tfRight}, 80, 20},
      {{tfCenter}, 45, 20},
      {{tfVCenter}, 10, 35},
      {{tfBottom}, 10, 50},
      {{tfCenter, tfBottom}, 45, 50},
  };
  for (const AlignCase& entry : table) {
    EXPECT_EQ(AlignedLeft(rect, entry.flags, 30), entry.left);
    EXPECT_EQ(AlignedTop(rect, entry.flags, 10), entry.top);
  }
}

}  // namespace
}  // namespace kelvora
