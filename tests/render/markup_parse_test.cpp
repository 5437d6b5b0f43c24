#include "grid/render/markup_parse.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace kelvora {
namespace {

std::string Describe(const std::vector<TMarkupPiece>& pieces) {
  std::string out;
  for (const TMarkupPiece& piece : pieces) {
    if (!out.empty()) out += "|";
    out += piece.Kind == mpWord ? "w:" + std::string(piece.Word) : "t:" + std::string(piece.Tag.Text);
  }
  return out;
}

TEST(MarkupParse, CutsWordsAfterSpacesAndBeforeTags) {
  EXPECT_EQ(Describe(ParseMarkup("ab cd<B>e f</B>")), "w:ab |w:cd|t:B|w:e |w:f|t:/B");
  EXPECT_EQ(Describe(ParseMarkup("a  b")), "w:a |w: |w:b");
  EXPECT_EQ(Describe(ParseMarkup("a > b")), "w:a |w:> |w:b");
  EXPECT_EQ(Describe(ParseMarkup("")), "");
}

TEST(MarkupParse, ALessThanSignWithoutClosingEndsTheText) {
  EXPECT_EQ(Describe(ParseMarkup("ab<B>c<d e")), "w:ab|t:B|w:c");
  EXPECT_EQ(Describe(ParseMarkup("<")), "");
  EXPECT_EQ(Describe(ParseMarkup("<<B>x")), "t:<B|w:x");
}

struct TTagCase {
  const char* text;  // between "<" and ">"
  TMarkupTagKind kind;
};

TEST(MarkupParse, RecognisesTagsByFirstLetterAndFullNamesUnderBISU) {
  const std::vector<TTagCase> cases = {
      {"A href=\"x\"", mtLink}, {"ANYTHING", mtLink}, {"b", mtBold},    {"BR", mtBreak},
      {"br/", mtBreak},         {"BODY", mtBody},     {"BLINK x", mtBlink}, {"BX", mtUnknown},
      {"BLINKER", mtUnknown},   {"I", mtItalic},      {"IMG src", mtImage}, {"ind", mtIndent},
      {"IX", mtUnknown},        {"S", mtStrikeOut},   {"SUB", mtSubscript}, {"sup", mtSuperscript},
      {"SHAD", mtShadow},       {"STRIKE", mtUnknown}, {"U", mtUnderline}, {"UL", mtList},
      {"ULX", mtUnknown},       {"FOO", mtFont},      {"HEAD", mtRule},  {"LIST", mtListItem},
      {"PRE", mtParagraph},     {"RX", mtRotate},     {"Zz", mtHidden},  {"TABLE", mtUnknown},
      {"", mtUnknown},          {" B", mtUnknown},    {"1", mtUnknown},
      // Closing tags.
      {"/A", mtLink},           {"/Apple", mtLink},   {"/B", mtBold},    {"/BODY", mtBold},
      {"/BR", mtBold},          {"/BL", mtBlink},     {"/blink", mtBlink}, {"/SUB", mtScripts},
      {"/SUPER", mtScripts},    {"/SHAD", mtShadow},  {"/SH", mtShadow}, {"/S", mtStrikeOut},
      {"/SX", mtStrikeOut},     {"/UL", mtList},      {"/ul", mtList},   {"/ULX", mtUnderline},
      {"/U", mtUnderline},      {"/I", mtItalic},     {"/FONT", mtFont}, {"/F", mtFont},
      {"/P", mtParagraph},      {"/R", mtRotate},     {"/Z", mtHidden},  {"/HR", mtUnknown},
      {"/LI", mtUnknown},       {"/", mtUnknown},     {"/X", mtUnknown},
  };
  for (const TTagCase& c : cases) {
    const TMarkupTag tag = RecogniseTag(c.text);
    EXPECT_EQ(tag.Kind, c.kind) << "<" << c.text << ">";
    if (c.kind != mtUnknown) {
      EXPECT_EQ(tag.Closing, c.text[0] == '/') << c.text;
    }
  }
}

TEST(MarkupParse, ReadsAttributeValuesBetweenQuotes) {
  const TMarkupTag font = RecogniseTag("FONT face=\"Arial\" COLOR = \"clRed\" size=\"12\"");
  EXPECT_EQ(AttributeValue(font, "face"), "Arial");
  EXPECT_EQ(AttributeValue(font, "color"), "clRed");
  EXPECT_EQ(AttributeValue(font, "SIZE"), "12");
  EXPECT_EQ(AttributeValue(font, "bgcolor"), "");
  // Without quotes, or with quotes that never close, a value is empty.
  EXPECT_EQ(AttributeValue(RecogniseTag("FONT color=clRed size=\"3\""), "color"), "");
  EXPECT_EQ(AttributeValue(RecogniseTag("FONT color=\"clRed"), "color"), "");
  EXPECT_EQ(AttributeValue(RecogniseTag("FONT color"), "color"), "");
  EXPECT_EQ(AttributeValue(RecogniseTag("A href=\"\""), "href"), "");
}

// A name inside a longer name or inside another attribute's value is not
// that attribute: "color" must not come out of "bgcolor".
TEST(MarkupParse, MatchesAttributeNamesWhole) {
  const TMarkupTag tag = RecogniseTag("FONT bgcolor=\"clYellow\" face=\"color=\\\"x\"");
  EXPECT_EQ(AttributeValue(tag, "color"), "");
  EXPECT_EQ(AttributeValue(tag, "bgcolor"), "clYellow");
  EXPECT_EQ(AttributeValue(RecogniseTag("A href=\"a\"href=\"b\""), "href"), "a");
  EXPECT_EQ(AttributeValue(RecogniseTag("FONT\tcolor=\"#00FF00\""), "color"), "#00FF00");
}

TEST(MarkupParse, ReadsNumbersOrZero) {
  EXPECT_EQ(MarkupNumber("12"), 12);
  EXPECT_EQ(MarkupNumber(" -7 "), -7);
  EXPECT_EQ(MarkupNumber("+3"), 3);
  EXPECT_EQ(MarkupNumber("12px"), 0);
  EXPECT_EQ(MarkupNumber("abc"), 0);
  EXPECT_EQ(MarkupNumber(""), 0);
  EXPECT_EQ(MarkupNumber("-"), 0);
  EXPECT_EQ(MarkupNumber("2147483647"), INT_MAX);
  EXPECT_EQ(MarkupNumber("-2147483648"), INT_MIN);
  EXPECT_EQ(MarkupNumber("99999999999999999999999"), INT_MAX);
  EXPECT_EQ(MarkupNumber("-99999999999999999999999"), INT_MIN);
}

std::string Decoded(std::string_view word) {
  std::string out;
  AppendDecodedWord(out, word);
  return out;
}

TEST(MarkupParse, DecodesTheFourEntitiesInAnyCase) {
  EXPECT_EQ(Decoded("&lt;&gt;&amp;&quot;"), "<>&\"");
  EXPECT_EQ(Decoded("&LT;&Gt;&AMP;&QuOt;"), "<>&\"");
  EXPECT_EQ(Decoded("a&amp;lt;b"), "a&lt;b");  // decoded once, left to right
  EXPECT_EQ(Decoded("plain"), "plain");
}

TEST(MarkupParse, AnAmpersandOfNoEntityEndsTheDecoding) {
  EXPECT_EQ(Decoded("a&b&lt;"), "a&b&lt;");
  EXPECT_EQ(Decoded("&lt;&nbsp;&gt;"), "<&nbsp;&gt;");
  EXPECT_EQ(Decoded("&"), "&");
  EXPECT_EQ(Decoded("&lt"), "&lt");
}

TEST(MarkupParse, KeepsAtMost255BytesAfterADecodedEntity) {
  const std::string tail(300, 'x');
  EXPECT_EQ(Decoded("&lt;" + tail), "<" + std::string(255, 'x'));
  EXPECT_EQ(Decoded(tail), tail);
  // The first cut leaves 100 + 4 + 151 bytes; the second entity keeps what
  // is left of them.
  EXPECT_EQ(Decoded("&lt;" + std::string(100, 'y') + "&gt;" + tail), "<" + std::string(100, 'y') + ">" + std::string(151, 'x'));
  EXPECT_EQ(Decoded("&lt;" + std::string(10, 'y') + "&gt;" + tail), "<" + std::string(10, 'y') + ">" + std::string(241, 'x'));
}

}  // namespace
}  // namespace kelvora
