// "Get Data" on an export larger than 4 GiB, where file offsets no longer fit
// 32 bits: the time of the whole command against grep counting the date
// lines, every row checked against a cutter of this bench's own on the same
// lines, and the memory the command needs beyond the cells it leaves. The
// export is generated in the bench data folder and removed afterwards; where
// the disk lacks the room the bench says so and is skipped. The time a date
// row takes here is set against the time it takes in a tenth of a gigabyte,
// so that a cost growing faster than the rows shows.

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/statvfs.h>

#include <QCoreApplication>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

#include "app/form1.h"
#include "grid/cell_grid.h"
#include "support/bench_support.h"
#include "toolkit/application.h"
#include "toolkit/file_dialog.h"
#include "toolkit/message_box.h"

namespace kelvora::bench {
namespace {

// bench/run takes this exit status for "skipped, with the reason said".
constexpr int kSkipped = 77;

const std::uint64_t kExportBytes = Sized<std::uint64_t>(std::uint64_t{5} << 30, 8'000'000);
constexpr std::uint64_t kSpareBytes = std::uint64_t{1} << 30;

std::uint64_t FreeBytes(const std::string& dir) {
  struct statvfs fs {};
  if (::statvfs(dir.c_str(), &fs) != 0) return 0;
  return static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize;
}

// The kernel's peak for this process starts again from what it holds now.
bool ResetPeakResident() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return static_cast<bool>(clear);
}

struct TRun {
  std::unique_ptr<TForm1> form;
  double seconds = 0;
  double peakGrowthMiB = 0;
  double cellsMiB = 0;
};

// File > Open answered with the export, then the button's command, timed
// until the window has handled what the command queued for it.
TRun GetData(const std::string& path) {
  TRun run;
  run.form = std::make_unique<TForm1>();
  run.form->show();
  QCoreApplication::processEvents();
  {
    TFileDialogScript dialog;
    dialog.Choose(path);
    run.form->Button3Click(run.form->Open1);
  }
  QCoreApplication::processEvents();
  malloc_trim(0);
  ResetPeakResident();
  const double before = ResidentMiB();
  const auto start = std::chrono::steady_clock::now();
  run.form->ReadOld(run.form->Button1);
  QCoreApplication::processEvents();
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.peakGrowthMiB = PeakResidentMiB() - before;
  malloc_trim(0);
  run.cellsMiB = ResidentMiB() - before;
  return run;
}

// The seven pieces of a date line by the fixed counts, worked out as
// absolute positions rather than by cutting a working copy as the program
// does; a piece past the end of the line is empty.
std::array<std::string_view, 7> ReferenceCut(std::string_view line) {
  auto piece = [&](std::size_t from, std::size_t count) {
    return from < line.size() ? line.substr(from, count) : std::string_view();
  };
  const bool weekday = line.size() >= 10 && line[9] == ',';
  const std::size_t day = weekday ? 11 : 6;
  const std::size_t month = day + (line.size() > day + 1 && line[day + 1] == ' ' ? 2 : 3);
  return {weekday ? piece(6, 3) : std::string_view(), piece(day, 2), piece(month, 3), piece(month + 4, 4),
          piece(month + 9, 2), piece(month + 12, 2), piece(month + 15, 2)};
}

// Every LF-ended line of the file, read in large blocks with the C library.
void ForEachLine(const std::string& path, const std::function<bool(std::string_view)>& visit) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return;
  std::string carry;
  std::string block(std::size_t{8} << 20, '\0');
  std::size_t n;
  while ((n = std::fread(block.data(), 1, block.size(), file)) > 0) {
    std::string_view rest(block.data(), n);
    for (std::size_t end; (end = rest.find('\n')) != std::string_view::npos; rest.remove_prefix(end + 1)) {
      const bool more = carry.empty() ? visit(rest.substr(0, end)) : visit(carry.append(rest.substr(0, end)));
      carry.clear();
      if (!more) return (void)std::fclose(file);
    }
    carry.append(rest);
  }
  if (!carry.empty()) visit(carry);
  std::fclose(file);
}

// The rows "Get Data" left against the reference cut of the same lines;
// answers the number of date lines, or -1 at the first difference.
long CheckRows(const TCellGrid& grid, const std::string& path) {
  long row = 0;
  bool same = true;
  ForEachLine(path, [&](std::string_view line) {
    if (line.substr(0, 5) != "Date:") return true;
    const auto pieces = ReferenceCut(line);
    for (int col = 0; col < 7 && same; ++col) same = grid.CellText(col, static_cast<int>(row)) == pieces[col];
    if (!same) std::fprintf(stderr, "row %ld differs from the reference cut of: %.*s\n", row,
                            static_cast<int>(line.size()), line.data());
    ++row;
    return same;
  });
  if (same && grid.RowCount() != row + 1) {
    std::fprintf(stderr, "%d rows for %ld date lines\n", grid.RowCount(), row);
    return -1;
  }
  return same ? row : -1;
}

