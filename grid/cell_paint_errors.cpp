#include "grid/cell_paint_errors.h"

#include <utility>

#include "toolkit/application.h"

namespace kelvora {

void TPaintErrors::Report() noexcept {
  try {
    std::string message = CurrentExceptionMessage();
    if (message == lastMessage_) return;
    lastMessage_ = std::move(message);
  } catch (...) {
    // No room even for the message: it is shown all the same.
  }
  // The exception being handled is thrown again inside the application's
  // guard, which shows it the way every other error is shown.
  RunGuarded([] { throw; }, /*in_paint=*/true);
}

}  // namespace kelvora
