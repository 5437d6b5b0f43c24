#pragma once

#include <QObject>
#include <QPoint>

#include <functional>
#include <string>
#include <vector>

class QMimeData;
class QWidget;

namespace kelvora {

// Takes text and files dropped on a widget for as long as it lives. Text
// comes as stored text (UTF-8), files as their local paths; a drag of
// files is taken as files, not as the text of their names. What the target
// does not accept is refused while it is still dragged, so the pointer says
// so before the drop.
class TDropTarget : public QObject {
 public:
  explicit TDropTarget(QWidget* widget);
  ~TDropTarget() override;

  bool AcceptText = true;
  bool AcceptFiles = true;
  std::function<void(QPoint at, const std::string& text)> OnText;
  std::function<void(QPoint at, const std::vector<std::string>& files)> OnFiles;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Takes(const QMimeData* data) const;
  void Drop(const QMimeData* data, QPoint at);

  QWidget* widget_;
};

// The local paths of the files a drag carries; empty when it carries none.
std::vector<std::string> DroppedFiles(const QMimeData* data);

}  // namespace kelvora
