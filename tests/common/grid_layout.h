#pragma once

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QFrame>
#include <QResizeEvent>

namespace kelvora::testing {

// Lays a grid (or any scroll area) out at that size without showing it:
// without frame and scroll bars its viewport is the widget itself, so a
// test can tell where each cell stands. A hidden widget lays out its
// viewport only when shown, so the resize is delivered at once.
inline void LayOut(QAbstractScrollArea& area, int width = 400, int height = 300) {
  area.setFrameShape(QFrame::NoFrame);
  area.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  area.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  area.resize(width, height);
  QResizeEvent resize(area.size(), QSize());
  QCoreApplication::sendEvent(&area, &resize);
}

}  // namespace kelvora::testing
