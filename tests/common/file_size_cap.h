#pragma once

#include <sys/resource.h>

#include <csignal>

namespace kelvora::testing_support {

// Caps the size of any file this process writes, as a nearly full disk
// would, and lifts the cap again when it goes. The signal that the cap
// would send is ignored meanwhile, so a write past it fails with an error.
class TFileSizeCap {
 public:
  explicit TFileSizeCap(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit capped = old_;
    capped.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &capped);
  }
  ~TFileSizeCap() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }
  TFileSizeCap(const TFileSizeCap&) = delete;
  TFileSizeCap& operator=(const TFileSizeCap&) = delete;

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = nullptr;
};

}  // namespace kelvora::testing_support
