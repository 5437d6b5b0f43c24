#pragma once

#include <QPoint>
#include <QWidget>

#include <array>

#include "toolkit/grid_base/pan_motion.h"

namespace kelvora {

// One of the four small windows round a pan's origin, each an arrow that
// shows a way the pan can go. Mouse events pass through to the grid.
class TPanArrow : public QWidget {
 public:
  enum TWay { pwUp, pwDown, pwLeft, pwRight };
  static constexpr int kSize = 15;

  TPanArrow(TWay way, QWidget* parent);
  TWay Way() const { return way_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TWay way_;
};

// The arrows of one grid: the vertical pair, the horizontal pair or all
// four, shown at the origin of a pan for the ways it allows.
class TPanArrows {
 public:
  explicit TPanArrows(QWidget* viewport);
  void Show(QPoint origin, TPanAxes axes);
  void Hide();
  const TPanArrow& Arrow(TPanArrow::TWay way) const { return *arrows_[way]; }

 private:
  std::array<TPanArrow*, 4> arrows_;  // owned by the viewport
};

}  // namespace kelvora
