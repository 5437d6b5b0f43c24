#pragma once

// Driving a shown widget as a person would, for the benches that time a key
// until the window has painted again. The paint watch, its wait and the
// showing come from the tests' own support, so that the two cannot drift.

#include <QString>
#include <QWidget>

#include "common/paint_watch.h"
#include "common/show_focused.h"

namespace kelvora::bench {

using testing::TPaintWatch;
using testing::WaitForPaint;

// Shows the widget at the given size and waits until it, or a child of it
// (a grid's edit box), has the focus; says so when it never came.
void ShowFocused(QWidget& widget, int width, int height);

// A key pressed and released, sent straight to the widget.
void SendKey(QWidget* target, Qt::Key key, const QString& text = QString());

}  // namespace kelvora::bench
