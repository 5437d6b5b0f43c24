// "Get Data" on a gigabyte export, the whole command as the button runs it
// (reading, cutting, writing the cells, growing the rows and fitting the
// columns), against grep counting the date lines of the same file. Beside
// the time, the memory the command needs on top of the cells it leaves.

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

TGetDataResult gResult;

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
void RunGetData(const std::string& path) {
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
  const bool measure = !gResult.measuredMemory && ResetPeakResident();
  const double residentBefore = ResidentMiB();

  const auto start = std::chrono::steady_clock::now();
  form->ReadOld(form->Button1);
  const auto commandEnd = std::chrono::steady_clock::now();
  QCoreApplication::processEvents();
  const auto end = std::chrono::steady_clock::now();

  if (measure) {
    gResult.peakGrowthMiB = PeakResidentMiB() - residentBefore;
    malloc_trim(0);
    gResult.cellsMiB = ResidentMiB() - residentBefore;
    gResult.measuredMemory = true;
  }
  const std::chrono::duration<double> command = commandEnd - start;
  const std::chrono::duration<double> whole = end - start;
  std::fprintf(stderr, "Get Data: command %.3f s, queued events after it %.3f s\n", command.count(),
               whole.count() - command.count());
  gResult.bestSeconds = std::min(gResult.bestSeconds, whole.count());
  gResult.dateRows = form->CellGrid1->RowCount() - 1;
}

void GetData(benchmark::State& state, const std::string& path) {
  for (auto _ : state) RunGetData(path);
  state.counters["date_rows"] = static_cast<double>(gResult.dateRows);
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

  const std::string path = PreparedGigabyteExport();

  benchmark::RegisterBenchmark("GetData/1GB", GetData, path)
      ->Iterations(1)
      ->Repetitions(Repetitions(3))
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  const TGrepCount grep = GrepDateLines(path);
  std::fprintf(stderr, "date rows: Get Data %d, grep %ld\n", gResult.dateRows, grep.Lines);
  if (failed || grep.Lines != gResult.dateRows) {
    std::fprintf(stderr, "Get Data and grep disagree on the number of date lines\n");
    return 1;
  }
  std::fprintf(stderr, "peak resident growth %.1f MiB, cells %.1f MiB\n", gResult.peakGrowthMiB,
               gResult.cellsMiB);
  PrintFigure("getdata_1g", gResult.bestSeconds, "s");
  PrintAnchor("grep_c_1g", grep.Seconds, "s");
  if (!gResult.measuredMemory) {
    std::fprintf(stderr, "the kernel cannot reset this process's peak resident size\n");
    return 1;
  }
  PrintFigure("getdata_1g_overhead", gResult.peakGrowthMiB - gResult.cellsMiB, "MiB");
  return 0;
}
