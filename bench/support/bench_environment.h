#pragma once

#include <string>

namespace kelvora::bench {

// Where generated data goes: $KELVORA_BENCH_DATA (bench/run sets it to a
// folder it removes afterwards), else a folder under /tmp kept between runs
// so that a bench started by hand does not generate its data again.
std::string DataDir();

// The best wall time, in seconds, of `repetitions` runs of a shell command.
// The command's standard output is read and thrown away. Throws when the
// shell cannot run it (exit status 126 or 127).
double TimeCommandSeconds(const std::string& shellCommand, int repetitions);

// The standard output of a shell command, for checking a figure against it.
std::string CommandOutput(const std::string& shellCommand);

// A path quoted for the shell.
std::string ShellQuoted(const std::string& text);

// Reads a file once so that later timings see it in the page cache.
void WarmPageCache(const std::string& path);

}  // namespace kelvora::bench
