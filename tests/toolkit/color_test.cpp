#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QPalette>

#include <array>

#include "toolkit/color.h"

namespace kelvora {
namespace {

struct RgbName {
  const char* name;
  int r, g, b;
};

// The colour names a mark-up text may use, with their values.
constexpr std::array<RgbName, 16> kRgbNames{{
    {"clblack", 0, 0, 0},       {"clmaroon", 128, 0, 0},   {"clgreen", 0, 128, 0},
    {"clolive", 128, 128, 0},   {"clnavy", 0, 0, 128},     {"clpurple", 128, 0, 128},
    {"clteal", 0, 128, 128},    {"clgray", 128, 128, 128}, {"clsilver", 192, 192, 192},
    {"clred", 255, 0, 0},       {"cllime", 0, 255, 0},     {"clyellow", 255, 255, 0},
    {"clblue", 0, 0, 255},      {"clfuchsia", 255, 0, 255}, {"claqua", 0, 255, 255},
    {"clwhite", 255, 255, 255},
}};

struct SystemName {
  const char* name;
  int index;
};

constexpr std::array<SystemName, 24> kSystemNames{{
    {"clbackground", 1},        {"clactivecaption", 2},   {"clinactivecaption", 3},
    {"clmenu", 4},              {"clwindow", 5},          {"clwindowframe", 6},
    {"clmenutext", 7},          {"clwindowtext", 8},      {"clcaptiontext", 9},
    {"clactiveborder", 10},     {"clinactiveborder", 11}, {"clappworkspace", 12},
    {"clhighlight", 13},        {"clhighlighttext", 14},  {"clbtnface", 15},
    {"clbtnshadow", 16},        {"clgraytext", 17},       {"clbtntext", 18},
    {"clinactivecaptiontext", 19}, {"clbtnhighlight", 20}, {"cl3ddkshadow", 21},
    {"cl3dlight", 22},          {"clinfotext", 23},       {"clinfobk", 24},
}};

// A palette in which every group and role has a colour of its own.
QPalette DistinctPalette(int shade) {
  QPalette palette;
  for (int group = 0; group < QPalette::NColorGroups; ++group) {
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
      palette.setColor(static_cast<QPalette::ColorGroup>(group), static_cast<QPalette::ColorRole>(role),
                       QColor(role * 9, group * 60 + 10, shade));
    }
  }
  return palette;
}

class ScopedApplicationPalette {
 public:
  explicit ScopedApplicationPalette(const QPalette& palette) : saved_(QApplication::palette()) {
    QApplication::setPalette(palette);
  }
  ~ScopedApplicationPalette() { QApplication::setPalette(saved_); }

