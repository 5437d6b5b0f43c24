// Start-up: from creating the application object to the first painted
// window, measured inside the program the way it starts (title, main window
// with its grid, show, message loop). A process can make its application
// object only once, so every repetition is a fresh child process that times
// itself and reports; the best of them is the figure.

#include <benchmark/benchmark.h>

#include <QEvent>
#include <QMetaObject>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>

#include "app/form1.h"
#include "support/bench_support.h"
#include "toolkit/application.h"
#include "toolkit/paths.h"

namespace kelvora::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kChildFlag = "--startup-child";

// Ends the message loop once the window has been painted for the first
// time. The paint of the window itself is only the first of its paint
// pass; the queued call runs when the whole pass, children included, is
// done and the loop is back for more.
class TFirstPaintWatch : public QObject {
 public:
  explicit TFirstPaintWatch(QWidget& window) : window_(window) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!seen_ && watched == &window_ && event->type() == QEvent::Paint) {
      seen_ = true;
      QMetaObject::invokeMethod(
          this, [this] {
            painted_ = Clock::now();
            QCoreApplication::quit();
          },
          Qt::QueuedConnection);
    }
    return false;
  }

  Clock::time_point Painted() const { return painted_; }

 private:
  QWidget& window_;
  bool seen_ = false;
  Clock::time_point painted_;
};

// One start of the program in this process; prints the milliseconds.
int RunChild(int argc, char** argv) {
  const Clock::time_point start = Clock::now();
  TApplication app(argc, argv);
  app.SetTitle("Kelvora");
  TForm1 form;
  TFirstPaintWatch watch(form);
  form.installEventFilter(&watch);
  form.show();
  app.Run();
  const std::chrono::duration<double, std::milli> elapsed = watch.Painted() - start;
  std::printf("%.3f\n", elapsed.count());
  return 0;
}

double gBestMilliseconds = std::numeric_limits<double>::infinity();

void Startup(benchmark::State& state) {
  const std::string child = ShellQuoted(ExecutablePath()) + " " + kChildFlag;
  for (auto _ : state) {
    const std::string output = CommandOutput(child);
    const double milliseconds = std::stod(output);
    gBestMilliseconds = std::min(gBestMilliseconds, milliseconds);
    state.SetIterationTime(milliseconds / 1000.0);
  }
}

}  // namespace
}  // namespace kelvora::bench

int main(int argc, char** argv) {
  using namespace kelvora::bench;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc == 2 && std::strcmp(argv[1], kChildFlag) == 0) return RunChild(argc, argv);

  benchmark::Initialize(&argc, argv);
  benchmark::RegisterBenchmark("Startup/FirstPaint", Startup)
      ->Iterations(1)
      ->Repetitions(Repetitions(7))
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond);
  try {
    benchmark::RunSpecifiedBenchmarks();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "a start of the program failed: %s\n", error.what());
    return 1;
  }
  benchmark::Shutdown();
  PrintFigure("startup", gBestMilliseconds, "ms");
  return 0;
}
