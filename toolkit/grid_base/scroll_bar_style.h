#pragma once

#include <QProxyStyle>

namespace kelvora {

// The style a grid's scroll bars are drawn in: the application's own style,
// with the thickness the grid asks for and, when flat, the bar's arrows and
// slider drawn without their raised frames. The colour comes through the
// bars' palette.
class TScrollBarStyle : public QProxyStyle {
 public:
  TScrollBarStyle();

  void SetFlat(bool flat) { flat_ = flat; }
  bool Flat() const { return flat_; }
  void SetWidth(int width) { width_ = width; }  // pixels at a scale of 1; 0: the style's own

  int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr, const QWidget* widget = nullptr) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                          const QWidget* widget = nullptr) const override;

 private:
  bool flat_ = false;
  int width_ = 0;
};

}  // namespace kelvora
