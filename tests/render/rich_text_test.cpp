#include "grid/render/rich_text.h"

#include <gtest/gtest.h>

#include <string>

#include "markup_test_support.h"

namespace kelvora {
namespace {

struct RichCase {
  const char* what;
  std::string document;
  std::string plain;
};

class RichTextTable : public ::testing::TestWithParam<RichCase> {};

TEST_P(RichTextTable, GivesThePlainText) {
  EXPECT_EQ(RichTextToPlainText(GetParam().document), GetParam().plain) << GetParam().what;
}

// A document as a word processor writes it, with the tables and groups that
// carry no text of the body.
const char* const kWordProcessorDocument =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033"
    "{\\fonttbl{\\f0\\fnil\\fcharset0 Plain Sans;}{\\f1\\fswiss Grotesk;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
    "{\\stylesheet{\\s0 Normal;}}\r\n"
    "{\\info{\\author Nobody}{\\title Notes}}\r\n"
    "{\\*\\generator Notes 1.0;}\\uc1 \r\n"
    "\\pard\\sa120\\f0\\fs20 Hello \\b bold\\b0  world\\par\r\n"
    "Second\\tab line\\par\r\n"
    "}\r\n";

INSTANTIATE_TEST_SUITE_P(
    RichText, RichTextTable,
    ::testing::Values(
        RichCase{"plain words", "{\\rtf1 Hello}", "Hello"},
        RichCase{"word processor output", kWordProcessorDocument,
                 "Hello bold world\r\nSecond\tline"},
        RichCase{"one space after a control word is its delimiter", "{\\rtf1\\b  two}", " two"},
        RichCase{"a number ends a control word", "{\\rtf1\\fs20x}", "x"},
        RichCase{"a signed number too", "{\\rtf1\\li-360x}", "x"},
        RichCase{"a hyphen without digits is text", "{\\rtf1\\b-x}", "-x"},
        RichCase{"line and paragraph marks", "{\\rtf1 a\\line b\\par c}", "a\r\nb\r\nc"},
        RichCase{"only the last paragraph mark goes", "{\\rtf1 a\\par\\par}", "a\r\n"},
        RichCase{"a backslash before a line end is a paragraph", "{\\rtf1 a\\\nb}", "a\r\nb"},
        RichCase{"line ends in the source are no text", "{\\rtf1 a\r\nb\nc}", "abc"},
        RichCase{"escaped braces and backslash", "{\\rtf1 \\{x\\} \\\\}", "{x} \\"},
        RichCase{"hex bytes in the code page", "{\\rtf1 caf\\'e9 \\'80}", "caf\xC3\xA9 \xE2\x82\xAC"},
        RichCase{"code page 850", "{\\rtf1\\ansicpg850 \\'82}", "\xC3\xA9"},
        RichCase{"bare bytes of a document in UTF-8", "{\\rtf1 caf\xC3\xA9}", "caf\xC3\xA9"},
        RichCase{"bare bytes otherwise in the code page", "{\\rtf1 caf\xE9}", "caf\xC3\xA9"},
        RichCase{"a hex byte cut short", "{\\rtf1 a\\'4}", "a"},
        RichCase{"a hex escape without digits", "{\\rtf1 a\\'zz}", "azz"},
        RichCase{"typographic characters", "{\\rtf1 \\ldblquote a\\rdblquote \\emdash b}",
                 "\xE2\x80\x9C" "a\xE2\x80\x9D\xE2\x80\x94" "b"},
        RichCase{"a starred group is skipped", "{\\rtf1 a{\\*\\unknown hidden}b}", "ab"},
        RichCase{"a picture is skipped", "{\\rtf1 a{\\pict\\pngblip 89504e47}b}", "ab"},
        RichCase{"headers and footers are skipped", "{\\rtf1{\\header h}{\\footerr f}body}",
                 "body"},
        RichCase{"a field shows its result", "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"x\"}"
                 "{\\fldrslt link}}}", "link"},
        RichCase{"formatting ends with its group", "{\\rtf1{\\b a}{\\fonttbl{\\f0 F;}}b}", "ab"},
        RichCase{"a skipped group ends with its brace, not an escaped one",
                 "{\\rtf1{\\fonttbl \\} still}b}", "b"},
        RichCase{"binary data is skipped by its length", "{\\rtf1 a\\bin3 {}\\b}", "ab"},
        RichCase{"table cells and rows", "{\\rtf1 a\\cell b\\cell\\row c}", "a\tb\t\r\nc"},
        RichCase{"non-breaking space and hyphen", "{\\rtf1 a\\~b\\_c\\-d}", "a\xC2\xA0" "b-cd"},
        RichCase{"unicode skips its one-byte fallback", "{\\rtf1 \\u233\\'e9 x}", "\xC3\xA9 x"},
        RichCase{"unicode fallback per uc", "{\\rtf1\\uc2 \\u8364 EUx}", "\xE2\x82\xACx"},
        RichCase{"negative unicode numbers", "{\\rtf1 \\u-4064?}", "\xEF\x80\xA0"},
        RichCase{"unicode outside 16 bits shows its fallback", "{\\rtf1 \\u70000?\\u-70000!}", "?!"},
        RichCase{"an ASCII unicode character skips its fallback", "{\\rtf1 \\u65?\\u66 ?c}",
                 "ABc"},
        RichCase{"uc2 skips two after an ASCII character", "{\\rtf1\\uc2 \\u65\\'3f?c}", "Ac"},
        RichCase{"without a fallback unicode becomes UTF-8", "{\\rtf1\\uc0 \\u8364 x}",
                 "\xE2\x82\xAC" "x"},
        RichCase{"surrogate halves make one character", "{\\rtf1\\uc0 \\u-10179\\u-8694 x}",
                 "\xF0\x9F\x98\x8A" "x"},
        RichCase{"each with its fallback", "{\\rtf1 \\u-10179?\\u-8694?x}", "\xF0\x9F\x98\x8A" "x"},
        RichCase{"tables and hidden text are no text",
                 "{\\rtf1{\\fonttbl{\\f0 Sans;}}{\\colortbl ;\\red1\\green2\\blue3;}a{\\v hidden}b}", "ab"},
        RichCase{"a surrogate half alone is replaced",
                 "{\\rtf1\\uc0 \\u56842 a\\u55357 b\\u55357 \\u66 c}",
                 "\xEF\xBF\xBD" "a\xEF\xBF\xBD" "b\xEF\xBF\xBD" "Bc"},
        RichCase{"uc belongs to its group", "{\\rtf1{\\uc0 a}\\u66?c}", "aBc"},
        RichCase{"a group end stops skipping a fallback", "{\\rtf1{\\uc3 \\u65}bcd}", "Abcd"}));

INSTANTIATE_TEST_SUITE_P(
    BrokenDocuments, RichTextTable,
    ::testing::Values(
        RichCase{"empty", "", ""}, RichCase{"only an opening brace", "{", ""},
        RichCase{"a lone backslash", "\\", ""},
        RichCase{"cut in a control word", "{\\rtf1 a\\pa", "a"},
        RichCase{"cut in a number", "{\\rtf1 a\\fs2", "a"},
        RichCase{"cut after a starred group opens", "{\\rtf1 a{\\*", "a"},
        RichCase{"unbalanced closing braces", "}}{\\rtf1 a}}}b", "ab"},
        RichCase{"never closed", "{\\rtf1{\\b a{\\i b", "ab"},
        RichCase{"binary longer than the document", "{\\rtf1 a\\bin999999 xyz", "a"},
        RichCase{"a huge number", "{\\rtf1\\fs99999999999999999999 a}", "a"},
        RichCase{"a huge uc", "{\\rtf1\\uc99999999999 \\u65 bc}", "A"},
        RichCase{"NUL bytes are text", std::string("{\\rtf1 a\0b}", 11), std::string("a\0b", 3)}));

TEST(RichText, SurvivesVeryDeepNesting) {
  const std::string opening(200000, '{');
  const std::string closing(200000, '}');
  EXPECT_EQ(RichTextToPlainText(opening + "\\rtf1 deep" + closing + "after"), "deepafter");
}

TEST(RichText, RestoresTheOuterStateAfterDeepNesting) {
  // Braces past the depth whose states are kept must still lead back out to
  // the right group: the skipped table ends, the body goes on.
  const std::string document = "{\\rtf1 a{\\fonttbl x" + std::string(10000, '{') +
                               std::string(10000, '}') + "y}b}";
  EXPECT_EQ(RichTextToPlainText(document), "ab");
}

// Drawing: the runs that the mark-up layout places, on the recording
// surface of the mark-up tests (10 pixels a byte, 22 a line).

using testing::Drawn;
using testing::kPlain;
using testing::MarkupSurface;

struct RichDrawCase {
  const char* what;
  std::string document;
  std::string calls;
  TRect rect{0, 0, 200, 100};
};

std::string DrawnRich(MarkupSurface& surface, std::string_view document, TRect rect) {
  surface.canvas.Clear();
  TMarkupInput input;
  input.Text = document;
  input.Rect = rect;
  DrawRichText(surface.canvas, input);
  return surface.Calls();
}

class RichTextDrawing : public ::testing::TestWithParam<RichDrawCase> {};

TEST_P(RichTextDrawing, DrawsTheRunsOfTheDocument) {
  MarkupSurface surface;
  EXPECT_EQ(DrawnRich(surface, GetParam().document, GetParam().rect), GetParam().calls) << GetParam().what;
}

std::string Lines(std::initializer_list<std::string> lines) {
  std::string joined;
  for (const std::string& line : lines) joined += (joined.empty() ? "" : "\n") + line;
  return joined;
}

const char* const kTables =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Body Face;}{\\f1\\fmodern{\\*\\panose 0}Mono;}}"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}";

