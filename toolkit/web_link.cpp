#include "toolkit/web_link.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include <array>

namespace kelvora {
namespace {

std::function<bool(const std::string&)>& Opener() {
  static std::function<bool(const std::string&)> opener;
  return opener;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (LowerAscii(text[i]) != prefix[i]) return false;
  return true;
}

constexpr std::array<std::string_view, 3> kSchemes{"http:", "https:", "mailto:"};

}  // namespace

// The text must begin with the scheme itself, and Qt's strict parse must
// agree on it: no leading blanks or control bytes that a handler might read
// differently.
bool IsWebOrMailLink(std::string_view target) {
  bool named = false;
  for (std::string_view scheme : kSchemes) named = named || StartsWithIgnoringCase(target, scheme);
  if (!named) return false;
  const QUrl url(QString::fromUtf8(target.data(), static_cast<qsizetype>(target.size())), QUrl::StrictMode);
  if (!url.isValid()) return false;
  const QString scheme = url.scheme();
  return scheme == u"http" || scheme == u"https" || scheme == u"mailto";
}

bool OpenWebLink(const std::string& target) {
  if (!IsWebOrMailLink(target)) return false;
  if (Opener()) return Opener()(target);
  return QDesktopServices::openUrl(QUrl(QString::fromStdString(target), QUrl::StrictMode));
}

TWebLinkOpenerGuard::TWebLinkOpenerGuard(std::function<bool(const std::string&)> opener)
    : previous_(std::move(Opener())) {
  Opener() = std::move(opener);
}

TWebLinkOpenerGuard::~TWebLinkOpenerGuard() { Opener() = std::move(previous_); }

}  // namespace kelvora
