#pragma once

#include <stdexcept>
#include <string>

namespace kelvora {

// The base of every error the program raises on purpose: a message for the user.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

// Error codes of the text-file layer, as the classic runtime numbers them.
enum TInOutCode {
  ioFileNotFound = 2,
  ioPathNotFound = 3,
  ioAccessDenied = 5,
  ioDiskFull = 112,
  ioIsDirectory = 1001,
  ioNoFileName = 1002,
};

// A failure of the text-file layer: a message and the code behind it.
class EInOutError : public Exception {
 public:
  explicit EInOutError(int code);
  EInOutError(int code, const std::string& message) : Exception(message), code_(code) {}
  int ErrorCode() const { return code_; }

  // The error for an errno value from the system.
  static EInOutError FromErrno(int err);

 private:
  int code_;
};

// The user-facing text of an error code: "File not found", "I/O error 27", ...
std::string InOutMessage(int code);

}  // namespace kelvora
