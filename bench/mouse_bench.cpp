// The mouse on a shown grid of a million rows by seven columns, as the main
// window configures it, in a 1024 x 768 view: one step of a middle-button
// pan, from the mouse move until the view has painted again, beside one
// step of a QTableView's scroll bar over a model of the same texts, also
// until painted; and one zoom step (Ctrl with the wheel), repaint included.
//
// The pan's timer is left out of the timing: the bench sends the move and
// then takes the step the timer would take, at a distance that scrolls one
// row a step, so the figure is the grid's own work and not the wait for
// the next tick. The figures are the best mean of the runs.

#include <QAbstractTableModel>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>
#include <QWheelEvent>

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
const int kSteps = Sized(40, 3);
const int kRuns = Repetitions(5);
constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kColWidth = 115;

std::string CellText(int row, int col) { return col == 0 ? std::string("Mon") : std::to_string((row + col) % 60); }

// Milliseconds per step, the best of the runs.
double TimeSteps(QWidget* viewport, const std::function<void(int)>& step) {
  TPaintWatch watch(viewport);
  double best = std::numeric_limits<double>::infinity();
  for (int run = 0; run < kRuns; ++run) {
    QCoreApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    for (int s = 0; s < kSteps; ++s) {
      const int before = watch.Paints;
      step(s);
      if (!WaitForPaint(watch, before)) {
        std::fprintf(stderr, "mouse_bench: no paint after a step\n");
        return std::numeric_limits<double>::quiet_NaN();
      }
    }
    best = std::min(best, timer.nsecsElapsed() / 1e6 / kSteps);
  }
  return best;
}

void SendMouse(QWidget* viewport, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
  QMouseEvent event(type, at, viewport->mapToGlobal(at), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(viewport, &event);
}

void FillGrid(TCellGrid& grid) {
  ApplyGridDescription(grid);
  grid.Loaded();
  grid.SetColCount(kCols);
  grid.SetRowCount(kRows);
  for (int row = 0; row < kRows; ++row)
    for (int col = 0; col < kCols; ++col) grid.SetCells(col, row, CellText(row, col));
}

// The distance below the origin at which one timer step scrolls a row.
int OneRowDistance() {
  const double wanted = 1000.0 / TGridPanner::kInterval;
  int distance = TPanMotion::kDeadZone + 1;
  while (TPanMotion::Speed(distance) < wanted) ++distance;
  return distance;
}

double PanStep(TCellGrid& grid) {
  QWidget* viewport = grid.viewport();
  const QPoint origin(kWidth / 2, kHeight / 2);
  const int distance = OneRowDistance();
  grid.SetTopRow(kRows / 2);
  SendMouse(viewport, QEvent::MouseButtonPress, origin, Qt::MiddleButton, Qt::MiddleButton);
  SendMouse(viewport, QEvent::MouseButtonRelease, origin, Qt::MiddleButton, {});
  const int topBefore = grid.TopRow();
  const double ms = TimeSteps(viewport, [&](int s) {
    SendMouse(viewport, QEvent::MouseMove, origin + QPoint(s % 2, distance), Qt::NoButton, {});
    grid.Panner().Step(TGridPanner::kInterval);
  });
  const int rows = grid.TopRow() - topBefore;
  std::fprintf(stderr, "mouse_bench: the pan moved %d rows in %d steps\n", rows, kSteps * kRuns);
  grid.Panner().End();
  return ms;
}

double ZoomStep(TCellGrid& grid) {
  QWidget* viewport = grid.viewport();
  const QPoint at(kWidth / 2, kHeight / 2);
  grid.SetRow(kRows / 2);
  return TimeSteps(viewport, [&](int s) {
    // Up and down in turn, so that every run zooms within the limits.
    const int angle = s % 2 == 0 ? 120 : -120;
    QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::ControlModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
  });
}

class TTextModel : public QAbstractTableModel {
 public:
  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kRows; }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kCols; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole) return {};
    return QString::fromStdString(CellText(index.row(), index.column()));
  }
};

double TableScrollStep() {
  TTextModel model;
  QTableView table;
  table.setModel(&model);
  table.horizontalHeader()->hide();
  table.verticalHeader()->hide();
  table.horizontalHeader()->setDefaultSectionSize(kColWidth);
  table.verticalHeader()->setDefaultSectionSize(22);
  table.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  ShowFocused(table, kWidth, kHeight);
  QScrollBar* bar = table.verticalScrollBar();
  bar->setValue(kRows / 2);
  return TimeSteps(table.viewport(), [&](int) { bar->setValue(bar->value() + 1); });
}

}  // namespace
}  // namespace kelvora::bench

int main(int argc, char** argv) {
  using namespace kelvora::bench;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  kelvora::TApplication app(argc, argv);
  double panMs = 0;
  double zoomMs = 0;
  {
    kelvora::TCellGrid grid;
    FillGrid(grid);
    ShowFocused(grid, kWidth, kHeight);
    panMs = PanStep(grid);
    zoomMs = ZoomStep(grid);
  }
  const double tableMs = TableScrollStep();
  PrintFigure("pan_step_1m", panMs, "ms");
  PrintAnchor("qtableview_scroll_step_1m", tableMs, "ms");
  PrintFigure("zoom_step_1m", zoomMs, "ms");
  return 0;
}
