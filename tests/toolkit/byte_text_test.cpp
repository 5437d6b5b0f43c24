#include "toolkit/byte_text.h"

#include <gtest/gtest.h>

#include <QString>

namespace kelvora {
namespace {

using namespace std::string_literals;

struct Utf8Case {
  const char* name;
  std::string bytes;
  bool valid;
};

class Utf8Validity : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Validity, AcceptsOnlyWellFormedSequences) {
  EXPECT_EQ(IsValidUtf8(GetParam().bytes), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Utf8Validity,
    ::testing::Values(Utf8Case{"Empty", "", true},
                      Utf8Case{"Ascii", "Date: Tue, 11 Feb 2003", true},
                      Utf8Case{"AsciiWithNul", "a\0b"s, true},
                      Utf8Case{"TwoBytes", "caf\xC3\xA9", true},
                      Utf8Case{"ThreeBytes", "\xE2\x82\xAC", true},
                      Utf8Case{"FourBytes", "\xF0\x9D\x84\x9E", true},
                      Utf8Case{"LastBeforeSurrogates", "\xED\x9F\xBF", true},
                      Utf8Case{"FirstAfterSurrogates", "\xEE\x80\x80", true},
                      Utf8Case{"HighestCodePoint", "\xF4\x8F\xBF\xBF", true},
                      Utf8Case{"OverlongNul", "\xC0\x80", false},
                      Utf8Case{"OverlongTwoBytes", "\xC1\xBF", false},
                      Utf8Case{"OverlongThreeBytes", "\xE0\x9F\xBF", false},
                      Utf8Case{"OverlongFourBytes", "\xF0\x8F\xBF\xBF", false},
                      Utf8Case{"FirstSurrogate", "\xED\xA0\x80", false},
                      Utf8Case{"LastSurrogate", "\xED\xBF\xBF", false},
                      Utf8Case{"BeyondHighestCodePoint", "\xF4\x90\x80\x80", false},
                      Utf8Case{"FiveByteLead", "\xF8\x88\x80\x80\x80", false},
                      Utf8Case{"ByteFF", "\xFF", false},
                      Utf8Case{"LoneContinuation", "a\x80z", false},
                      Utf8Case{"TruncatedAtEnd", "abc\xE2\x82", false},
                      Utf8Case{"TruncatedBeforeAscii", "\xC3" "A", false},
                      Utf8Case{"Latin1Word", "caf\xE9", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DisplayText, ValidUtf8IsDecodedAsUtf8) {
  EXPECT_EQ(DisplayText("caf\xC3\xA9 \xE2\x82\xAC"), QString::fromUtf8(u8"café €"));
  EXPECT_EQ(DisplayText("\xF0\x9D\x84\x9E").size(), 2) << "one character outside the basic plane";
}

TEST(DisplayText, AsciiIsUnchangedNulIncluded) {
  const QString text = DisplayText("a\0b"s);
  ASSERT_EQ(text.size(), 3);
  EXPECT_EQ(text[0], QChar('a'));
  EXPECT_EQ(text[1], QChar(0));
  EXPECT_EQ(text[2], QChar('b'));
}

TEST(DisplayText, InvalidUtf8IsReadAsWindows1252Throughout) {
  // One bad byte decides for the whole text: the UTF-8 pair before it is
  // then two Windows-1252 characters, not one.
  EXPECT_EQ(DisplayText("\xC3\xA9\xE9"), QString::fromUtf8(u8"Ã©é"));
}

TEST(DisplayText, Windows1252FillsTheControlRangeWithItsOwnCharacters) {
  const std::pair<char, char16_t> known[] = {
      {'\x80', 0x20AC}, {'\x82', 0x201A}, {'\x85', 0x2026}, {'\x8A', 0x0160}, {'\x92', 0x2019},
      {'\x93', 0x201C}, {'\x96', 0x2013}, {'\x99', 0x2122}, {'\x9F', 0x0178},
      // Bytes left undefined pass through as the control character of that value.
      {'\x81', 0x0081}, {'\x8D', 0x008D}, {'\x8F', 0x008F}, {'\x90', 0x0090}, {'\x9D', 0x009D},
  };
  for (const auto& [byte, character] : known) {
    const QString text = DisplayText(std::string(1, byte));
    ASSERT_EQ(text.size(), 1);
    EXPECT_EQ(text[0].unicode(), character) << "byte " << int(static_cast<unsigned char>(byte));
  }
}

TEST(DisplayText, UpperHalfIsLatin1) {
  for (int byte = 0xA0; byte <= 0xFF; ++byte) {
    const QString text = DisplayText(std::string(1, static_cast<char>(byte)));
    ASSERT_EQ(text.size(), 1);
    EXPECT_EQ(text[0].unicode(), byte);
  }
}

TEST(StoredText, TypedTextIsStoredAsUtf8AndShownBackUnchanged) {
  const QString typed = QString::fromUtf8(u8"Grüße € 𝄞");
  const std::string stored = StoredText(typed);
  EXPECT_EQ(stored, "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xF0\x9D\x84\x9E");
  EXPECT_EQ(DisplayText(stored), typed);
}

struct OemCase {
  const char* name;
  std::string bytes;
  std::string oem;
};

class OemCodePage : public ::testing::TestWithParam<OemCase> {};

TEST_P(OemCodePage, MapsEachCharacterToItsByte) { EXPECT_EQ(ToOemCodePage(GetParam().bytes), GetParam().oem); }

INSTANTIATE_TEST_SUITE_P(
    Table, OemCodePage,
    ::testing::Values(OemCase{"AsciiUnchanged", "Date: 11 Feb, \"x\"", "Date: 11 Feb, \"x\""},
                      OemCase{"EAcuteFromUtf8", "\xC3\xA9", "\x82"},
                      OemCase{"EAcuteFromWindows1252", "\xE9", "\x82"},
                      OemCase{"UUmlaut", "\xC3\xBC", "\x81"},
                      OemCase{"CCedilla", "\xC3\x87", "\x80"},
                      OemCase{"SharpS", "\xC3\x9F", "\xE1"},
                      OemCase{"NoBreakSpace", "\xC2\xA0", "\xFF"},
                      OemCase{"LightShade", "\xE2\x96\x91", "\xB0"},
                      OemCase{"DotlessI", "\xC4\xB1", "\xD5"},
                      OemCase{"EuroHasNoPlace", "\xE2\x82\xAC", "?"},
                      OemCase{"EuroFromWindows1252", "\x80", "?"},
                      OemCase{"OneMarkPerCharacterNotPerByte", "a\xF0\x9D\x84\x9E" "b", "a?b"},
                      // The low half of U+100E9 equals that of "é"; it must not pass for it.
                      OemCase{"NoFalseMatchBeyondBasicPlane", "\xF0\x90\x83\xA9", "?"},
                      OemCase{"MixedWord", "caf\xC3\xA9 \xE2\x82\xAC" "5", "caf\x82 ?5"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelvora
