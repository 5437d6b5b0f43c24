#include "toolkit/application.h"

#include <QEvent>
#include <QMetaObject>

#include <csignal>
#include <cstdio>
#include <exception>
#include <new>

#include "toolkit/message_box.h"

namespace kelvora {
namespace {

constexpr const char* kUnknownErrorText = "An unexpected error occurred";

bool IsPaintEvent(const QEvent* event) {
  const QEvent::Type type = event->type();
  return type == QEvent::Paint || type == QEvent::UpdateRequest || type == QEvent::UpdateLater;
}

// The last resort when even the error box fails: the message must not be
// lost and the exception must not reach Qt.
void ReportToConsole(const std::string& caption, const std::string& text) noexcept {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

}  // namespace

// A pipe whose reader has gone must fail the write that meets it, with an
// error the user sees, instead of ending the program.
TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv), title_(applicationName().toStdString()) {
  std::signal(SIGPIPE, SIG_IGN);
}

TApplication* TApplication::Instance() {
  return dynamic_cast<TApplication*>(QCoreApplication::instance());
}

void TApplication::SetTitle(const std::string& title) {
  title_ = title;
  setApplicationDisplayName(QString::fromStdString(title));
}

int TApplication::Run() { return exec(); }

void TApplication::HandleCurrentException(bool defer) noexcept {
  std::string text;
  try {
    text = ErrorBoxText(CurrentExceptionMessage());
  } catch (...) {
    ReportToConsole(title_, "Out of memory");
    return;
  }
  try {
    if (!defer) {
      ShowErrorBox(title_, text);
      return;
    }
    QMetaObject::invokeMethod(
        this, [this, text] { ShowErrorBox(title_, text); }, Qt::QueuedConnection);
  } catch (...) {
    ReportToConsole(title_, text);
  }
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    HandleCurrentException(IsPaintEvent(event));
  }
  return true;
}

void RunGuarded(const std::function<void()>& body, bool in_paint) noexcept {
  try {
    body();
  } catch (...) {
    if (TApplication* application = TApplication::Instance()) {
      application->HandleCurrentException(in_paint);
      return;
    }
    try {
      ReportToConsole("Error", CurrentExceptionMessage());
    } catch (...) {
    }
  }
}

std::string CurrentExceptionMessage() {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    return "Out of memory";
  } catch (const std::exception& error) {
    const char* message = error.what();
    return (message && *message) ? message : kUnknownErrorText;
  } catch (...) {
    return kUnknownErrorText;
  }
}

std::string ErrorBoxText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

}  // namespace kelvora
