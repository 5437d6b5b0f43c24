#include "grid/render/markup_colour.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvora {
namespace {

struct TColourName {
  const char* name;
  TColor colour;
};

TEST(MarkupColour, KnowsEveryName) {
  const std::vector<TColourName> table = {
      {"clBlack", RGB(0, 0, 0)},         {"clMaroon", RGB(128, 0, 0)},    {"clGreen", RGB(0, 128, 0)},
      {"clOlive", RGB(128, 128, 0)},     {"clNavy", RGB(0, 0, 128)},      {"clPurple", RGB(128, 0, 128)},
      {"clTeal", RGB(0, 128, 128)},      {"clGray", RGB(128, 128, 128)},  {"clSilver", RGB(192, 192, 192)},
      {"clRed", RGB(255, 0, 0)},         {"clLime", RGB(0, 255, 0)},      {"clYellow", RGB(255, 255, 0)},
      {"clBlue", RGB(0, 0, 255)},        {"clFuchsia", RGB(255, 0, 255)}, {"clAqua", RGB(0, 255, 255)},
      {"clWhite", RGB(255, 255, 255)},   {"clBackground", SystemColor(1)}, {"clActiveCaption", SystemColor(2)},
      {"clInactiveCaption", SystemColor(3)}, {"clMenu", SystemColor(4)},  {"clWindow", SystemColor(5)},
      {"clWindowFrame", SystemColor(6)}, {"clMenuText", SystemColor(7)},  {"clWindowText", SystemColor(8)},
      {"clCaptionText", SystemColor(9)}, {"clActiveBorder", SystemColor(10)}, {"clInactiveBorder", SystemColor(11)},
      {"clAppWorkSpace", SystemColor(12)}, {"clHighlight", SystemColor(13)}, {"clHighlightText", SystemColor(14)},
      {"clBtnFace", SystemColor(15)},    {"clBtnShadow", SystemColor(16)}, {"clGrayText", SystemColor(17)},
      {"clBtnText", SystemColor(18)},    {"clInactiveCaptionText", SystemColor(19)},
      {"clBtnHighlight", SystemColor(20)}, {"cl3DDkShadow", SystemColor(21)}, {"cl3DLight", SystemColor(22)},
      {"clInfoText", SystemColor(23)},   {"clInfoBk", SystemColor(24)},
  };
  ASSERT_EQ(table.size(), 40u);
  for (const TColourName& entry : table) {
    EXPECT_EQ(ColourFromName(entry.name), entry.colour) << entry.name;
    EXPECT_EQ(MarkupColour(entry.name), entry.colour) << entry.name;
  }
}

TEST(MarkupColour, TheClTestIsCaseSensitiveAndTheLookupIsNot) {
  EXPECT_EQ(MarkupColour("clRed"), clRed);
  EXPECT_EQ(MarkupColour("clRED"), clRed);
  EXPECT_EQ(MarkupColour("CLRED"), std::nullopt);
  EXPECT_EQ(MarkupColour("red"), std::nullopt);
  EXPECT_EQ(MarkupColour(""), std::nullopt);
  // An unknown name is black.
  EXPECT_EQ(MarkupColour("clRedd"), clBlack);
  EXPECT_EQ(MarkupColour("xclred"), clBlack);
  EXPECT_EQ(MarkupColour(std::string(1000, 'c') + "cl"), clBlack);
  EXPECT_EQ(MarkupColour("clNone"), clBlack);  // not in the table
}

TEST(MarkupColour, ReadsHexadecimalTriples) {
  EXPECT_EQ(MarkupColour("#FF0000"), clRed);
  EXPECT_EQ(MarkupColour("#00ff80"), RGB(0, 255, 128));
  EXPECT_EQ(MarkupColour("#123456"), RGB(0x12, 0x34, 0x56));
  EXPECT_EQ(MarkupColour("#12345678"), RGB(0x12, 0x34, 0x56));
  EXPECT_EQ(MarkupColour("#12345"), clBlack);
  EXPECT_EQ(MarkupColour("#GG0000"), clBlack);
  // The digits are read from the second character on, wherever the "#" is.
  EXPECT_EQ(ColourFromHex("x#FF0000"), clBlack);
  // A value with both: the name rule comes first.
  EXPECT_EQ(MarkupColour("#clRed"), clBlack);
}

}  // namespace
}  // namespace kelvora
