#pragma once

namespace kelvora::bench {

// How many file descriptors this process holds open now, counted from
// /proc/self/fd (the descriptor that the count itself opens is left out).
// -1 where the kernel does not tell.
int OpenDescriptorCount();

}  // namespace kelvora::bench
