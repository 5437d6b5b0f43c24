#include "grid/render/cell_extent.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/recording_canvas.h"

namespace kelvora {
namespace {

// A 20-pixel font: every byte is 10 pixels wide and every line 22 high.
constexpr int w = 10;
constexpr int h = 22;

struct TExtentCase {
  const char* name;
  std::string text;
  TCellTextOptions options;
  TSize expected;
};

TCellTextOptions Plain() { return {}; }
TCellTextOptions MultiLine() { return {true, true, false, false}; }
TCellTextOptions ShortLinks() { return {true, false, true, false}; }
TCellTextOptions FullLinks() { return {true, false, true, true}; }
TCellTextOptions NoMarkup() { return {false, false, false, false}; }

TEST(CellExtent, MeasuresEachKindOfCellAsItIsDrawn) {
  const std::vector<TExtentCase> cases = {
      {"empty", "", Plain(), {0, h}},
      {"plain", "Tue", Plain(), {3 * w, h}},
      {"bytes, not characters", "\xc3\xa9t\xc3\xa9", Plain(), {5 * w, h}},
      {"a NUL is a byte like any", std::string("a\0b", 3), Plain(), {3 * w, h}},
      {"first line only", "ab\r\ncdef", Plain(), {2 * w, h}},
      {"a lone line feed breaks nothing", "ab\ncdef", Plain(), {7 * w, h}},
      {"every line when multi-line", "ab\r\ncdef", MultiLine(), {4 * w, 2 * h}},
      {"a lone carriage return breaks too", "ab\rcdefg\r\nx", MultiLine(), {5 * w, 3 * h}},
      {"a final break adds an empty line", "abc\r", MultiLine(), {3 * w, 2 * h}},
      {"CR CR LF is two breaks", "a\r\r\nb", MultiLine(), {1 * w, 3 * h}},
      {"links lose their protocol", "http://ab.cd", ShortLinks(), {5 * w, h}},
      {"or their mailto", "mailto:me@x", ShortLinks(), {4 * w, h}},
      {"the protocol goes before mailto", "mailto:x http://yz", ShortLinks(), {2 * w, h}},
      {"full links stay whole", "http://ab.cd", FullLinks(), {12 * w, h}},
      {"links unshown stay whole", "http://ab.cd", Plain(), {12 * w, h}},
      {"mark-up without tags", "<B>bold</B>", Plain(), {4 * w, h}},
      {"mark-up line breaks", "one<BR>three", Plain(), {5 * w, 2 * h}},
      {"mark-up off: tags count", "<B>bold</B>", NoMarkup(), {11 * w, h}},
      {"lower-case bold alone is plain", "<b>bold", Plain(), {7 * w, h}},
      {"any closing tag is mark-up", "a</x>b", Plain(), {2 * w, h}},
      {"one character is always plain", "<", Plain(), {1 * w, h}},
      {"a formula is measured as written", "=<B>x</B>", Plain(), {9 * w, h}},
      {"rich text as laid out, every paragraph", "{\\rtf1\\ansi plain\\par second}", Plain(), {6 * w, 2 * h}},
      {"rich text in its own sizes", "{\\rtf1\\fs60 big}", Plain(), {3 * 20, 42}},
      {"rich text as UTF-8", "{\\rtf1 caf\\'e9}", Plain(), {5 * w, h}},
  };
  for (const TExtentCase& c : cases) {
    TRecordingCanvas canvas;
    canvas.Font().Height = -20;
    EXPECT_EQ(CellTextExtent(canvas, c.text, c.options), c.expected) << c.name;
  }
}

TEST(CellExtent, FollowsTheCanvasFont) {
  TRecordingCanvas canvas;
  canvas.Font().Height = -9;  // 4 pixels a byte, 11 high
  EXPECT_EQ(CellTextExtent(canvas, "2003", {}), (TSize{16, 11}));
  canvas.Font().Height = -30;
  EXPECT_EQ(CellTextExtent(canvas, "2003", {}), (TSize{60, 32}));
}

// Painting draws this line, so what is measured and what is drawn agree.
TEST(CellExtent, TheDisplayedLineIsTheMeasuredOne) {
  const TCellTextOptions options = ShortLinks();
  EXPECT_EQ(FirstDisplayLine("ab\r\ncd", options), "ab");
  EXPECT_EQ(FirstDisplayLine("ab\ncd", options), "ab\ncd");
  EXPECT_EQ(FirstDisplayLine("see http://x.y\r\nz", options), "x.y");
  EXPECT_EQ(FirstDisplayLine("see http://x.y", FullLinks()), "see http://x.y");
  EXPECT_EQ(FirstDisplayLine("", options), "");
}

}  // namespace
}  // namespace kelvora