INSTANTIATE_TEST_SUITE_P(
    RichText, RichTextDrawing,
    ::testing::Values(
        RichDrawCase{"character styles switch and end", "{\\rtf1 a \\b bold\\b0  \\i\\ul it\\ulnone\\strike s}",
                     Lines({Drawn("a ", 0, 0, 20, 22, kPlain), Drawn("bold", 20, 0, 60, 22, kPlain + "/B"),
                            Drawn(" ", 60, 0, 70, 22, kPlain), Drawn("it", 70, 0, 90, 22, kPlain + "/IU"),
                            Drawn("s", 90, 0, 100, 22, kPlain + "/IS")})},
        RichDrawCase{"formatting ends with its group", "{\\rtf1 {\\b a}b}",
                     Lines({Drawn("a", 0, 0, 10, 22, kPlain + "/B"), Drawn("b", 10, 0, 20, 22, kPlain)})},
        RichDrawCase{"colours from the table, 0 and past it the cell's",
                     std::string(kTables) + "\\cf1 r\\cf2 n\\cf0 a\\cf9 p}",
                     Lines({Drawn("r", 0, 0, 10, 22, "Body Face/-20/clRed"), Drawn("n", 10, 0, 20, 22, "Body Face/-20/clNavy"),
                            Drawn("ap", 20, 0, 40, 22, "Body Face/-20/clBlack")})},
        RichDrawCase{"fonts from the table, an unknown one the cell's",
                     std::string(kTables) + "\\f1 m\\f7 u\\plain d}",
                     Lines({Drawn("m", 0, 0, 10, 22, "Mono/-20/clBlack"), Drawn("u", 10, 0, 20, 22, kPlain),
                            Drawn("d", 20, 0, 30, 22, "Body Face/-20/clBlack")})},
        RichDrawCase{"sizes in half points", "{\\rtf1\\fs24 a\\fs48 b}",
                     Lines({Drawn("a", 0, 16, 8, 34, "MS Sans Serif/-16/clBlack"),
                            Drawn("b", 8, 0, 24, 34, "MS Sans Serif/-32/clBlack")})},
        RichDrawCase{"paragraphs and lines; an empty paragraph keeps its height",
                     "{\\rtf1 a\\par\\par b\\line c}",
                     Lines({Drawn("a", 0, 0, 10, 22, kPlain), Drawn("b", 0, 44, 10, 66, kPlain),
                            Drawn("c", 0, 66, 10, 88, kPlain)})},
        RichDrawCase{"paragraph alignment", "{\\rtf1\\qc ab\\par\\pard\\qr c\\par\\pard d}",
                     Lines({Drawn("ab", 90, 0, 110, 22, kPlain), Drawn("c", 190, 22, 200, 44, kPlain),
                            Drawn("d", 0, 44, 10, 66, kPlain)})},
        RichDrawCase{"words wrap at the rectangle", "{\\rtf1 aaa bbb \\b ccc}",
                     Lines({Drawn("aaa bbb", 0, 0, 70, 22, kPlain), Drawn("ccc", 0, 22, 30, 44, kPlain + "/B")}),
                     {0, 0, 75, 100}},
        RichDrawCase{"tabs are drawn expanded", "{\\rtf1 a\\tab b}", Drawn("a\tb", 0, 0, 90, 22, kPlain)},
        RichDrawCase{"unknown words and skipped groups never show",
                     "{\\rtf1\\unknownword3 a{\\*\\strange x}{\\header h}\\'e9}", Drawn("a\xC3\xA9", 0, 0, 30, 22, kPlain)},
        RichDrawCase{"a font's name may hold escaped characters",
                     "{\\rtf1{\\fonttbl{\\f0 Caf\\'e9 Sans;}{\\f1\\fswiss Plain;}}\\f0 a\\f1 b}",
                     Lines({Drawn("a", 0, 0, 10, 22, "Caf\xC3\xA9 Sans/-20/clBlack"),
                            Drawn("b", 10, 0, 20, 22, "Plain/-20/clBlack")})},
        RichDrawCase{"fonts listed out of their order, one named twice",
                     "{\\rtf1{\\fonttbl{\\f2 Two;}{\\f1 One;}{\\f2 Again;}}\\f1 a\\f2 b}",
                     Lines({Drawn("a", 0, 0, 10, 22, "One/-20/clBlack"),
                            Drawn("b", 10, 0, 20, 22, "Again/-20/clBlack")})},
        RichDrawCase{"a font's name stops at 256 bytes",
                     "{\\rtf1{\\fonttbl{\\f0 " + std::string(300, 'n') + ";}}\\f0 a}",
                     Drawn("a", 0, 0, 10, 22, std::string(256, 'n') + "/-20/clBlack")},
        RichDrawCase{"nothing to draw", "{\\rtf1{\\fonttbl{\\f0 F;}}}", ""}));

