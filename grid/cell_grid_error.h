#pragma once

#include "toolkit/exceptions.h"

namespace kelvora {

// What the grid raises when one of its operations cannot be carried out: a
// file that cannot be created or read, a cell address or row range outside
// the grid, a paste that does not fit. It carries only its message; the
// application's error handler shows it.
class ECellGridError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace kelvora
