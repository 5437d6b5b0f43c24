#include "toolkit/paths.h"

#include <unistd.h>

#include <QCoreApplication>

namespace kelvora {
namespace {

bool HasDrive(const std::string& path) {
  if (path.size() < 2 || path[1] != ':') return false;
  const char letter = path[0];
  return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}

bool IsSeparator(const std::string& path, std::size_t i) {
  return path[i] == '/' || (path[i] == '\\' && HasDrive(path));
}

bool IsDelimiter(const std::string& path, std::size_t i) {
  return IsSeparator(path, i) || (i == 1 && HasDrive(path));
}

// The index of the last separator or drive colon, npos when there is none.
std::size_t LastDelimiter(const std::string& path) {
  for (std::size_t i = path.size(); i > 0; --i)
    if (IsDelimiter(path, i - 1)) return i - 1;
  return std::string::npos;
}

}  // namespace

std::string ExtractFileDir(const std::string& path) {
  const std::size_t last = LastDelimiter(path);
  if (last == std::string::npos) return {};
  const bool dropSeparator = IsSeparator(path, last) && last > 0 && !IsDelimiter(path, last - 1);
  return path.substr(0, dropSeparator ? last : last + 1);
}

std::string ExtractFileName(const std::string& path) {
  const std::size_t last = LastDelimiter(path);
  return last == std::string::npos ? path : path.substr(last + 1);
}

std::string ExecutablePath() {
  std::string path(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
  if (n > 0 && static_cast<std::size_t>(n) < path.size()) {
    path.resize(static_cast<std::size_t>(n));
    return path;
  }
  // Without /proc (some sandboxes) Qt finds the program its own way.
  if (QCoreApplication::instance()) return QCoreApplication::applicationFilePath().toStdString();
  return {};
}

}  // namespace kelvora
