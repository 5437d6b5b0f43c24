#pragma once

class QMimeData;
class QPoint;
class QWidget;

namespace kelvora {

// Whether the mouse has moved far enough from where its button went down
// for the desktop to call it a drag rather than a shaky click.
bool IsDragDistance(QPoint from, QPoint to);

// Drags `data` out of `source` as a copy until it is dropped or cancelled;
// the drag owns the data from here.
void DragOut(QWidget* source, QMimeData* data);

}  // namespace kelvora
