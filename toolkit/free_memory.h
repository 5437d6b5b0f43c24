#pragma once

namespace kelvora {

// Gives the pages that freed blocks leave inside the heap back to the
// system, so that a large passing job (a sort, a filter) does not keep its
// peak for the rest of the session. Nothing where the C library cannot.
void ReturnFreedMemory() noexcept;

}  // namespace kelvora
