#pragma once

#include <QString>
#include <QTest>
#include <QWidget>

#include "common/show_focused.h"

namespace kelvora::testing {

// Types each character into whatever holds the widget's focus at that
// moment, as a person typing would: the first one may open an edit box for
// the rest. Beyond ASCII a key is named after its capital, as keyboards do.
inline void TypeInto(QWidget& widget, const QString& text) {
  for (const QChar c : text) {
    QWidget* target = FocusTarget(widget);
    if (c.unicode() < 128) {
      QTest::keyClicks(target, QString(c));
      continue;
    }
    const auto key = static_cast<Qt::Key>(c.toUpper().unicode());
    QTest::sendKeyEvent(QTest::Press, target, key, QString(c), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, target, key, QString(c), Qt::NoModifier);
  }
}

}  // namespace kelvora::testing
