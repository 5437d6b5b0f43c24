#pragma once

// Everything a bench program needs besides Google Benchmark itself.
#include "support/bench_environment.h"
#include "support/bench_output.h"
#include "support/bench_scale.h"
#include "support/mail_export.h"
#include "support/process_descriptors.h"
#include "support/process_memory.h"
#include "support/window_driving.h"
