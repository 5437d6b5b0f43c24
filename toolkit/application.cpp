#include "toolkit/application.h"

#include "toolkit/message_box.h"

namespace kelvora {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

TApplication* TApplication::Instance() {
  return dynamic_cast<TApplication*>(QCoreApplication::instance());
}

void TApplication::SetTitle(const std::string& title) {
  title_ = title;
  setApplicationDisplayName(QString::fromStdString(title));
}

int TApplication::Run() { return exec(); }

void TApplication::HandleException(const std::exception& error) {
  ShowErrorBox(title_, ErrorBoxText(error.what()));
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    HandleException(error);
  } catch (...) {
    HandleException(std::runtime_error("Unexpected error"));
  }
  return true;
}

std::string ErrorBoxText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

}  // namespace kelvora
