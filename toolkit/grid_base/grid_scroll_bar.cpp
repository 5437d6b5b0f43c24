#include "toolkit/grid_base/grid_scroll_bar.h"

#include <QStyle>
#include <QStyleOptionSlider>

namespace kelvora {

TGridScrollBar::TGridScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {}

TGridScrollBar::TLook TGridScrollBar::CurrentLook() const {
  QStyleOptionSlider option;
  initStyleOption(&option);
  const QRect slider = style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
  return {slider, value() == minimum(), value() == maximum(), minimum() == maximum()};
}

// Orientation and step changes are rare and repaint as always; a range or
// value change repaints only what the screen does not already show.
void TGridScrollBar::sliderChange(SliderChange change) {
  const bool mayBeSame = change == SliderRangeChange || change == SliderValueChange;
  if (mayBeSame && everPainted_ && CurrentLook() == painted_) return;
  QScrollBar::sliderChange(change);
}

void TGridScrollBar::paintEvent(QPaintEvent* event) {
  painted_ = CurrentLook();
  everPainted_ = true;
  QScrollBar::paintEvent(event);
}

}  // namespace kelvora
