// Typing into a cell: one key, from the key event to the cell written and
// the window repainted, in the edit box of a shown grid of a million rows as
// the main window configures it, beside the same key in a bare
// QPlainTextEdit of the same size holding the same text.
//
// Each key is a press and a release sent to the focused widget, then the
// event loop runs until the grid's viewport (the edit's viewport for the
// anchor) has painted; the grid writes the cell and marks it for repainting
// as the key is handled, and paints once the loop runs. The region the grid
// repaints is checked to be the one cell.
//
// A second pair of figures types into cells of one and of ten megabytes: the
// edit box writes its whole text into the cell on every key, so a key costs
// in proportion to the cell, and ten times the text should cost ten times
// the time, not a hundred.

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>

#include "app/form1_grid.h"
#include "grid/cell_grid.h"
#include "support/bench_support.h"
#include "toolkit/application.h"
#include "toolkit/editors/inplace_edit.h"

namespace kelvora::bench {
namespace {

const int kRows = Sized(1'000'000, 10'000);
constexpr int kCols = 7;
// Keys per measurement and measurements, for short cells and long ones.
const int kKeys = Sized(200, 5);
const int kRuns = Repetitions(5);
const int kLongKeys = Sized(10, 2);
const int kLongRuns = Repetitions(3);
constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// Milliseconds per key, the best of the runs; `reset` puts the text back
// between runs, outside the timing.
template <typename Focus, typename Reset>
double TimeKeys(TPaintWatch& watch, int keys, int runs, Focus focus, Reset reset) {
  double best = std::numeric_limits<double>::infinity();
  for (int run = 0; run < runs; ++run) {
    reset();
    QCoreApplication::processEvents();
    watch.Forget();
    QElapsedTimer timer;
    timer.start();
    for (int k = 0; k < keys; ++k) {
      const int before = watch.Paints;
      SendKey(focus(), Qt::Key_A, QStringLiteral("a"));
      if (!WaitForPaint(watch, before)) {
        std::fprintf(stderr, "edit_bench: no paint after a key\n");
        return std::numeric_limits<double>::quiet_NaN();
      }
    }
    best = std::min(best, timer.nsecsElapsed() / 1e6 / keys);
  }
  return best;
}

class TBenchGrid : public TCellGrid {
 public:
  TBenchGrid() {
    ApplyGridDescription(*this);
    Loaded();
    SetColCount(kCols);
    SetRowCount(kRows);
    for (int row = 0; row < kRows; ++row)
      for (int col = 0; col < kCols; ++col) SetCells(col, row, col == 0 ? "Mon" : std::to_string(row % 60));
  }
  QWidget* Box() const { return InplaceEditor()->Control(); }
};

// The grid's edit box open at the end of the text of a cell half way down.
double GridKeyMs(TBenchGrid& grid, const std::string& text, int keys, int runs, QRect* covered) {
  ShowFocused(grid, kWidth, kHeight);
  const int row = kRows / 2;
  grid.SetRow(row);
  TPaintWatch watch(grid.viewport());
  const auto reset = [&] {
    if (grid.EditorShowing()) SendKey(grid.Box(), Qt::Key_Return, QStringLiteral("\r"));
    grid.SetCells(0, row, text);
    SendKey(&grid, Qt::Key_F2, QString());
  };
  const double ms = TimeKeys(watch, keys, runs, [&] { return grid.Box(); }, reset);
  if (grid.Cells(0, row) != text + std::string(static_cast<std::size_t>(keys), 'a'))
    std::fprintf(stderr, "edit_bench: the cell does not hold what was typed\n");
  if (covered) *covered = watch.Painted.boundingRect();
  return ms;
}

double PlainEditKeyMs(const std::string& text) {
  QPlainTextEdit edit;
  ShowFocused(edit, kWidth, kHeight);
  TPaintWatch watch(edit.viewport());
  const auto reset = [&] {
    edit.setPlainText(QString::fromStdString(text));
    edit.moveCursor(QTextCursor::End);
  };
  return TimeKeys(watch, kKeys, kRuns, [&] { return &edit; }, reset);
}

// A cell of about `bytes` bytes in lines of some 30 characters.
std::string LongText(std::size_t bytes) {
  std::string text;
  for (int line = 0; text.size() < bytes; ++line) text += "line " + std::to_string(line) + " of a long cell\r\n";
  return text;
}

}  // namespace
}  // namespace kelvora::bench

int main(int argc, char** argv) {
  using namespace kelvora::bench;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  kelvora::TApplication app(argc, argv);

  TBenchGrid grid;
  QRect covered;
  const double gridMs = GridKeyMs(grid, "Mon", kKeys, kRuns, &covered);
  const kelvora::TRect cell = grid.CellRect(0, kRows / 2);
  std::fprintf(stderr, "grid repainted %dx%d px at %d,%d per key; the cell is %dx%d px at %d,%d\n",
               covered.width(), covered.height(), covered.x(), covered.y(), cell.Width(), cell.Height(), cell.Left,
               cell.Top);
  const double plainMs = PlainEditKeyMs("Mon");

  const double oneMbMs =
      GridKeyMs(grid, LongText(Sized<std::size_t>(1'000'000, 10'000)), kLongKeys, kLongRuns, nullptr);
  const double tenMbMs =
      GridKeyMs(grid, LongText(Sized<std::size_t>(10'000'000, 100'000)), kLongKeys, kLongRuns, nullptr);

  PrintFigure("edit_keystroke", gridMs, "ms");
  PrintAnchor("plaintextedit_keystroke", plainMs, "ms");
  PrintFigure("edit_10mb_keystroke", tenMbMs, "ms");
  PrintAnchor("edit_1mb_keystroke_x10", oneMbMs * 10, "ms");
  return 0;
}
