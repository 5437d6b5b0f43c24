// Saving a grid of a million date rows as CSV while its window is shown,
// against python's csv module, a plain buffered write of the same bytes, and
// the same buffered write made safe: to a temporary file, synced, renamed
// over the target, which is what the grid's save promises too.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

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

// The rows of DateRow (support/date_rows.h), made by the same rules.
constexpr const char* kPythonRows = R"(
import sys
days = ['Mon', 'Tue', 'Wed', 'Thu', 'Fri', 'Sat', 'Sun']
months = ['Jan', 'Feb', 'Mar', 'Apr', 'May', 'Jun', 'Jul', 'Aug', 'Sep', 'Oct', 'Nov', 'Dec']
numbers = [str(n) for n in range(2100)]
rows = [[days[i % 7], numbers[i % 31 + 1], months[i % 12], numbers[1990 + i % 35],
         numbers[i % 24], numbers[i * 7 % 60], numbers[i * 13 % 60]] for i in range(int(sys.argv[2]))]
)";

// Only the writing is timed, not python's start-up nor the building of rows,
// so the anchor is as fast as python gets.
constexpr const char* kPythonWrite = R"(
import csv, sys, time
best = float('inf')
for _ in range(int(sys.argv[3])):
    start = time.perf_counter()
    with open(sys.argv[1], 'w', newline='') as f:
        csv.writer(f).writerows(rows)
    best = min(best, time.perf_counter() - start)
print(best)
)";

// The rows as plain fixed-size cells: what the anchors read from.
struct TPlainCell {
  char text[4];
  unsigned char size;
};

class TPlainTable {
 public:
  TPlainTable() : cells_(static_cast<std::size_t>(kRows) * kCols) {
    for (int r = 0; r < kRows; ++r) {
      const auto row = DateRow(r);
      for (int c = 0; c < kCols; ++c) {
        TPlainCell& cell = cells_[static_cast<std::size_t>(r) * kCols + c];
        std::memcpy(cell.text, row[c].data(), row[c].size());
        cell.size = static_cast<unsigned char>(row[c].size());
      }
    }
  }
  std::string_view Text(int col, int row) const {
    const TPlainCell& cell = cells_[static_cast<std::size_t>(row) * kCols + col];
    return {cell.text, cell.size};
  }

 private:
  std::vector<TPlainCell> cells_;
};

// Each write starts with nothing of the last one still waiting for the disk,
// so that none pays for another's data, whatever order they run in.
void SettleDisk() { ::sync(); }

// A shown grid as the main window leaves it after "Get Data": seven columns,
// no fixed ones, a million rows of date fields.
void FillGrid(TCellGrid& grid) {
  FillDateGrid(grid, kRows);
  grid.resize(800, 600);
  grid.show();
  QCoreApplication::processEvents();
}

void WriteGrid(benchmark::State& state, TCellGrid* grid, std::string path, double* best) {
  for (auto _ : state) {
    SettleDisk();
    const auto start = std::chrono::steady_clock::now();
    grid->WriteCsvFile(path);
    *best = std::min(*best, SecondsSince(start));
  }
}

// The same grid as an HTML table, written as safely as the CSV.
void WriteHtml(benchmark::State& state, TCellGrid* grid, std::string path, double* best) {
  for (auto _ : state) {
    SettleDisk();
    const auto start = std::chrono::steady_clock::now();
    grid->WriteHtmlFile(path);
    *best = std::min(*best, SecondsSince(start));
  }
}

// The same writer adding to a new file in place: no replacement, so no
// temporary file and no wait for the disk. Commentary only, to show what
// the safe replacement costs.
void WriteGridInPlace(benchmark::State& state, TCellGrid* grid, std::string path, double* best) {
  for (auto _ : state) {
    std::filesystem::remove(path);
    SettleDisk();
    const auto start = std::chrono::steady_clock::now();
    grid->WriteCsvFile(path, true);
    *best = std::min(*best, SecondsSince(start));
  }
}

// The same bytes in the plainest way: a 1 MiB buffer handed to fwrite.
bool WritePlainFile(const TPlainTable& table, FILE* file) {
  constexpr std::size_t kBuffer = std::size_t{1} << 20;
  std::string buffer;
  buffer.reserve(kBuffer);
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kCols; ++c) {
      if (c != 0) buffer += ',';
      buffer.append(table.Text(c, r));
    }
    buffer += "\r\n";
    if (buffer.size() > kBuffer - 256) {
      if (std::fwrite(buffer.data(), 1, buffer.size(), file) != buffer.size()) return false;
      buffer.clear();
    }
  }
  return std::fwrite(buffer.data(), 1, buffer.size(), file) == buffer.size();
}

void WritePlain(benchmark::State& state, const TPlainTable* table, std::string path, double* best) {
  for (auto _ : state) {
    SettleDisk();
    const auto start = std::chrono::steady_clock::now();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return state.SkipWithError(("cannot create " + path).c_str());
    const bool written = WritePlainFile(*table, file);
    if (std::fclose(file) != 0 || !written) return state.SkipWithError(("cannot write " + path).c_str());
    *best = std::min(*best, SecondsSince(start));
  }
}

