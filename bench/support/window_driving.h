#pragma once

// Driving a shown widget as a person would, for the benches that time a key
// until the window has painted again.

#include <QObject>
#include <QRect>
#include <QString>
#include <QWidget>

namespace kelvora::bench {

// How long a bench waits for a paint or the focus before it gives up.
constexpr int kWindowPatienceMs = 10'000;

// Counts the paints of a widget and gathers what they covered.
class TPaintWatch : public QObject {
 public:
  explicit TPaintWatch(QWidget* widget) { widget->installEventFilter(this); }
  int Paints = 0;
  QRect Covered;

  bool eventFilter(QObject*, QEvent* event) override;
};

// Runs the event loop until the widget has painted once more; false when it
// did not within the patience.
bool WaitForPaint(const TPaintWatch& watch, int before);

// Shows the widget at the given size and waits until it, or a child of it
// (a grid's edit box), has the focus.
void ShowFocused(QWidget& widget, int width, int height);

// A key pressed and released, sent straight to the widget.
void SendKey(QWidget* target, Qt::Key key, const QString& text = QString());

}  // namespace kelvora::bench