INSTANTIATE_TEST_SUITE_P(
    BrokenDocuments, RichTextDrawing,
    ::testing::Values(
        RichDrawCase{"unbalanced braces", "}}{\\rtf1{\\b a}}}b{{", Lines({Drawn("a", 0, 0, 10, 22, kPlain + "/B"),
                                                                            Drawn("b", 10, 0, 20, 22, kPlain)})},
        RichDrawCase{"a colour table cut short", "{\\rtf1{\\colortbl;\\red300\\green-5\\cf1 x",  ""},
        RichDrawCase{"sizes past reason", "{\\rtf1\\fs999999999999 a\\fs-4 b\\fs1 c}",
                     Lines({Drawn("a", 0, 0, 2048, 4098, "MS Sans Serif/-4096/clBlack"),
                            Drawn("b", 2048, 4076, 2058, 4098, kPlain), Drawn("c", 2058, 4095, 2059, 4098, "MS Sans Serif/-1/clBlack")}),
                     {0, 0, 65535, 65535}}));

TEST(RichText, MeasuresWhatItDraws) {
  MarkupSurface surface;
  TMarkupInput input;
  input.Text = "{\\rtf1 one \\b two\\par\\fs60 three}";
  input.Rect = {0, 0, 65535, 65535};
  input.MeasureOnly = true;
  const TMarkupResult measured = DrawRichText(surface.canvas, input);
  EXPECT_EQ(measured.Width, 5 * 20);  // "three" at 40 pixels: 20 a byte
  EXPECT_EQ(measured.Height, 22 + 42);
  EXPECT_TRUE(surface.canvas.Calls().empty());
  EXPECT_EQ(surface.canvas.Font().Height, -20);  // the surface as it was
}

