#pragma once

#include "toolkit/exceptions.h"

namespace kelvora {

// A file error of the grid, such as a CSV file that cannot be created. It
// carries only its message; the grid raises it and the application's error
// handler shows it.
class ECellGridError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace kelvora
