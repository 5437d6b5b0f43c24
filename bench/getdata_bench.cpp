// "Get Data" on exports of a tenth of a gigabyte and of a gigabyte, the whole
// command as the button runs it (reading, cutting, writing the cells, growing
// the rows and fitting the columns), against grep counting the date lines of
// the same file. Beside the time, the memory the command needs on top of the
// cells it leaves, and what a date row costs in time and in memory at each
// size.

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <QCoreApplication>
#include <QPushButton>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <limits>
#include <memory>
#include <string>

#include "app/form1.h"
#include "grid/cell_grid.h"
#include "support/bench_support.h"
#include "toolkit/application.h"
#include "toolkit/file_dialog.h"
#include "toolkit/message_box.h"

namespace kelvora::bench {
namespace {

struct TGetDataResult {
  double bestSeconds = std::numeric_limits<double>::infinity();
  int dateRows = 0;
  double peakGrowthMiB = 0;
  double cellsMiB = 0;
  bool measuredMemory = false;
};


// The kernel's peak for this process starts again from what it holds now,
// so the next reading of the peak belongs to the command alone.
bool ResetPeakResident() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return static_cast<bool>(clear);
}

// One "Get Data" as a person meets it: a fresh window, File > Open answered
// with the export, then the button's command. The time runs from the click
// until the window has handled what the command left queued for it (the
// repaint and the scroll bars' updates), since the person waits for that too.
void RunGetData(const std::string& path, TGetDataResult& result) {
  auto form = std::make_unique<TForm1>();
  form->show();
  QCoreApplication::processEvents();
  {
    TFileDialogScript dialog;
    dialog.Choose(path);
    form->Button3Click(form->Open1);
  }
  QCoreApplication::processEvents();
  malloc_trim(0);

  // The cells' own share is the resident growth that is left once the
  // command has ended and the memory it freed (the reader's blocks, any
  // line assembled in one piece) has gone back to the system: what the
  // grid keeps for its rows. Everything the resident size rose by beyond
  // that at its peak is the command's overhead.
  const bool measure = !result.measuredMemory && ResetPeakResident();
  const double residentBefore = ResidentMiB();

  const auto start = std::chrono::steady_clock::now();
  form->ReadOld(form->Button1);
  const auto commandEnd = std::chrono::steady_clock::now();
  QCoreApplication::processEvents();
  const auto end = std::chrono::steady_clock::now();

  if (measure) {
    result.peakGrowthMiB = PeakResidentMiB() - residentBefore;
    malloc_trim(0);
    result.cellsMiB = ResidentMiB() - residentBefore;
    result.measuredMemory = true;
  }
  const std::chrono::duration<double> command = commandEnd - start;
  const std::chrono::duration<double> whole = end - start;
  std::fprintf(stderr, "Get Data: command %.3f s, queued events after it %.3f s\n", command.count(),
               whole.count() - command.count());
  result.bestSeconds = std::min(result.bestSeconds, whole.count());
  result.dateRows = form->CellGrid1->RowCount() - 1;
}

void GetData(benchmark::State& state, const std::string& path, TGetDataResult* result) {
  for (auto _ : state) RunGetData(path, *result);
  state.counters["date_rows"] = static_cast<double>(result->dateRows);
}

// The figure and its grep anchor; false when the two disagree on the rows.
bool Report(const char* name, const std::string& path, const TGetDataResult& result) {
  const TGrepCount grep = GrepDateLines(path);
  std::fprintf(stderr, "%s: date rows: Get Data %d, grep %ld; %.1f ns and %.1f bytes a row\n", name,
               result.dateRows, grep.Lines, result.bestSeconds * 1e9 / std::max(result.dateRows, 1),
               result.cellsMiB * (1 << 20) / std::max(result.dateRows, 1));
  if (grep.Lines != result.dateRows) {
    std::fprintf(stderr, "Get Data and grep disagree on the number of date lines\n");
    return false;
  }
  std::fprintf(stderr, "peak resident growth %.1f MiB, cells %.1f MiB\n", result.peakGrowthMiB, result.cellsMiB);
  PrintFigure(std::string("getdata_") + name, result.bestSeconds, "s");
  PrintAnchor(std::string("grep_c_") + name, grep.Seconds, "s");
  return true;
}

}  // namespace
}  // namespace kelvora::bench

int main(int argc, char** argv) {
  using namespace kelvora::bench;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  benchmark::Initialize(&argc, argv);
  kelvora::TApplication app(argc, argv);
  app.SetTitle("Kelvora");
  // A failing command would otherwise wait on an error box no one sees.
  bool failed = false;
  kelvora::TMessageSinkGuard errors([&failed](const std::string&, const std::string& text) {
    std::fprintf(stderr, "error box: %s\n", text.c_str());
    failed = true;
  });

  const std::string tenthPath = PreparedTenthGigabyteExport();
  const std::string path = PreparedGigabyteExport();
  TGetDataResult tenth, result;

  benchmark::RegisterBenchmark("GetData/100MB", GetData, tenthPath, &tenth)
      ->Iterations(1)
      ->Repetitions(Repetitions(3))
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("GetData/1GB", GetData, path, &result)
      ->Iterations(1)
      ->Repetitions(Repetitions(3))
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  // A filter may have run only one of the two.
  const bool ranTenth = tenth.dateRows > 0, ranGigabyte = result.dateRows > 0;
  if (failed || (ranTenth && !Report("100m", tenthPath, tenth))) return 1;
  if (!ranGigabyte) return ranTenth ? 0 : 1;
  if (!Report("1g", path, result)) return 1;
  if (!result.measuredMemory) {
    std::fprintf(stderr, "the kernel cannot reset this process's peak resident size\n");
    return 1;
  }
  PrintFigure("getdata_1g_overhead", result.peakGrowthMiB - result.cellsMiB, "MiB");
  return 0;
}
