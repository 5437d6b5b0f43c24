// Deleting and inserting one row of a shown grid of a million rows by seven
// columns, from the key to the window repainted: the Delete key (and, with
// inserting allowed, the Insert key) in the cell grid as the main window
// configures it, beside QTableWidget::removeRow and insertRow on a table
// widget of the same size holding the same texts, each followed by its
// repaint.
//
// The row is half way down the grid and the current one, in the middle of
// the view, so that half the rows move each time and half the view with them. Each step is timed from the key (or the call) until the event
// loop has painted the viewport again; the figure is the best mean of the
// runs.

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTableWidget>

#include <algorithm>
#include <cstdio>
#include <functional>
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
const int kSteps = Sized(20, 3);  // rows deleted or inserted per run
const int kRuns = Repetitions(5);
constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// Milliseconds per step, the best of the runs; `undo` puts the rows back
// between runs, outside the timing.
double TimeSteps(QWidget* viewport, const std::function<void()>& step, const std::function<void()>& undo) {
  TPaintWatch watch(viewport);
  double best = std::numeric_limits<double>::infinity();
  for (int run = 0; run < kRuns; ++run) {
    undo();
    QCoreApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    for (int s = 0; s < kSteps; ++s) {
      const int before = watch.Paints;
      step();
      if (!WaitForPaint(watch, before)) {
        std::fprintf(stderr, "rows_bench: no paint after a step\n");
        return std::numeric_limits<double>::quiet_NaN();
      }
    }
    best = std::min(best, timer.nsecsElapsed() / 1e6 / kSteps);
  }
  return best;
}

std::string CellText(int row, int col) { return col == 0 ? std::string("Mon") : std::to_string((row + col) % 60); }

void FillGrid(TCellGrid& grid) {
  ApplyGridDescription(grid);
  grid.Loaded();
  grid.SetColCount(kCols);
  grid.SetRowCount(kRows);
  for (int row = 0; row < kRows; ++row)
    for (int col = 0; col < kCols; ++col) grid.SetCells(col, row, CellText(row, col));
  grid.Navigation().AllowInsertRow = true;
}

void FillTable(QTableWidget& table) {
  table.setRowCount(kRows);
  table.setColumnCount(kCols);
  for (int row = 0; row < kRows; ++row)
    for (int col = 0; col < kCols; ++col)
      table.setItem(row, col, new QTableWidgetItem(QString::fromStdString(CellText(row, col))));
}

struct TFigures {
  double deleteMs;
  double insertMs;
};

// Between runs the grid goes back to its million rows, so that every run
// moves as many.
void ResetGrid(TCellGrid& grid, int row) {
  if (grid.RowCount() < kRows) grid.InsertRows(row, kRows - grid.RowCount());
  if (grid.RowCount() > kRows) grid.RemoveRows(row, grid.RowCount() - kRows);
  grid.SetRow(row);
}

TFigures GridFigures() {
  TCellGrid grid;
  FillGrid(grid);
  ShowFocused(grid, kWidth, kHeight);
  const int row = kRows / 2;
  grid.SetRow(row);
  grid.SetTopRow(row - grid.VisibleRowCount() / 2);
  QCoreApplication::processEvents();
  const auto reset = [&] { ResetGrid(grid, row); };
  // What a repaint of the whole view costs by itself, for reading the
  // figures: a deletion or insertion repaints the lower half of it.
  const double repaintMs = TimeSteps(grid.viewport(), [&] { grid.InvalidateGrid(); }, [] {});
  std::fprintf(stderr, "rows_bench: one repaint of the whole grid view takes %.3f ms\n", repaintMs);
  const double deleteMs = TimeSteps(grid.viewport(), [&] { SendKey(&grid, Qt::Key_Delete); }, reset);
  if (grid.RowCount() != kRows - kSteps) std::fprintf(stderr, "rows_bench: Delete did not delete every row\n");
  const double insertMs = TimeSteps(grid.viewport(), [&] { SendKey(&grid, Qt::Key_Insert); }, reset);
  // The rows below the middle only ever moved.
  if (grid.RowCount() != kRows + kSteps || grid.Cells(1, grid.RowCount() - 1) != CellText(kRows - 1, 1))
    std::fprintf(stderr, "rows_bench: the grid does not hold what the keys should have left\n");
  return {deleteMs, insertMs};
}

TFigures TableFigures() {
  QTableWidget table;
  FillTable(table);
  ShowFocused(table, kWidth, kHeight);
  const int row = kRows / 2;
  table.setCurrentCell(row, 0);
  table.scrollToItem(table.item(row, 0), QAbstractItemView::PositionAtCenter);
  QCoreApplication::processEvents();
  const double deleteMs = TimeSteps(
      table.viewport(), [&] { table.removeRow(row); },
      [&] {
        while (table.rowCount() < kRows) table.insertRow(row);
      });
  const double insertMs = TimeSteps(
      table.viewport(), [&] { table.insertRow(row); },
      [&] {
        while (table.rowCount() > kRows) table.removeRow(row);
      });
  return {deleteMs, insertMs};
}

}  // namespace
}  // namespace kelvora::bench

int main(int argc, char** argv) {
  using namespace kelvora::bench;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  kelvora::TApplication app(argc, argv);
  const TFigures grid = GridFigures();
  const TFigures table = TableFigures();
  PrintFigure("delete_row_1m", grid.deleteMs, "ms");
  PrintAnchor("qtablewidget_removerow_1m", table.deleteMs, "ms");
  PrintFigure("insert_row_1m", grid.insertMs, "ms");
  PrintAnchor("qtablewidget_insertrow_1m", table.insertMs, "ms");
  return 0;
}
