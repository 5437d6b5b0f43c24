#pragma once

#include <string>

namespace kelvora {

// Painting repeats itself: an error met while painting comes back with the
// next repaint, and the error box that shows it causes one as it closes. So
// the grid shows such an error once: one with the same message as the last
// one shown stays quiet, and the rest of the grid goes on painting.
class TPaintErrors {
 public:
  // Call it from inside a catch block. The error box opens once the painting
  // is over, since a modal box cannot open inside a paint.
  void Report() noexcept;

 private:
  std::string lastMessage_;
};

}  // namespace kelvora