// The best time of a date row in an export, and the rows it has.
struct TRowTime {
  double seconds = std::numeric_limits<double>::infinity();
  long rows = 0;

  double PerRow() const { return seconds / static_cast<double>(std::max(rows, 1L)); }
};

TRowTime MeasureRowTime(const std::string& path) {
  TRowTime best;
  for (int i = 0; i < Repetitions(3); ++i) {
    const TRun run = GetData(path);
    best.seconds = std::min(best.seconds, run.seconds);
    best.rows = run.form->CellGrid1->RowCount() - 1;
  }
  std::fprintf(stderr, "Get Data on %s: %.3f s, %ld date rows, %.1f ns a row\n", path.c_str(), best.seconds,
               best.rows, best.PerRow() * 1e9);
  return best;
}

int Measure(const std::string& path, const TRowTime& tenth) {
  TRun last;
  double bestSeconds = std::numeric_limits<double>::infinity();
  double peakGrowthMiB = 0, cellsMiB = 0;
  for (int i = 0; i < Repetitions(2); ++i) {
    last.form.reset();  // one grid of millions of rows at a time
    last = GetData(path);
    std::fprintf(stderr, "Get Data on %.2f GiB: %.3f s\n", static_cast<double>(kExportBytes) / (1 << 30),
                 last.seconds);
    bestSeconds = std::min(bestSeconds, last.seconds);
    if (i == 0) peakGrowthMiB = last.peakGrowthMiB, cellsMiB = last.cellsMiB;
  }
  const long dateLines = CheckRows(*last.form->CellGrid1, path);
  const TGrepCount grep = GrepDateLines(path);
  std::fprintf(stderr, "date lines: Get Data %ld, grep %ld; peak resident growth %.1f MiB, cells %.1f MiB\n",
               dateLines, grep.Lines, peakGrowthMiB, cellsMiB);
  if (dateLines < 0 || dateLines != grep.Lines) {
    std::fprintf(stderr, "Get Data did not give the rows of the reference cutter\n");
    return 1;
  }
  // What the command holds beyond the cells is its reader's blocks and the
  // like: a few megabytes, whatever the size of the file.
  const double overhead = peakGrowthMiB - cellsMiB;
  if (overhead > 64 + cellsMiB / 10) {
    std::fprintf(stderr, "the command's memory grew %.1f MiB beyond its cells\n", overhead);
    return 1;
  }
  PrintFigure("getdata_5g", bestSeconds, "s");
  PrintAnchor("grep_c_5g", grep.Seconds, "s");
  PrintFigure("getdata_5g_overhead", overhead, "MiB");
  const double perRow = bestSeconds / static_cast<double>(dateLines);
  std::fprintf(stderr, "a date row: %.1f ns at 5 GiB, %.1f ns at a tenth of a gigabyte\n", perRow * 1e9,
               tenth.PerRow() * 1e9);
  PrintFigure("getdata_scaling", perRow / tenth.PerRow(), "ratio");
  return 0;
}

}  // namespace
}  // namespace kelvora::bench

int main(int argc, char** argv) {
  using namespace kelvora::bench;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  benchmark::Initialize(&argc, argv);
  kelvora::TApplication app(argc, argv);
  app.SetTitle("Kelvora");
  bool failed = false;
  kelvora::TMessageSinkGuard errors([&failed](const std::string&, const std::string& text) {
    std::fprintf(stderr, "error box: %s\n", text.c_str());
    failed = true;
  });

  const std::string dir = DataDir();
  const std::string path = dir + (ShortRun() ? "/mail-export-5g-short.txt" : "/mail-export-5g.txt");
  if (FreeBytes(dir) < kExportBytes + kSpareBytes) {
    std::fprintf(stderr, "getdata_5g skipped: %s has %.1f GiB free, the export needs %.1f GiB and a spare one\n",
                 dir.c_str(), static_cast<double>(FreeBytes(dir)) / (1 << 30),
                 static_cast<double>(kExportBytes) / (1 << 30));
    return kSkipped;
  }
  std::fprintf(stderr, "preparing %s\n", path.c_str());
  EnsureMailExport(path, kExportBytes);
  WarmPageCache(path);
  const TRowTime tenth = MeasureRowTime(PreparedTenthGigabyteExport());
  const int status = Measure(path, tenth);
  std::filesystem::remove(path);
  return failed ? 1 : status;
}
