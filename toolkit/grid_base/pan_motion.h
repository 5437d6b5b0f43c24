#pragma once

#include "toolkit/geometry.h"

namespace kelvora {

// Which ways a middle-button pan may scroll.
struct TPanAxes {
  bool Vertical = false;
  bool Horizontal = false;
  bool Any() const { return Vertical || Horizontal; }
};

// The motion of a middle-button pan, apart from any widget: the mouse's
// distance from the origin sets a speed in rows (columns) per second, and
// time spent at that speed is gathered into whole rows, so that the grid
// scrolls as steadily at one row a second as at a hundred.
class TPanMotion {
 public:
  // Pixels around the origin where the grid stands still, so that a hand
  // that cannot hold the mouse exactly still does not scroll.
  static constexpr int kDeadZone = 8;
  static constexpr double kMaxSpeed = 4000;  // lines a second

  void Start(TPoint origin, TPanAxes axes);
  void MoveTo(TPoint mouse);
  TPanAxes Axes() const { return axes_; }
  TPoint Origin() const { return origin_; }
  // Whether the mouse has left the still zone since the start, whichever
  // way: a press that did is a drag, which its release ends.
  bool Moved() const { return moved_; }
  // Columns and rows to scroll after `milliseconds` more at the present
  // distance: positive right and down.
  TPoint Advance(int milliseconds);
  // Lines a second for a distance in pixels; the sign follows the distance.
  static double Speed(int distance);

 private:
  double Gather(double& pending, int distance, int milliseconds);

  TPoint origin_;
  TPoint mouse_;
  TPanAxes axes_;
  bool moved_ = false;
  double pendingCols_ = 0;
  double pendingRows_ = 0;
};

}  // namespace kelvora
