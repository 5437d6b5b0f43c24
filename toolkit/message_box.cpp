#include "toolkit/message_box.h"

#include <QMessageBox>

#include "toolkit/byte_text.h"

namespace kelvora {
namespace {
TMessageSink& CurrentSink() {
  static TMessageSink sink;
  return sink;
}
}  // namespace

void ShowErrorBox(const std::string& caption, const std::string& text) {
  if (CurrentSink()) {
    CurrentSink()(caption, text);
    return;
  }
  QMessageBox box(QMessageBox::Critical, DisplayText(caption), DisplayText(text), QMessageBox::Ok);
  box.exec();
}

TMessageSinkGuard::TMessageSinkGuard(TMessageSink sink) : previous_(std::move(CurrentSink())) {
  CurrentSink() = std::move(sink);
}

TMessageSinkGuard::~TMessageSinkGuard() { CurrentSink() = std::move(previous_); }

}  // namespace kelvora
