#include "toolkit/exceptions.h"

#include <cerrno>

namespace kelvora {

std::string InOutMessage(int code) {
  switch (code) {
    case ioFileNotFound: return "File not found";
    case ioPathNotFound: return "Path not found";
    case ioAccessDenied: return "Access denied";
    case ioDiskFull: return "Disk full";
    case ioIsDirectory: return "Is a folder, not a file";
    case ioNoFileName: return "No file name given";
    default: return "I/O error " + std::to_string(code);
  }
}

EInOutError::EInOutError(int code) : Exception(InOutMessage(code)), code_(code) {}

EInOutError EInOutError::FromErrno(int err) {
  switch (err) {
    case ENOENT: return EInOutError(ioFileNotFound);
    case ENOTDIR: return EInOutError(ioPathNotFound);
    case EACCES:
    case EPERM:
    case EROFS: return EInOutError(ioAccessDenied);
    case ENOSPC:
    case EDQUOT: return EInOutError(ioDiskFull);
    case EISDIR: return EInOutError(ioIsDirectory);
    // Some errno values share a number with the classic codes above (EIO is
    // 5, like "Access denied"), so the text is given here, not looked up.
    default: return EInOutError(err, "I/O error " + std::to_string(err));
  }
}

}  // namespace kelvora
