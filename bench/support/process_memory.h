#pragma once

namespace kelvora::bench {

// The memory this process holds now, and the most it has held, in MiB (the
// kernel's VmRSS and VmHWM). 0 where the kernel does not tell.
double ResidentMiB();
double PeakResidentMiB();

}  // namespace kelvora::bench
