#include "toolkit/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "toolkit/byte_text.h"

namespace kelvora {

bool ClipboardHasText() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data != nullptr && data->hasText();
}

std::string ClipboardText() { return StoredText(QGuiApplication::clipboard()->text()); }

void SetClipboardText(std::string_view text) {
  QGuiApplication::clipboard()->setText(DisplayText(text));
}

}  // namespace kelvora
