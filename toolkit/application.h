#pragma once

#include <QApplication>

#include <functional>
#include <string>

namespace kelvora {

// The application object: title, message loop and the default error handler.
// Every event passes through notify(), so an exception thrown by a command
// ends there with an error box and never crosses Qt's event loop; the
// program then goes on with the next event.
class TApplication : public QApplication {
 public:
  TApplication(int& argc, char** argv);

  static TApplication* Instance();

  // The caption of the error box. Until the program names itself it is the
  // name of the executable.
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);

  int Run();  // the message loop; returns when the main window closes

  // Shows the exception being handled in the error box. Call it only from
  // inside a catch block. An error met while painting is shown once the
  // painting has finished, because a modal box cannot open inside a paint.
  void HandleCurrentException(bool defer = false) noexcept;

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  std::string title_;
};

// Runs an event handler's body and shows an exception from it in the error
// box, so that the handler itself goes on. Qt's widget and GUI libraries
// are built without exception support: an exception that unwinds through
// them skips their clean-ups (notify() catches it, but Qt's frames between
// the handler and notify() leak and may keep stale state). An override that
// can throw therefore runs its body through this; notify() remains the last
// resort for everything else. A paint handler passes in_paint.
void RunGuarded(const std::function<void()>& body, bool in_paint = false) noexcept;

// The user's text for the exception being handled: its message, "Out of
// memory" for a failed allocation, and a generic text for an exception that
// carries no message. Call it only from inside a catch block.
std::string CurrentExceptionMessage();

// The text of the error box: a full stop is added when the last byte sorts
// after ".".
std::string ErrorBoxText(const std::string& message);

}  // namespace kelvora
