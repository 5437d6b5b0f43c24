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
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * GigabyteExportBytes()));
}

}  // namespace
}  // namespace kelvora::bench

int main(int argc, char** argv) {
  using namespace kelvora::bench;
  benchmark::Initialize(&argc, argv);
  const std::string path = PreparedGigabyteExport();

  benchmark::RegisterBenchmark("ReadEveryLine/1GB", ReadEveryLine, path)
      ->Iterations(1)
      ->Repetitions(Repetitions(3))
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  const TGrepCount grep = GrepDateLines(path);
  std::fprintf(stderr, "date lines: reader %ld, grep %ld\n", gDateLines, grep.Lines);
  if (grep.Lines != gDateLines) {
    std::fprintf(stderr, "the reader and grep disagree on the number of date lines\n");
    return 1;
  }
  PrintFigure("reader_1g", gBestReadSeconds, "s");
  PrintAnchor("grep_c_1g", grep.Seconds, "s");
  return 0;
}
