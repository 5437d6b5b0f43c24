// Sorting and filtering a million rows of date cells, as "Get Data" leaves
// them (weekday, day, month, year, hour, minute, second):
// - sort_1m_3keys: SetSortColumns by year, month (by name) and day, stable,
//   beside GNU sort on the same rows as CSV and a QSortFilterProxyModel over
//   a QStandardItemModel sorting the rows' year column;
// - filter_1m: ApplyFilter for column 3 equal to "2009", beside the proxy's
//   setFilterFixedString on the same column and grep -c on the CSV;
// - sort_1m_peak_growth: what the sort adds to the peak resident memory
//   while it runs, and sort_1m_after_growth what it still holds after
//   (the file order that puts the rows back).
// Every figure is the best of its runs; the grid goes back to file order
// between runs, outside the timing.

#include <QElapsedTimer>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <limits>
#include <random>
#include <string>

#include "app/form1_grid.h"
#include "grid/cell_grid.h"
#include "support/bench_support.h"
#include "toolkit/application.h"

namespace kelvora::bench {
namespace {

const int kRows = Sized(1'000'000, 10'000);
const int kRuns = Repetitions(3);
const char* const kWeekdays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

void FillDates(TCellGrid& grid) {
  ApplyGridDescription(grid);
  grid.Loaded();
  grid.SetColCount(7);
  grid.SetRowCount(kRows);
  std::mt19937 random(22);
  for (int row = 0; row < kRows; ++row) {
    grid.SetCells(0, row, kWeekdays[random() % 7]);
    grid.SetCells(1, row, std::to_string(1 + random() % 28));
    grid.SetCells(2, row, kMonths[random() % 12]);
    grid.SetCells(3, row, std::to_string(1995 + random() % 20));
    for (int col = 4; col < 7; ++col) grid.SetCells(col, row, std::to_string(random() % 60));
  }
}

double BestMs(const std::function<void()>& step, const std::function<void()>& undo) {
  double best = std::numeric_limits<double>::infinity();
  for (int run = 0; run < kRuns; ++run) {
    undo();
    QElapsedTimer timer;
    timer.start();
    step();
    best = std::min(best, timer.nsecsElapsed() / 1e6);
  }
  return best;
}

bool ResetPeakResident() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return static_cast<bool>(clear);
}

const std::vector<TSortKey> kDateKeys = {{3, sdAscending}, {2, sdAscending}, {1, sdAscending}};

bool SortedByDate(const TCellGrid& grid) {
  const auto key = [&](int row) {
    static const std::string months = "JanFebMarAprMayJunJulAugSepOctNovDec";
    return std::stoi(grid.Cells(3, row)) * 10000 + static_cast<int>(months.find(grid.Cells(2, row))) / 3 * 100 +
           std::stoi(grid.Cells(1, row));
  };
  for (int row = 1; row < grid.RowCount(); ++row)
    if (key(row - 1) > key(row)) return false;
  return true;
}

struct TModelFigures {
  double sortMs;
  double filterMs;
};

// One column: a model of seven million items would measure the allocator.
TModelFigures ModelFigures(const TCellGrid& grid) {
  QStandardItemModel model(kRows, 1);
  for (int row = 0; row < kRows; ++row)
    model.setItem(row, 0, new QStandardItem(QString::fromStdString(grid.Cells(3, row))));
  QSortFilterProxyModel proxy;
  proxy.setSourceModel(&model);
  proxy.setDynamicSortFilter(false);
  const double sortMs = BestMs([&] { proxy.sort(0); }, [&] { proxy.sort(-1); });
  proxy.sort(-1);
  proxy.setFilterKeyColumn(0);
  const double filterMs = BestMs(
      [&] {
        proxy.setFilterFixedString(QStringLiteral("2009"));
        if (proxy.rowCount() == 0) std::fprintf(stderr, "sort_bench: the proxy kept no row\n");
      },
      [&] { proxy.setFilterFixedString(QString()); });
  return {sortMs, filterMs};
}

}  // namespace
}  // namespace kelvora::bench

int main(int argc, char** argv) {
  using namespace kelvora;
  using namespace kelvora::bench;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  TApplication app(argc, argv);
  TCellGrid grid;
  FillDates(grid);
  const std::string csv = DataDir() + "/sort_bench_rows.csv";
  grid.WriteCsvFile(csv);

  // Memory first, on a grid fresh in file order.
  const double before = ResidentMiB();
  const bool peakReset = ResetPeakResident();
  grid.SetSortColumns(kDateKeys);
  const double peakGrowth = PeakResidentMiB() - before;
  const double afterGrowth = ResidentMiB() - before;
  if (!SortedByDate(grid)) std::fprintf(stderr, "sort_bench: the rows are not in date order\n");

  const double sortMs = BestMs([&] { grid.SetSortColumns(kDateKeys); }, [&] { grid.RestoreFileOrder(); });
  grid.RestoreFileOrder();
  grid.Filter().Conditions = {{3, foEqual, "2009"}};
  const double filterMs = BestMs([&] { grid.ApplyFilter(); }, [&] { grid.ClearFilter(); });
  std::fprintf(stderr, "sort_bench: %d of %d rows shown by the filter\n", grid.RowCount(), kRows);
  grid.ClearFilter();

  const std::string quoted = ShellQuoted(csv);
  const double gnuSortMs =
      1000 * TimeCommandSeconds("LC_ALL=C sort --parallel=1 -s -t, -k4,4n -k3,3M -k2,2n " + quoted, kRuns);
  const double grepMs = 1000 * TimeCommandSeconds("LC_ALL=C grep -c ',2009,' " + quoted, kRuns);
  const TModelFigures model = ModelFigures(grid);

  PrintFigure("sort_1m_3keys", sortMs, "ms");
  PrintAnchor("gnu_sort_1m_3keys", gnuSortMs, "ms");
  PrintAnchor("qsortfilterproxy_sort_1m", model.sortMs, "ms");
  PrintFigure("filter_1m", filterMs, "ms");
  PrintAnchor("qsortfilterproxy_filter_1m", model.filterMs, "ms");
  PrintAnchor("grep_c_csv_1m", grepMs, "ms");
  if (!peakReset) std::fprintf(stderr, "sort_bench: the peak could not be reset; it may be an earlier one\n");
  PrintFigure("sort_1m_peak_growth", peakGrowth, "MiB");
  PrintFigure("sort_1m_after_growth", afterGrowth, "MiB");
  return 0;
}
