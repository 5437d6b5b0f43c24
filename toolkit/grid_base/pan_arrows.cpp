#include "toolkit/grid_base/pan_arrows.h"

#include <QPainter>
#include <QPolygon>

namespace kelvora {

TPanArrow::TPanArrow(TWay way, QWidget* parent) : QWidget(parent), way_(way) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  resize(kSize, kSize);
  hide();
}

// A dark triangle with a light rim, so that it shows on light and dark cells.
void TPanArrow::paintEvent(QPaintEvent*) {
  const int e = kSize - 1;
  const int m = e / 2;
  QPolygon triangle;
  switch (way_) {
    case pwUp: triangle << QPoint(m, 1) << QPoint(e - 1, e - 2) << QPoint(1, e - 2); break;
    case pwDown: triangle << QPoint(m, e - 1) << QPoint(1, 2) << QPoint(e - 1, 2); break;
    case pwLeft: triangle << QPoint(1, m) << QPoint(e - 2, 1) << QPoint(e - 2, e - 1); break;
    case pwRight: triangle << QPoint(e - 1, m) << QPoint(2, e - 1) << QPoint(2, 1); break;
  }
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(palette().color(QPalette::Base), 1.5));
  painter.setBrush(palette().color(QPalette::Text));
  painter.drawPolygon(triangle);
}

TPanArrows::TPanArrows(QWidget* viewport)
    : arrows_{new TPanArrow(TPanArrow::pwUp, viewport), new TPanArrow(TPanArrow::pwDown, viewport),
              new TPanArrow(TPanArrow::pwLeft, viewport), new TPanArrow(TPanArrow::pwRight, viewport)} {}

void TPanArrows::Show(QPoint origin, TPanAxes axes) {
  const int half = TPanArrow::kSize / 2;
  const int reach = TPanArrow::kSize;  // from the origin to an arrow's centre
  const QPoint centres[] = {{0, -reach}, {0, reach}, {-reach, 0}, {reach, 0}};
  for (TPanArrow* arrow : arrows_) {
    const bool vertical = arrow->Way() == TPanArrow::pwUp || arrow->Way() == TPanArrow::pwDown;
    if (vertical ? !axes.Vertical : !axes.Horizontal) continue;
    arrow->move(origin + centres[arrow->Way()] - QPoint(half, half));
    arrow->raise();
    arrow->show();
  }
}

void TPanArrows::Hide() {
  for (TPanArrow* arrow : arrows_) arrow->hide();
}

}  // namespace kelvora
