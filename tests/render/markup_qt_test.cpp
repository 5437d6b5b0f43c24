// The renderer on the real Qt surface: the same layout, drawn in kind.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>

#include <string>

#include "grid/render/markup.h"
#include "toolkit/qt_canvas.h"

namespace kelvora {
namespace {

constexpr int kWidth = 120;
constexpr int kHeight = 30;

TFont CellFont() {
  TFont font;
  font.Name = "DejaVu Sans";
  font.Height = -12;
  font.Color = clBlack;
  return font;
}

QImage Paint(std::string_view text, TRect rect, bool blinkPhase = true) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  TQtCanvas canvas(image);
  canvas.SetFont(CellFont());
  canvas.Brush() = TBrush{clWhite, bsSolid};
  TMarkupInput input;
  input.Text = text;
  input.Rect = rect;
  input.BlinkPhase = blinkPhase;
  DrawMarkup(canvas, input);
  return image;
}

int Count(const QImage& image, const std::function<bool(QColor, int, int)>& test) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += test(image.pixelColor(x, y), x, y);
  return count;
}

bool Reddish(QColor c) { return c.red() > 150 && c.green() < 120 && c.blue() < 120; }
bool White(QColor c) { return c == QColor(Qt::white); }

TEST(MarkupOnQt, DrawsColouredTextInsideItsRectangleOnly) {
  const TRect rect{10, 2, 60, 25};
  const QImage image = Paint("<FONT color=\"clRed\">ab</FONT> " + std::string(40, 'x'), rect);
  EXPECT_GT(Count(image, [](QColor c, int, int) { return Reddish(c); }), 5);
  const auto outside = [&](int x, int y) { return x < rect.Left || x >= rect.Right || y < rect.Top || y >= rect.Bottom; };
  EXPECT_EQ(Count(image, [&](QColor c, int x, int y) { return outside(x, y) && !White(c); }), 0);
  EXPECT_GT(Count(image, [&](QColor c, int x, int y) { return !outside(x, y) && !White(c) && !Reddish(c); }), 5);
}

TEST(MarkupOnQt, BlinkingTextVanishesWhileThePhaseIsOff) {
  EXPECT_GT(Count(Paint("<BLINK>ab</BLINK>", {0, 0, kWidth, kHeight}, true), [](QColor c, int, int) { return !White(c); }), 5);
  EXPECT_EQ(Count(Paint("<BLINK>ab</BLINK>", {0, 0, kWidth, kHeight}, false), [](QColor c, int, int) { return !White(c); }), 0);
}

TEST(MarkupOnQt, AParagraphBackgroundFillsItsLineAcross) {
  const QImage image = Paint("<P bgcolor=\"#FFFF00\">a</P>", {5, 0, 100, kHeight});
  EXPECT_EQ(image.pixelColor(99, 2), QColor(255, 255, 0));
  EXPECT_EQ(image.pixelColor(100, 2), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(50, kHeight - 1), QColor(Qt::white));
}

TEST(MarkupOnQt, MeasuresWithTheFontsOwnMetrics) {
  TQtCanvas canvas = TQtCanvas::ForMeasuring();
  canvas.SetFont(CellFont());
  TMarkupInput input;
  input.Text = "<B>abc</B><BR>x";
  input.Rect = {0, 0, 65535, 65535};
  input.MeasureOnly = true;
  const TMarkupResult result = DrawMarkup(canvas, input);
  TFont bold = CellFont();
  bold.Style.insert(fsBold);
  const QFontMetrics metrics(ToQFont(bold));
  EXPECT_EQ(result.Width, metrics.horizontalAdvance("abc"));
  EXPECT_EQ(result.Height, QFontMetrics(ToQFont(CellFont())).height() + metrics.height());
}

}  // namespace
}  // namespace kelvora
