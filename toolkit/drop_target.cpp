#include "toolkit/drop_target.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "toolkit/byte_text.h"

namespace kelvora {

TDropTarget::TDropTarget(QWidget* widget) : QObject(widget), widget_(widget) {
  widget_->setAcceptDrops(true);
  widget_->installEventFilter(this);
}

TDropTarget::~TDropTarget() {
  widget_->removeEventFilter(this);
  widget_->setAcceptDrops(false);
}

std::vector<std::string> DroppedFiles(const QMimeData* data) {
  std::vector<std::string> files;
  if (!data->hasUrls()) return files;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) files.push_back(url.toLocalFile().toStdString());
  return files;
}

bool TDropTarget::Takes(const QMimeData* data) const {
  if (data->hasUrls() && !DroppedFiles(data).empty()) return AcceptFiles;
  return AcceptText && data->hasText();
}

void TDropTarget::Drop(const QMimeData* data, QPoint at) {
  if (data->hasUrls()) {
    const std::vector<std::string> files = DroppedFiles(data);
    if (!files.empty()) {
      if (AcceptFiles && OnFiles) OnFiles(at, files);
      return;
    }
  }
  if (AcceptText && data->hasText() && OnText) OnText(at, StoredText(data->text()));
}

bool TDropTarget::eventFilter(QObject* watched, QEvent* event) {
  if (watched != widget_) return false;
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (Takes(drag->mimeData())) drag->acceptProposedAction();
      else drag->ignore();
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      if (!Takes(drop->mimeData())) return drop->ignore(), true;
      drop->acceptProposedAction();
      Drop(drop->mimeData(), drop->position().toPoint());
      return true;
    }
    default: return false;
  }
}

}  // namespace kelvora