// The plain text a screen reader gets is what is drawn.
TEST(RichText, ThePlainTextIsTheDrawnText) {
  const std::string document = std::string(kTables) + "\\f1\\cf1 one\\par two\\tab \\u8364?}";
  MarkupSurface surface;
  TMarkupInput input;
  input.Text = document;
  input.Rect = {0, 0, 65535, 65535};
  std::string drawn = DrawRichText(surface.canvas, input).PlainText;
  for (std::size_t at = drawn.find('\r'); at != std::string::npos; at = drawn.find('\r', at + 2)) drawn.insert(at + 1, "\n");
  EXPECT_EQ(drawn, RichTextToPlainText(document));
}

TEST(RichText, AMillionNestedGroupsAreDrawnAsFarAsTheyAreSound) {
  const std::string document = "{\\rtf1 a" + std::string(1'000'000, '{') + "\\b deep" + std::string(1'000'000, '}') + "b}";
  MarkupSurface surface;
  EXPECT_EQ(DrawnRich(surface, document, {0, 0, 200, 100}),
            Lines({Drawn("a", 0, 0, 10, 22, kPlain), Drawn("deep", 10, 0, 50, 22, kPlain + "/B"),
                   Drawn("b", 50, 0, 60, 22, kPlain)}));
}

int DrawTextCalls(const TRecordingCanvas& canvas) {
  int count = 0;
  for (const std::string& call : canvas.Calls()) count += call.rfind("DrawText", 0) == 0;
  return count;
}

TEST(RichText, AHugeCellIsDrawnAsFarAsItShows) {
  std::string document = "{\\rtf1 ";
  while (document.size() < (std::size_t{100} << 20)) document += "word \\b bold\\b0  \\par ";
  MarkupSurface surface;
  TMarkupInput input;
  input.Text = document;
  input.Rect = {0, 0, 120, 21};
  const TMarkupResult painted = DrawRichText(surface.canvas, input);
  EXPECT_EQ(DrawTextCalls(surface.canvas), 2);
  EXPECT_EQ(painted.PlainText, "word bold \r");
}

}  // namespace
}  // namespace kelvora
