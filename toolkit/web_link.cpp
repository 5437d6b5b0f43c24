#include "toolkit/web_link.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include <array>

#include "toolkit/ascii_case.h"

namespace kelvora {
namespace {

std::function<bool(const std::string&)>& Opener() {
  static std::function<bool(const std::string&)> opener;
  return opener;
}

constexpr std::array<std::string_view, 3> kSchemes{"http:", "https:", "mailto:"};

}  // namespace

// The text must begin with the scheme itself, and Qt's strict parse must
// agree on it: no leading blanks or control bytes that a handler might read
// differently.
bool IsWebOrMailLink(std::string_view target) {
  bool named = false;
  for (std::string_view scheme : kSchemes) named = named || StartsWithIgnoringAsciiCase(target, scheme);
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
