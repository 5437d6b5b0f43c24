#include "toolkit/grid_base/scroll_bar_style.h"

#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionSlider>

namespace kelvora {

// A style of its own over the application's, so that the grid's bars can
// differ from every other bar of the program.
TScrollBarStyle::TScrollBarStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

int TScrollBarStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
  if (metric == PM_ScrollBarExtent && width_ > 0) return width_;
  return QProxyStyle::pixelMetric(metric, option, widget);
}

// Flat: the groove and the slider are filled plainly, the slider a shade
// darker than the bar, and the arrows are drawn as bare arrows; the style
// lays the parts out, so they sit where the raised bar would have them.
void TScrollBarStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                         const QWidget* widget) const {
  const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
  if (control != CC_ScrollBar || !flat_ || !bar) return QProxyStyle::drawComplexControl(control, option, painter, widget);
  const QColor face = bar->palette.color(QPalette::Button);
  painter->fillRect(bar->rect, face);
  const QRect slider = subControlRect(control, bar, SC_ScrollBarSlider, widget);
  if (bar->maximum > bar->minimum) painter->fillRect(slider, face.darker(bar->activeSubControls & SC_ScrollBarSlider ? 150 : 125));
  const bool vertical = bar->orientation == Qt::Vertical;
  const struct {
    SubControl part;
    PrimitiveElement arrow;
  } arrows[] = {{SC_ScrollBarSubLine, vertical ? PE_IndicatorArrowUp : PE_IndicatorArrowLeft},
                {SC_ScrollBarAddLine, vertical ? PE_IndicatorArrowDown : PE_IndicatorArrowRight}};
  for (const auto& a : arrows) {
    QStyleOption arrow = *bar;
    arrow.rect = subControlRect(control, bar, a.part, widget);
    if (!arrow.rect.isEmpty()) drawPrimitive(a.arrow, &arrow, painter, widget);
  }
}

}  // namespace kelvora
