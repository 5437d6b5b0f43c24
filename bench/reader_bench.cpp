// Reading every line of a gigabyte export, the work behind "Get Data" before
// any cell is written, against grep counting the date lines of the same file.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <string>

#include "support/bench_support.h"
#include "toolkit/text_file.h"

namespace kelvora::bench {
namespace {

constexpr std::uint64_t kExportBytes = 1'000'000'000;

double gBestReadSeconds = std::numeric_limits<double>::infinity();
long gDateLines = 0;

// Counts the date lines so that the reading cannot be optimised away and can
// be checked against grep.
long CountDateLines(const std::string& path) {
  TTextReader reader;
  reader.AssignFile(path);
  reader.Reset();
  long dateLines = 0;
  while (!reader.Eof()) {
    const std::string_view line = reader.ReadLineView();
    if (line.starts_with("Date:")) ++dateLines;
  }
  reader.Close();
  return dateLines;
}

void ReadEveryLine(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    gDateLines = CountDateLines(path);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    gBestReadSeconds = std::min(gBestReadSeconds, elapsed.count());
  }
  state.counters["date_lines"] = static_cast<double>(gDateLines);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kExportBytes));
}

}  // namespace
}  // namespace kelvora::bench

int main(int argc, char** argv) {
  using namespace kelvora::bench;
  benchmark::Initialize(&argc, argv);
  const std::string path = DataDir() + "/mail-export-1g.txt";
  std::fprintf(stderr, "preparing %s\n", path.c_str());
  EnsureMailExport(path, kExportBytes);
  WarmPageCache(path);

  benchmark::RegisterBenchmark("ReadEveryLine/1GB", ReadEveryLine, path)
      ->Iterations(1)
      ->Repetitions(3)
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  // The C locale keeps grep on its fastest path, so the anchor is not flattered.
  const std::string grep = "LC_ALL=C grep -c '^Date:' " + ShellQuoted(path);
  const double grepSeconds = TimeCommandSeconds(grep, 3);
  const long grepCount = std::stol(CommandOutput(grep));
  std::fprintf(stderr, "date lines: reader %ld, grep %ld\n", gDateLines, grepCount);
  if (grepCount != gDateLines) {
    std::fprintf(stderr, "the reader and grep disagree on the number of date lines\n");
    return 1;
  }
  PrintFigure("reader_1g", gBestReadSeconds, "s");
  PrintAnchor("grep_c_1g", grepSeconds, "s");
  return 0;
}
