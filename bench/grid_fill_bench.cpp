// Filling the grid with a million date rows and sizing its columns to them,
// against a QTableWidget given the same texts; and, as the floor that fitting
// cannot beat, one visit to every cell's text of the same grid.
//
// Each measurement runs in a child process of its own (this program started
// again with --child=...), so that every fill starts from a fresh heap and
// the two grids never share one. Both grids are shown in a window while they
// are filled: the cell grid configured as the main window configures it, the
// table widget with its own defaults. The counts are set first and the cells
// written row by row, column by column.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTableWidget>
#include <QWidget>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "app/form1_grid.h"
#include "grid/cell_grid.h"
#include "support/bench_support.h"
#include "toolkit/application.h"

namespace kelvora::bench {
namespace {

const int kRows = Sized(1'000'000, 10'000);
constexpr int kCols = 7;
const int kGridRuns = Repetitions(3);

// The seven fields of a date line, 1 to 4 bytes each: weekday, day, month,
// year, hour, minute, second, as the date extraction cuts them. The texts
// come from small pools, so that making them costs nothing in the loop.
class TDateTexts {
 public:
  TDateTexts() {
    for (int n = 0; n < 2100; ++n) numbers_[n] = std::to_string(n);
  }
  std::string_view Cell(int row, int col) const {
    static constexpr std::array<std::string_view, 7> kDays = {"Mon", "Tue", "Wed", "Thu",
                                                               "Fri", "Sat", "Sun"};
    static constexpr std::array<std::string_view, 12> kMonths = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    switch (col) {
      case 0: return kDays[row % 7];
      case 1: return numbers_[row % 31 + 1];
      case 2: return kMonths[row % 12];
      case 3: return numbers_[1990 + row % 35];
      case 4: return numbers_[row % 24];
      case 5: return numbers_[row * 7 % 60];
      default: return numbers_[row * 13 % 60];
    }
  }

 private:
  std::array<std::string, 2100> numbers_;
};

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Every cell's text read once, column by column as fitting reads them, and
// nothing done with it but adding up its length.
double ScanSeconds(const TCellGrid& grid) {
  const auto start = std::chrono::steady_clock::now();
  std::size_t bytes = 0;
  for (int col = 0; col < grid.ColCount(); ++col)
    for (int row = 0; row < grid.RowCount(); ++row) bytes += grid.CellText(col, row).size();
  benchmark::DoNotOptimize(bytes);
  return SecondsSince(start);
}

// One line on standard output for the parent: "result NAME VALUE".
void Report(const char* name, double value) { std::printf("result %s %.6f\n", name, value); }

// The cell grid as the main window builds it, shown, filled, then fitted.
int RunGridChild(int argc, char** argv) {
  TApplication app(argc, argv);
  const TDateTexts texts;
  QWidget window;
  window.resize(250, 289);
  auto* grid = new TCellGrid(&window);
  grid->setGeometry(0, 35, 242, 208);
  ApplyGridDescription(*grid);
  grid->Loaded();
  window.show();
  QCoreApplication::processEvents();
  grid->SetColCount(kCols);
  grid->SetRowCount(kRows);
  QCoreApplication::processEvents();

  const double before = ResidentMiB();
  const auto start = std::chrono::steady_clock::now();
  for (int row = 0; row < kRows; ++row)
    for (int col = 0; col < kCols; ++col) grid->SetCells(col, row, texts.Cell(row, col));
  const double fillSeconds = SecondsSince(start);
  const double growth = ResidentMiB() - before;
  QCoreApplication::processEvents();

  const auto fitStart = std::chrono::steady_clock::now();
  grid->FitColumnsToText(true, 2);
  const double fitSeconds = SecondsSince(fitStart);
  const double scanSeconds = ScanSeconds(*grid);
  std::string widths;
  for (int col = 0; col < kCols; ++col) widths += " " + std::to_string(grid->ColWidths(col));
  std::fprintf(stderr, "cell grid: fill %.3f s, growth %.1f MiB, fit %.3f s, scan %.3f s, widths%s\n",
               fillSeconds, growth, fitSeconds, scanSeconds, widths.c_str());
  Report("fill_seconds", fillSeconds);
  Report("fill_growth_mib", growth);
  Report("fit_seconds", fitSeconds);
  Report("scan_seconds", scanSeconds);
  return 0;
}

int RunTableWidgetChild(int argc, char** argv) {
  QApplication app(argc, argv);
  const TDateTexts texts;
  QTableWidget table(kRows, kCols);
  table.resize(242, 208);
  table.show();
  QCoreApplication::processEvents();

  const double before = ResidentMiB();
  const auto start = std::chrono::steady_clock::now();
  for (int row = 0; row < kRows; ++row) {
    for (int col = 0; col < kCols; ++col) {
      const std::string_view text = texts.Cell(row, col);
      table.setItem(row, col, new QTableWidgetItem(QString::fromLatin1(text.data(), text.size())));
    }
  }
  const double fillSeconds = SecondsSince(start);
  const double growth = ResidentMiB() - before;
  std::fprintf(stderr, "table widget: fill %.3f s, growth %.1f MiB\n", fillSeconds, growth);
  Report("fill_seconds", fillSeconds);
  Report("fill_growth_mib", growth);
  return 0;
}

struct TChildResults {
  double fillSeconds = -1;
  double growthMiB = -1;
  double fitSeconds = -1;
  double scanSeconds = -1;
};

TChildResults RunChild(const QString& program, const QString& which) {
  QProcess child;
  child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  child.start(program, {"--child=" + which});
  TChildResults results;
  if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
    return results;
  for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
    const QList<QByteArray> fields = line.split(' ');
    if (fields.size() != 3 || fields[0] != "result") continue;
    const double value = fields[2].toDouble();
    if (fields[1] == "fill_seconds") results.fillSeconds = value;
    if (fields[1] == "fill_growth_mib") results.growthMiB = value;
    if (fields[1] == "fit_seconds") results.fitSeconds = value;
    if (fields[1] == "scan_seconds") results.scanSeconds = value;
  }
  return results;
}

// Google Benchmark keeps its table for the commentary; the figures are the
// children's own timings.
void ChildRuns(benchmark::State& state, QString program, QString which, std::vector<TChildResults>* out) {
  for (auto _ : state) {
    const TChildResults results = RunChild(program, which);
    if (results.fillSeconds < 0) return state.SkipWithError(("child " + which + " failed").toStdString().c_str());
    state.SetIterationTime(results.fillSeconds);
    out->push_back(results);
  }
}

double Best(const std::vector<TChildResults>& runs, double TChildResults::*field) {
  double best = std::numeric_limits<double>::infinity();
  for (const TChildResults& run : runs) best = std::min(best, run.*field);
  return best;
}

// Memory is the one reading that should not vary; the largest is reported.
double Largest(const std::vector<TChildResults>& runs, double TChildResults::*field) {
  double largest = 0;
  for (const TChildResults& run : runs) largest = std::max(largest, run.*field);
  return largest;
}

int RunParent(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  const QString program = QCoreApplication::applicationFilePath();
  std::vector<TChildResults> gridRuns;
  std::vector<TChildResults> tableRuns;
  benchmark::RegisterBenchmark("CellGridFill/1M", ChildRuns, program, QString("grid"), &gridRuns)
      ->Iterations(1)->Repetitions(kGridRuns)->UseManualTime()->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("TableWidgetFill/1M", ChildRuns, program, QString("qtablewidget"), &tableRuns)
      ->Iterations(1)->Repetitions(1)->UseManualTime()->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (gridRuns.empty() || tableRuns.empty()) {
    std::fprintf(stderr, "a fill did not finish\n");
    return 1;
  }
  PrintFigure("fill_1m_growth", Largest(gridRuns, &TChildResults::growthMiB), "MiB");
  PrintAnchor("qtablewidget_1m_growth", Largest(tableRuns, &TChildResults::growthMiB), "MiB");
  PrintFigure("fill_1m", Best(gridRuns, &TChildResults::fillSeconds), "s");
  PrintAnchor("qtablewidget_1m", Best(tableRuns, &TChildResults::fillSeconds), "s");
  PrintFigure("fit_1m", Best(gridRuns, &TChildResults::fitSeconds), "s");
  PrintAnchor("store_scan_1m", Best(gridRuns, &TChildResults::scanSeconds), "s");
  return 0;
}

}  // namespace
}  // namespace kelvora::bench

int main(int argc, char** argv) {
  using namespace kelvora::bench;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc > 1 && std::strcmp(argv[1], "--child=grid") == 0) return RunGridChild(argc, argv);
  if (argc > 1 && std::strcmp(argv[1], "--child=qtablewidget") == 0) return RunTableWidgetChild(argc, argv);
  return RunParent(argc, argv);
}
