#pragma once

#include <QApplication>
#include <QtCore/qtestsupport_core.h>
#include <QWidget>

#include "common/patience.h"

namespace kelvora::testing {

// Whether the window's focus is on the widget or inside it (a grid's edit
// box). The window's focus widget rather than the application's, so that a
// box opened over the window does not count as the widget losing it.
inline bool HoldsFocus(const QWidget& widget) {
  const QWidget* focus = widget.window()->focusWidget();
  return focus && (focus == &widget || widget.isAncestorOf(focus)) && focus->isVisible();
}

// The widget that holds the window's focus now: the widget itself or a
// child of it (its edit box); the widget when the focus is elsewhere.
inline QWidget* FocusTarget(QWidget& widget) {
  QWidget* focus = widget.window()->focusWidget();
  return focus ? focus : &widget;
}

// Shows the widget at that size in a window of its own, activates it and
// gives it the focus, as a person clicking into it would; false when the
// focus did not arrive within the patience.
inline bool ShowFocused(QWidget& widget, int width = 400, int height = 300) {
  widget.resize(width, height);
  widget.show();
  QApplication::setActiveWindow(&widget);
  widget.activateWindow();
  widget.setFocus();
  return QTest::qWaitFor([&] { return HoldsFocus(widget); }, kPatience);
}

}  // namespace kelvora::testing
