// The clipboard as text: copying a grid of a million date rows as
// tab-separated lines, and pasting that text into an empty grid that grows
// to hold it, against python's csv module writing and reading the same rows
// in its tab-separated dialect, in memory.
//
// Only the grid's own work is timed: building the text (copy) and reading it
// into cells (paste), not the system clipboard, whose cost is Qt's.

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <string>

#include "app/form1_grid.h"
#include "grid/cell_grid.h"
#include "support/bench_support.h"
#include "toolkit/application.h"

namespace kelvora::bench {
namespace {

const int kRows = Sized(1'000'000, 10'000);
constexpr int kCols = 7;
const int kRuns = Repetitions(3);

const char* const kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};

void SetUpGrid(TCellGrid& grid) {
  ApplyGridDescription(grid);
  grid.Loaded();
  grid.SetColCount(kCols);
  grid.Navigation().AllowClipboardRowGrow = true;
  grid.resize(800, 600);
  grid.show();
  QCoreApplication::processEvents();
}

void FillGrid(TCellGrid& grid) {
  grid.SetRowCount(kRows);
  for (int r = 0; r < kRows; ++r) {
    grid.SetCells(0, r, kDays[r % 7]);
    for (int c = 1; c < kCols; ++c) grid.SetCells(c, r, std::to_string((r + c) % 60));
  }
  grid.SetSelection({0, 0, kCols - 1, kRows - 1});
}

double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

template <typename Work>
double BestSeconds(Work work) {
  double best = std::numeric_limits<double>::infinity();
  for (int run = 0; run < kRuns; ++run) {
    const auto start = std::chrono::steady_clock::now();
    work();
    best = std::min(best, Seconds(start));
  }
  return best;
}

// Python builds the same rows, then times writing them and reading them back.
constexpr const char* kPython = R"(
import csv, io, sys, time
days = ['Mon', 'Tue', 'Wed', 'Thu', 'Fri', 'Sat', 'Sun']
n = int(sys.argv[1]); runs = int(sys.argv[2])
rows = [[days[r % 7]] + [str((r + c) % 60) for c in range(1, 7)] for r in range(n)]
best_write = best_read = float('inf')
for _ in range(runs):
    start = time.perf_counter()
    out = io.StringIO(); csv.writer(out, dialect='excel-tab').writerows(rows); text = out.getvalue()
    best_write = min(best_write, time.perf_counter() - start)
    start = time.perf_counter()
    back = list(csv.reader(io.StringIO(text), dialect='excel-tab'))
    best_read = min(best_read, time.perf_counter() - start)
assert back == rows
print(best_write, best_read)
)";

}  // namespace
}  // namespace kelvora::bench

int main(int argc, char** argv) {
  using namespace kelvora::bench;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  kelvora::TApplication app(argc, argv);

  kelvora::TCellGrid source;
  SetUpGrid(source);
  FillGrid(source);
  std::string text;
  const double copySeconds = BestSeconds([&] { text = source.SelectionAsText(); });

  // A new grid for each run, made and dropped outside the timing.
  bool same = true;
  double pasteSeconds = std::numeric_limits<double>::infinity();
  for (int run = 0; run < kRuns; ++run) {
    kelvora::TCellGrid target;
    SetUpGrid(target);
    target.SetRowCount(1);
    const auto start = std::chrono::steady_clock::now();
    target.PasteText(0, 0, text);
    pasteSeconds = std::min(pasteSeconds, Seconds(start));
    same = same && target.RowCount() == kRows && target.Cells(0, kRows - 1) == source.Cells(0, kRows - 1) &&
           target.Cells(6, kRows / 2) == source.Cells(6, kRows / 2);
  }

  double pythonWrite = 0;
  double pythonRead = 0;
  const std::string output = CommandOutput("python3 -c " + ShellQuoted(kPython) + " " + std::to_string(kRows) + " " +
                                           std::to_string(kRuns));
  if (std::sscanf(output.c_str(), "%lf %lf", &pythonWrite, &pythonRead) != 2) {
    std::fprintf(stderr, "python3 with its csv module did not run\n");
    return 1;
  }
  if (!same) {
    std::fprintf(stderr, "the pasted grid does not hold the copied cells\n");
    return 1;
  }
  std::fprintf(stderr, "%zu bytes of text for %d rows\n", text.size(), kRows);
  PrintFigure("clipboard_copy_1m", copySeconds * 1000, "ms");
  PrintAnchor("python_tab_write_1m", pythonWrite * 1000, "ms");
  PrintFigure("clipboard_paste_1m", pasteSeconds * 1000, "ms");
  PrintAnchor("python_tab_read_1m", pythonRead * 1000, "ms");
  return 0;
}
