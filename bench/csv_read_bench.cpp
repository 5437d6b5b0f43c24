// Reading back the million-row CSV file that the grid's save writes, into a
// shown grid, against python's csv.reader over the same file with every
// field touched; and the memory the read needs beside the cells it keeps.
//
// The file is written by a child run of this program, so that the grid that
// wrote it has left no freed memory behind for the read to reuse unseen.

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include "grid/cell_grid.h"
#include "support/bench_support.h"
#include "support/date_rows.h"
#include "support/stopwatch.h"
#include "toolkit/application.h"

namespace kelvora::bench {
namespace {

const int kRows = Sized(1'000'000, 10'000);
constexpr int kCols = 7;
const int kRepetitions = Repetitions(5);
constexpr const char* kWriteFlag = "--write-csv=";

int WriteGridFile(const std::string& path) {
  TCellGrid grid;
  FillDateGrid(grid, kRows);
  grid.WriteCsvFile(path);
  return 0;
}

constexpr const char* kPythonRead = R"(
import csv, sys, time
best = float('inf')
for _ in range(int(sys.argv[2])):
    start = time.perf_counter()
    touched = 0
    with open(sys.argv[1], newline='') as f:
        for row in csv.reader(f):
            for field in row:
                touched += len(field)
    best = min(best, time.perf_counter() - start)
print(best)
)";

double PythonReadSeconds(const std::string& path) {
  const std::string output = CommandOutput("python3 -c " + ShellQuoted(kPythonRead) + " " + ShellQuoted(path) +
                                           " " + std::to_string(kRepetitions));
  return output.empty() ? -1 : std::stod(output);
}

// The kernel forgets the peak, so the next one is the read's alone.
void ResetPeakResident() { std::ofstream("/proc/self/clear_refs") << "5"; }

void ShowGrid(TCellGrid& grid) {
  grid.resize(800, 600);
  grid.show();
  QCoreApplication::processEvents();
}

// The first read goes into a fresh grid: what it holds afterwards beyond
// the start is its cells; what it held at its peak beyond that is the
// reader's own.
double GrowthMiB(const std::string& path) {
  TCellGrid grid;
  ShowGrid(grid);
  const double before = ResidentMiB();
  ResetPeakResident();
  grid.ReadCsvFile(path);
  const double after = ResidentMiB();
  const double peak = PeakResidentMiB();
  std::fprintf(stderr, "read: %.1f MiB before, %.1f MiB after (the cells), %.1f MiB at the peak\n", before, after,
               peak);
  if (grid.RowCount() != kRows || grid.Cells(6, kRows - 1) != DateRow(kRows - 1)[6]) return -1;
  return peak - after;
}

void ReadGrid(benchmark::State& state, TCellGrid* grid, std::string path, double* best) {
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    grid->ReadCsvFile(path);
    *best = std::min(*best, SecondsSince(start));
  }
}

}  // namespace
}  // namespace kelvora::bench

int main(int argc, char** argv) {
  using namespace kelvora::bench;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  kelvora::TApplication app(argc, argv);
  if (argc == 2 && std::strncmp(argv[1], kWriteFlag, std::strlen(kWriteFlag)) == 0)
    return WriteGridFile(argv[1] + std::strlen(kWriteFlag));
  benchmark::Initialize(&argc, argv);

  const std::string path = DataDir() + "/csv-read-1m.csv";
  std::fprintf(stderr, "writing %d rows through the grid\n", kRows);
  CommandOutput(ShellQuoted(std::filesystem::read_symlink("/proc/self/exe").string()) + " " +
                ShellQuoted(kWriteFlag + path));
  if (!std::filesystem::exists(path)) {
    std::fprintf(stderr, "the grid did not write %s\n", path.c_str());
    return 1;
  }
  WarmPageCache(path);

  const double growth = GrowthMiB(path);
  if (growth < 0) {
    std::fprintf(stderr, "the grid did not read back what it wrote\n");
    return 1;
  }
  kelvora::TCellGrid grid;
  ShowGrid(grid);
  double gridSeconds = std::numeric_limits<double>::infinity();
  for (int round = 0; round < kRepetitions; ++round)
    benchmark::RegisterBenchmark("ReadCsvFile/1M", ReadGrid, &grid, path, &gridSeconds)
        ->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  const double pythonSeconds = PythonReadSeconds(path);
  std::filesystem::remove(path);
  if (pythonSeconds <= 0) {
    std::fprintf(stderr, "python3 with its csv module did not run\n");
    return 1;
  }
  PrintFigure("csv_read_1m", gridSeconds, "s");
  PrintAnchor("python_csv_read_1m", pythonSeconds, "s");
  PrintFigure("csv_read_1m_growth", growth, "MiB");
  return 0;
}
