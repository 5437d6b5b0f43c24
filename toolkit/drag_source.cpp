#include "toolkit/drag_source.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QPoint>
#include <QWidget>

namespace kelvora {

bool IsDragDistance(QPoint from, QPoint to) {
  return (to - from).manhattanLength() >= QApplication::startDragDistance();
}

// Each drag is a child of its source and goes once the drop's events are
// done, so a long session of drags does not pile them up.
void DragOut(QWidget* source, QMimeData* data) {
  auto* drag = new QDrag(source);
  drag->setMimeData(data);
  drag->exec(Qt::CopyAction);
  drag->deleteLater();
}

}  // namespace kelvora
