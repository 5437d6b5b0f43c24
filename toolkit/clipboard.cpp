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

QMimeData* TextAndHtmlMimeData(std::string_view text, std::string_view html) {
  auto* data = new QMimeData;
  data->setText(DisplayText(text));
  if (!html.empty()) data->setHtml(QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size())));
  return data;
}

void SetClipboardTextAndHtml(std::string_view text, std::string_view html) {
  QGuiApplication::clipboard()->setMimeData(TextAndHtmlMimeData(text, html));
}

}  // namespace kelvora
