// Shapes drawn with the pen at a device pixel ratio of 2: each covers the
// device pixels of the logical pixels it covers at ratio 1, no half pixel
// off, so that an outline meets the fills beside it.

#include <gtest/gtest.h>

#include <QImage>

#include <functional>

#include "toolkit/color.h"
#include "toolkit/qt_canvas.h"

namespace kelvora {
namespace {

using TDrawing = std::function<void(TCanvas&)>;

QImage Drawn(const TDrawing& draw, int ratio) {
  QImage image(QSize(60, 40) * ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::white);
  {
    TQtCanvas canvas(image);
    canvas.Pen().Color = clBlack;
    canvas.Brush().Style = bsClear;
    draw(canvas);
  }
  return image;
}

// Every logical pixel of the picture at ratio 1 is a 2 x 2 block of the
// same colour at ratio 2.
void ExpectScaledExactly(const TDrawing& draw, const char* what) {
  const QImage once = Drawn(draw, 1);
  const QImage twice = Drawn(draw, 2);
  int inked = 0;
  for (int y = 0; y < once.height(); ++y)
    for (int x = 0; x < once.width(); ++x) {
      inked += once.pixel(x, y) != QColor(Qt::white).rgb();
      for (int d = 0; d < 4; ++d)
        ASSERT_EQ(twice.pixel(2 * x + d % 2, 2 * y + d / 2), once.pixel(x, y))
            << what << ": logical pixel " << x << "," << y;
    }
  EXPECT_GT(inked, 10) << what << " drew nothing";
}

// The box around every pixel that is not white.
QRect InkBox(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != QColor(Qt::white).rgb()) box |= QRect(x, y, 1, 1);
  return box;
}

QRect Scaled(const QRect& r) { return QRect(r.topLeft() * 2, r.size() * 2); }

TEST(CanvasAtScaleTwo, OutlinesAndStraightLinesCoverWholeLogicalPixels) {
  ExpectScaledExactly([](TCanvas& c) { c.Rectangle({5, 5, 40, 30}); }, "solid rectangle");
  ExpectScaledExactly(
      [](TCanvas& c) {
        c.MoveTo(3, 7);
        c.LineTo(50, 7);
        c.MoveTo(9, 2);
        c.LineTo(9, 35);
      },
      "straight lines");
  ExpectScaledExactly([](TCanvas& c) { c.DrawFocusRect({10, 10, 30, 25}); }, "focus rectangle");
  ExpectScaledExactly(
      [](TCanvas& c) {
        c.Brush().Style = bsSolid;
        c.Brush().Color = clNavy;
        c.FrameRect({2, 2, 20, 12});
        c.DrawEdge({22, 2, 40, 12}, TEdgeSides{esLeft, esTop, esRight, esBottom});
      },
      "frames and edges");
}

// The pen's own dash pattern and a wide diagonal's edges are the painter's
// to rasterise; what must hold is that they lie where they lie at ratio 1.
TEST(CanvasAtScaleTwo, DottedOutlinesAndDiagonalsKeepTheirPlace) {
  const TDrawing dotted = [](TCanvas& c) {
    c.Pen().Style = psDot;
    c.Rectangle({5, 5, 40, 30});
  };
  const QImage twice = Drawn(dotted, 2);
  EXPECT_EQ(InkBox(twice), Scaled(InkBox(Drawn(dotted, 1))));
  const QRect inner = Scaled(QRect(6, 6, 33, 23));
  for (int y = inner.top(); y <= inner.bottom(); ++y)
    for (int x = inner.left(); x <= inner.right(); ++x)
      ASSERT_EQ(twice.pixel(x, y), QColor(Qt::white).rgb()) << "inside the outline at " << x << "," << y;

  const TDrawing diagonal = [](TCanvas& c) {
    c.MoveTo(4, 4);
    c.LineTo(30, 30);
  };
  EXPECT_EQ(InkBox(Drawn(diagonal, 2)), Scaled(InkBox(Drawn(diagonal, 1))));
}

}  // namespace
}  // namespace kelvora