// The plain write made safe the usual way: a temporary file beside the
// target, flushed, synced and renamed over it.
void WriteSafe(benchmark::State& state, const TPlainTable* table, std::string path, double* best) {
  const std::string temporary = path + ".tmp";
  for (auto _ : state) {
    SettleDisk();
    const auto start = std::chrono::steady_clock::now();
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) return state.SkipWithError(("cannot create " + temporary).c_str());
    const bool written = WritePlainFile(*table, file) && std::fflush(file) == 0 && ::fsync(fileno(file)) == 0;
    if (std::fclose(file) != 0 || !written || std::rename(temporary.c_str(), path.c_str()) != 0)
      return state.SkipWithError(("cannot write " + path).c_str());
    *best = std::min(*best, SecondsSince(start));
  }
}

double PythonCsvSeconds(const std::string& path) {
  const std::string script = std::string(kPythonRows) + kPythonWrite;
  const std::string output = CommandOutput("python3 -c " + ShellQuoted(script) + " " + ShellQuoted(path) + " " +
                                            std::to_string(kRows) + " " + std::to_string(kRepetitions));
  return output.empty() ? -1 : std::stod(output);
}

std::string FileBytes(const std::string& path) {
  std::string bytes;
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    char chunk[1 << 16];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, n);
    std::fclose(file);
  }
  return bytes;
}

}  // namespace
}  // namespace kelvora::bench

int main(int argc, char** argv) {
  using namespace kelvora::bench;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  kelvora::TApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);

  const std::string dir = DataDir();
  const std::string gridPath = dir + "/csv-grid-1m.csv";
  const std::string inPlacePath = dir + "/csv-in-place-1m.csv";
  const std::string plainPath = dir + "/csv-plain-1m.csv";
  const std::string pythonPath = dir + "/csv-python-1m.csv";
  const std::string safePath = dir + "/csv-safe-1m.csv";
  const std::string htmlPath = dir + "/grid-1m.html";

  std::fprintf(stderr, "preparing a grid of %d x %d cells\n", kRows, kCols);
  kelvora::TCellGrid grid;
  FillGrid(grid);
  const TPlainTable table;

  double gridSeconds = std::numeric_limits<double>::infinity();
  double inPlaceSeconds = std::numeric_limits<double>::infinity();
  double plainSeconds = std::numeric_limits<double>::infinity();
  double safeSeconds = std::numeric_limits<double>::infinity();
  double htmlSeconds = std::numeric_limits<double>::infinity();
  // The writers take turns, a round at a time, so that a slow spell of the
  // disk falls on all of them alike.
  for (int round = 0; round < kRepetitions; ++round) {
    benchmark::RegisterBenchmark("WriteCsvFile/1M", WriteGrid, &grid, gridPath, &gridSeconds)
        ->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("WriteCsvFileInPlace/1M", WriteGridInPlace, &grid, inPlacePath, &inPlaceSeconds)
        ->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PlainWrite/1M", WritePlain, &table, plainPath, &plainSeconds)
        ->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("SafeWrite/1M", WriteSafe, &table, safePath, &safeSeconds)
        ->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("WriteHtmlFile/1M", WriteHtml, &grid, htmlPath, &htmlSeconds)
        ->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  const double pythonSeconds = PythonCsvSeconds(pythonPath);

  // Four writers of the same rows must agree to the byte, or the timings
  // compare different work.
  const std::string written = FileBytes(gridPath);
  const bool agree = !written.empty() && written == FileBytes(plainPath) &&
                     written == FileBytes(safePath) && written == FileBytes(pythonPath);
  std::fprintf(stderr, "%zu bytes written\n", written.size());
  std::fprintf(stderr, "the same write in place, without the safe replacement: %.4f s\n", inPlaceSeconds);
  std::error_code noSize;
  std::fprintf(stderr, "%ju bytes of HTML written\n",
               static_cast<std::uintmax_t>(std::filesystem::file_size(htmlPath, noSize)));
  for (const std::string& path : {gridPath, inPlacePath, plainPath, safePath, pythonPath, htmlPath})
    std::filesystem::remove(path);
  if (pythonSeconds <= 0) {
    std::fprintf(stderr, "python3 with its csv module did not run\n");
    return 1;
  }
  if (!agree) {
    std::fprintf(stderr, "the grid, the plain write and python did not write the same file\n");
    return 1;
  }
  PrintFigure("csv_1m", gridSeconds, "s");
  PrintAnchor("python_csv_1m", pythonSeconds, "s");
  PrintAnchor("plain_write_1m", plainSeconds, "s");
  PrintAnchor("safe_write_1m", safeSeconds, "s");
  PrintFigure("html_export_1m", htmlSeconds, "s");
  PrintAnchor("csv_1m", gridSeconds, "s");
  return 0;
}
