#include "toolkit/free_memory.h"

#include <cstdlib>  // defines __GLIBC__ where it applies

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace kelvora {

void ReturnFreedMemory() noexcept {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

}  // namespace kelvora
