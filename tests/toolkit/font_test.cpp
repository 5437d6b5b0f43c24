#include <gtest/gtest.h>

#include <QFontInfo>

#include <climits>

#include "toolkit/font.h"
#include "toolkit/qt_canvas.h"

namespace kelvora {
namespace {

struct HeightAndSize {
  int height;
  int points;
};

TEST(FontSize, PixelHeightsReadAsPointsAtNinetySixDotsPerInch) {
  const HeightAndSize table[] = {{-11, 8}, {-9, 7}, {-13, 10}, {-16, 12}, {-8, 6}, {16, 12}, {0, 0}, {-96, 72}};
  for (const auto& [height, points] : table) {
    TFont font;
    font.Height = height;
    EXPECT_EQ(font.Size(), points) << "height " << height;
  }
}

TEST(FontSize, PointsBecomeNegativePixelHeights) {
  const HeightAndSize table[] = {{-11, 8}, {-13, 10}, {-16, 12}, {-12, 9}, {-9, 7}, {0, 0}, {-96, 72}};
  for (const auto& [height, points] : table) {
    TFont font;
    font.SetSize(points);
    EXPECT_EQ(font.Height, height) << points << " points";
  }
}

TEST(FontSize, EverySizeSurvivesTheTripThroughPixels) {
  for (int points = 1; points <= 400; ++points) {
    TFont font;
    font.SetSize(points);
    ASSERT_EQ(font.Size(), points);
  }
}

TEST(FontSize, HugeSizesSaturateInsteadOfOverflowing) {
  TFont font;
  font.SetSize(INT_MAX);
  EXPECT_LT(font.Height, 0);
  EXPECT_GT(font.Size(), 1000000);
  font.SetSize(-INT_MAX);
  EXPECT_GT(font.Height, 0);
  font.Height = INT_MIN;
  EXPECT_GT(font.Size(), 0);
}

TEST(FontToQt, CarriesPixelHeightAndStyles) {
  TFont font;
  font.Name = "DejaVu Sans";
  font.Height = -14;
  font.Style = {fsBold, fsUnderline};
  const QFont q = ToQFont(font);
  EXPECT_EQ(q.pixelSize(), 14);
  EXPECT_TRUE(q.bold());
  EXPECT_FALSE(q.italic());
  EXPECT_TRUE(q.underline());
  EXPECT_FALSE(q.strikeOut());
  EXPECT_EQ(q.family(), "DejaVu Sans");

  font.Style = {fsItalic, fsStrikeOut};
  font.Height = 20;
  const QFont other = ToQFont(font);
  EXPECT_EQ(other.pixelSize(), 20);
  EXPECT_FALSE(other.bold());
  EXPECT_TRUE(other.italic());
  EXPECT_TRUE(other.strikeOut());
}

TEST(FontToQt, AMissingFamilyFallsBackToAnInstalledOne) {
  TFont font;
  font.Name = "No Such Family On Any Machine";
  const QFont q = ToQFont(font);
  EXPECT_EQ(q.family(), "No Such Family On Any Machine");
  EXPECT_FALSE(QFontInfo(q).family().isEmpty());
  EXPECT_EQ(QFontInfo(q).pixelSize(), 11);
}

TEST(FontToQt, HeightsQtCannotUseAreMadeUsable) {
  TFont font;
  font.Height = 0;
  EXPECT_GT(ToQFont(font).pixelSize(), 0);
  font.Height = INT_MIN;
  EXPECT_GT(ToQFont(font).pixelSize(), 0);
  EXPECT_LE(ToQFont(font).pixelSize(), 4096);
}

}  // namespace
}  // namespace kelvora
