#include "support/window_driving.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include <cstdio>

namespace kelvora::bench {

void ShowFocused(QWidget& widget, int width, int height) {
  if (!testing::ShowFocused(widget, width, height)) std::fprintf(stderr, "the widget did not get the focus\n");
}

void SendKey(QWidget* target, Qt::Key key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(target, &release);
}

}  // namespace kelvora::bench
