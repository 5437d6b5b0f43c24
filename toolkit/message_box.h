#pragma once

#include <functional>
#include <string>

namespace kelvora {

// The error box of the program. Tests put a sink in front of it so that the
// message is captured instead of a modal box being shown.
void ShowErrorBox(const std::string& caption, const std::string& text);

using TMessageSink = std::function<void(const std::string& caption, const std::string& text)>;
// Replaces the real box until the returned guard ends.
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
