#pragma once

#include <QRect>
#include <QScrollBar>

namespace kelvora {

// A scroll bar that repaints only when it would look different. A grid of a
// million rows changes the range with every row deleted or inserted, and a
// step of one row in such a range rarely moves the slider by a pixel; the
// plain bar would repaint itself each time, which costs as much as painting
// a good part of the grid.
class TGridScrollBar : public QScrollBar {
 public:
  explicit TGridScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

 protected:
  void sliderChange(SliderChange change) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // What a range or value change can alter on the screen: where the slider
  // is, and whether the bar is at either end or cannot move at all, which
  // some styles show on the arrows.
  struct TLook {
    QRect Slider;
    bool AtMinimum = false;
    bool AtMaximum = false;
    bool Still = false;
    bool operator==(const TLook&) const = default;
  };
  TLook CurrentLook() const;

  TLook painted_;
  bool everPainted_ = false;
};

}  // namespace kelvora
