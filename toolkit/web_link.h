#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kelvora {

// Links in a cell's text are opened with the desktop's handler, but only web
// and mail links: a text that a file put into a cell must never make the
// program open a local file or start a program.
bool IsWebOrMailLink(std::string_view target);

// Opens the link when it is one; answers whether the handler took it.
bool OpenWebLink(const std::string& target);

// Tests stand in for the desktop's handler while this lives.
class TWebLinkOpenerGuard {
 public:
  explicit TWebLinkOpenerGuard(std::function<bool(const std::string&)> opener);
  ~TWebLinkOpenerGuard();
  TWebLinkOpenerGuard(const TWebLinkOpenerGuard&) = delete;
  TWebLinkOpenerGuard& operator=(const TWebLinkOpenerGuard&) = delete;

 private:
  std::function<bool(const std::string&)> previous_;
};

}  // namespace kelvora
