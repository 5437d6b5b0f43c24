#include "grid/render/strip_markup.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvora {
namespace {

struct StripCase {
  std::string markup;
  std::string plain;
};

class StripMarkupTable : public ::testing::TestWithParam<StripCase> {};

TEST_P(StripMarkupTable, GivesThePlainText) {
  EXPECT_EQ(StripMarkup(GetParam().markup), GetParam().plain) << GetParam().markup;
}

INSTANTIATE_TEST_SUITE_P(
    StripMarkup, StripMarkupTable,
    ::testing::Values(
        StripCase{"", ""}, StripCase{"no tags", "no tags"}, StripCase{"<B>ab</B>", "ab"},
        StripCase{"<B>bold</B> and <I>italic</I>", "bold and italic"},
        StripCase{"<FONT face=\"Arial\" color=\"clRed\">red</FONT>", "red"},
        // Line breaks in any letter case.
        StripCase{"a<BR>b", "a\r\nb"}, StripCase{"a<br>b", "a\r\nb"}, StripCase{"a<bR>b", "a\r\nb"},
        StripCase{"a<HR>b", "a\r\nb"}, StripCase{"a<hr>b", "a\r\nb"},
        StripCase{"<BR><BR>", "\r\n\r\n"},
        // Only the bare tags break; one with attributes is an ordinary tag.
        StripCase{"a<BR clear=\"all\">b", "ab"}, StripCase{"a<BRX>b", "ab"},
        // A "<" that nothing closes ends the text.
        StripCase{"ab<B", "ab"}, StripCase{"a<B>b<", "ab"}, StripCase{"a < b", "a "},
        // A ">" without "<" is text.
        StripCase{"a > b", "a > b"}, StripCase{"<B>1 > 0</B>", "1 > 0"},
        // A tag ends at the first ">", even inside quotes.
        StripCase{"<A href=\"x>y\">link</A>", "y\">link"},
        // Breaks are replaced before tags are removed, so one inside another
        // tag's brackets goes with that tag.
        StripCase{"<a <BR> b>c", "c"}, StripCase{"<FONT<BR>x", ""},
        // Entities stay as written.
        StripCase{"&lt;B&gt; &amp;", "&lt;B&gt; &amp;"},
        // Bytes that are not ASCII pass through untouched.
        StripCase{"<B>caf\xE9</B>", "caf\xE9"},
        StripCase{std::string("a\0<B>b", 6), std::string("a\0b", 3)}));

}  // namespace
}  // namespace kelvora
