// The look of the grid's scroll bars, through a style of the toolkit: the
// thickness, flat or raised, and the colour of the bar.
#include <QApplication>
#include <QScrollBar>

#include "toolkit/grid_base/custom_grid.h"
#include "toolkit/grid_base/scroll_bar_style.h"

namespace kelvora {

void TCustomGrid::SetScrollBarLook(bool flat, TColor color, int width) {
  if (!scrollStyle_) {
    scrollStyle_ = new TScrollBarStyle;
    scrollStyle_->setParent(this);
  }
  scrollStyle_->SetFlat(flat);
  scrollStyle_->SetWidth(width);
  for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()}) {
    bar->setStyle(scrollStyle_);
    QPalette palette = QApplication::palette(bar);
    if (color != clNone && color != clDefault) {
      const QColor shade = ToQColor(color, palette);
      palette.setColor(QPalette::Button, shade);
      palette.setColor(QPalette::Window, shade);
      palette.setColor(QPalette::Base, shade);
    }
    bar->setPalette(palette);
    bar->updateGeometry();
    bar->update();
  }
  // The scroll area lays its bars out by the thickness they now ask for.
  QEvent change(QEvent::StyleChange);
  QCoreApplication::sendEvent(this, &change);
}

}  // namespace kelvora
