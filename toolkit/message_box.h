#pragma once

#include <functional>
#include <string>

class QMessageBox;

namespace kelvora {

// Ctrl+C in the box puts its text on the clipboard, so that a person can
// paste an error into a report (the toolkit does this only on some systems).
void LetCtrlCCopyText(QMessageBox& box);

// The error box of the program: modal over the active window, with an error
// icon and an OK button. While one box is open, a further error with the
// same text is dropped and a different one waits until the open box is
// closed, so an error that repeats (a timer, a repaint) cannot pile up boxes.
// During a long command the box waits until the command has ended.
void ShowErrorBox(const std::string& caption, const std::string& text);

// Tests put a sink in front of the box so that the message is captured
// instead of a modal box being shown.
using TMessageSink = std::function<void(const std::string& caption, const std::string& text)>;

// Replaces the real box, or the sink before, until the guard ends.
class TMessageSinkGuard {
 public:
  explicit TMessageSinkGuard(TMessageSink sink);
  ~TMessageSinkGuard();
  TMessageSinkGuard(const TMessageSinkGuard&) = delete;
  TMessageSinkGuard& operator=(const TMessageSinkGuard&) = delete;

 private:
  TMessageSink previous_;
};

}  // namespace kelvora
