#pragma once

#include <QPoint>
#include <QWidget>

#include <string>
#include <string_view>

#include "toolkit/color.h"
#include "toolkit/geometry.h"

namespace kelvora {

// The hint window: the toolkit's own tool tip, so that screen readers
// announce it as they announce any tool tip, on a background of the owner's
// colour. It hides itself once the mouse leaves `area` (in the owner's
// coordinates), and on a key, a click or the wheel.
class THintWindow {
 public:
  // `text` is a cell's byte text, shown as plain text, wrapped at words.
  static void Show(QWidget* owner, QPoint at, std::string_view text, TColor color, const TRect& area);
  static void Hide();
  static bool Showing();
  // The plain text the window shows; empty while it is hidden.
  static std::string Text();
};

}  // namespace kelvora