 private:
  QPalette saved_;
};

TEST(ColorTable, RgbNamesHaveTheirValues) {
  for (const RgbName& entry : kRgbNames) {
    SCOPED_TRACE(entry.name);
    const auto color = ColorFromString(entry.name);
    ASSERT_TRUE(color.has_value());
    EXPECT_FALSE(IsSystemColor(*color));
    EXPECT_EQ(*color, RGB(entry.r, entry.g, entry.b));
    EXPECT_EQ(ToQColor(*color), QColor(entry.r, entry.g, entry.b));
  }
}

TEST(ColorTable, SystemNamesHaveTheirIndexes) {
  for (const SystemName& entry : kSystemNames) {
    SCOPED_TRACE(entry.name);
    const auto color = ColorFromString(entry.name);
    ASSERT_TRUE(color.has_value());
    EXPECT_TRUE(IsSystemColor(*color));
    EXPECT_EQ(*color, SystemColor(entry.index));
  }
}

TEST(ColorTable, NamesRoundTripThroughColorToString) {
  for (const RgbName& entry : kRgbNames) {
    const TColor color = *ColorFromString(entry.name);
    EXPECT_EQ(ColorFromString(ColorToString(color)), color) << entry.name;
  }
  for (const SystemName& entry : kSystemNames) {
    const TColor color = *ColorFromString(entry.name);
    EXPECT_EQ(ColorFromString(ColorToString(color)), color) << entry.name;
  }
  EXPECT_EQ(ColorToString(clNavy), "clNavy");
  EXPECT_EQ(ColorToString(clHighlight), "clHighlight");
}

TEST(ColorTable, UnnamedColoursPrintAsHexAndUnknownNamesAreRejected) {
  EXPECT_EQ(ColorToString(RGB(1, 2, 3)), "$00030201");
  EXPECT_FALSE(ColorFromString("clNoSuchColour").has_value());
  EXPECT_FALSE(ColorFromString("").has_value());
  EXPECT_EQ(ColorFromString("CLRED"), clRed);  // the table itself ignores case
}

TEST(SystemColors, EveryIndexResolvesThroughThePaletteGiven) {
  const QPalette first = DistinctPalette(1);
  const QPalette second = DistinctPalette(2);
  for (int index = 0; index < kSystemColorCount; ++index) {
    SCOPED_TRACE(index);
    const TColor color = SystemColor(index);
    EXPECT_NE(ToQColor(color, first), ToQColor(color, second));
    EXPECT_EQ(ToQColor(color, first).blue(), 1);
  }
}

TEST(SystemColors, CommonColoursMeetTheirPaletteRoles) {
  const QPalette palette = DistinctPalette(5);
  const auto active = [&](QPalette::ColorRole role) { return palette.color(QPalette::Active, role); };
  EXPECT_EQ(ToQColor(clHighlight, palette), active(QPalette::Highlight));
  EXPECT_EQ(ToQColor(clHighlightText, palette), active(QPalette::HighlightedText));
  EXPECT_EQ(ToQColor(clWindow, palette), active(QPalette::Base));
  EXPECT_EQ(ToQColor(clWindowText, palette), active(QPalette::Text));
  EXPECT_EQ(ToQColor(clBtnFace, palette), active(QPalette::Button));
  EXPECT_EQ(ToQColor(clBtnText, palette), active(QPalette::ButtonText));
  EXPECT_EQ(ToQColor(clBtnHighlight, palette), active(QPalette::Light));
  EXPECT_EQ(ToQColor(clBtnShadow, palette), active(QPalette::Dark));
  EXPECT_EQ(ToQColor(clInfoBk, palette), active(QPalette::ToolTipBase));
  EXPECT_EQ(ToQColor(clInfoText, palette), active(QPalette::ToolTipText));
}

TEST(SystemColors, WithoutAPaletteTheApplicationPaletteOfTheMomentIsUsed) {
  const QPalette palette = DistinctPalette(7);
  {
    ScopedApplicationPalette scoped(palette);
    EXPECT_EQ(ToQColor(clHighlight), palette.color(QPalette::Active, QPalette::Highlight));
    EXPECT_EQ(ColorToRGB(clHighlight), RGB(QPalette::Highlight * 9, QPalette::Active * 60 + 10, 7));
  }
  EXPECT_NE(ToQColor(clHighlight), palette.color(QPalette::Active, QPalette::Highlight));
}

TEST(SystemColors, AnIndexPastTheTableGivesBlack) {
  EXPECT_EQ(ToQColor(SystemColor(kSystemColorCount)), QColor(0, 0, 0));
  EXPECT_EQ(ToQColor(SystemColor(200), DistinctPalette(3)), QColor(0, 0, 0));
}

TEST(NoneAndDefault, AreNeitherRgbNorSystemColours) {
  for (TColor marker : {clNone, clDefault}) {
    SCOPED_TRACE(ColorToString(marker));
    EXPECT_FALSE(IsSystemColor(marker));
    EXPECT_EQ(ToQColor(marker), QColor(0, 0, 0));
    EXPECT_EQ(ToQColor(marker, DistinctPalette(4)), QColor(0, 0, 0));
    for (const RgbName& entry : kRgbNames) EXPECT_NE(marker, RGB(entry.r, entry.g, entry.b));
  }
  EXPECT_NE(clNone, clDefault);
  EXPECT_EQ(ColorToString(clNone), "clNone");
  EXPECT_EQ(ColorToString(clDefault), "clDefault");
  EXPECT_EQ(ColorFromString("clnone"), clNone);
}

}  // namespace
}  // namespace kelvora
