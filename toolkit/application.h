#pragma once

#include <QApplication>

#include <exception>
#include <string>

namespace kelvora {

// The application object: title, message loop and the default error handler.
// Every event passes through notify(), so an exception thrown by a command
// ends there with a message box and never crosses Qt's event loop.
class TApplication : public QApplication {
 public:
  TApplication(int& argc, char** argv);

  static TApplication* Instance();

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);
  int Run();  // the message loop; returns when the main window closes

  // Shows the error in a message box with the title as caption.
  void HandleException(const std::exception& error);

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  std::string title_;
};

// The text of the error box: a full stop is added when the last character
// sorts after ".".
std::string ErrorBoxText(const std::string& message);

}  // namespace kelvora
