#include "grid/render/rich_text.h"

#include <gtest/gtest.h>

#include <string>

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
        RichCase{"hex bytes", "{\\rtf1 caf\\'e9 \\'C4}", "caf\xE9 \xC4"},
        RichCase{"a hex byte cut short", "{\\rtf1 a\\'4}", "a"},
        RichCase{"a hex escape without digits", "{\\rtf1 a\\'zz}", "azz"},
        RichCase{"typographic characters", "{\\rtf1 \\ldblquote a\\rdblquote \\emdash b}",
                 "\x93" "a\x94\x97" "b"},
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
        RichCase{"non-breaking space and hyphen", "{\\rtf1 a\\~b\\_c\\-d}", "a\xA0" "b-cd"},
        RichCase{"unicode keeps its one-byte fallback", "{\\rtf1 \\u233\\'e9 x}", "\xE9 x"},
        RichCase{"unicode fallback per uc", "{\\rtf1\\uc2 \\u8364 EUx}", "EUx"},
        RichCase{"negative unicode numbers", "{\\rtf1 \\u-3913?}", "?"},
        RichCase{"an ASCII unicode character skips its fallback", "{\\rtf1 \\u65?\\u66 ?c}",
                 "ABc"},
        RichCase{"uc2 skips two after an ASCII character", "{\\rtf1\\uc2 \\u65\\'3f?c}", "Ac"},
        RichCase{"without a fallback unicode becomes UTF-8", "{\\rtf1\\uc0 \\u8364 x}",
                 "\xE2\x82\xAC" "x"},
        RichCase{"surrogate halves make one character", "{\\rtf1\\uc0 \\u-10179\\u-8694 x}",
                 "\xF0\x9F\x98\x8A" "x"},
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

}  // namespace
}  // namespace kelvora
