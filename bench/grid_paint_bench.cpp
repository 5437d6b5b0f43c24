// Painting the grid base: a full 1280 x 800 frame of a million rows of short
// texts, beside a QTableView over a model of the same texts rendered into an
// image of the same size; then a grid of a hundred million rows, moved to its
// last row and painted, in time and in memory.
//
// Both frames are drawn the way the widgets repaint themselves: the grid's
// viewport and the table's viewport are rendered into a QImage
// (QWidget::render), which runs their paint events; the grid's paint event
// draws through a TQtCanvas. The grid is also timed painting straight
// through PaintTo, as commentary.

#include <benchmark/benchmark.h>

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QResizeEvent>
#include <QTableView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "support/bench_support.h"
#include "toolkit/application.h"
#include "toolkit/custom_grid.h"
#include "toolkit/qt_canvas.h"

namespace kelvora::bench {
namespace {

constexpr int kRows = 1'000'000;
constexpr int kCols = 7;
constexpr int kWidth = 1280;
constexpr int kHeight = 800;
constexpr int kColWidth = 180;  // seven columns fill the width
constexpr int kRowHeight = 24;
constexpr int kTexts = 997;  // distinct texts, a prime so rows do not repeat in step
const int kHugeRows = Sized(100'000'000, 1'000'000);

// Texts of 1 to 4 bytes.
std::vector<std::string> MakeTexts() {
  std::vector<std::string> texts;
  for (int i = 0; i < kTexts; ++i) texts.push_back(std::to_string(i * 37 % 10000));
  return texts;
}

int TextIndex(int col, int row) { return static_cast<int>((std::int64_t{row} * kCols + col) % kTexts); }

double Milliseconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The least a grid can do: draw the cell's text on one line.
class TBenchGrid : public TCustomGrid {
 public:
  explicit TBenchGrid(const std::vector<std::string>& texts) : texts_(texts) {
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SetFixedCols(0);
    SetFixedRows(0);
    SetColCount(kCols);
    SetRowCount(kRows);
    SetDefaultColWidth(kColWidth - 1);  // and the line
    SetDefaultRowHeight(kRowHeight - 1);
    resize(kWidth, kHeight);
    QResizeEvent event(size(), QSize());
    QCoreApplication::sendEvent(this, &event);
  }

 protected:
  void DrawCell(int col, int row, const TRect& rect, TGridDrawState) override {
    TRect r{rect.Left + 2, rect.Top, rect.Right - 2, rect.Bottom};
    Canvas().DrawText(texts_[TextIndex(col, row)], r, {tfSingleLine, tfVCenter, tfNoPrefix});
  }

 private:
  const std::vector<std::string>& texts_;
};

class TTextModel : public QAbstractTableModel {
 public:
  explicit TTextModel(const std::vector<std::string>& texts) {
    for (const std::string& t : texts) texts_.push_back(QString::fromStdString(t));
  }
  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kRows; }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kCols; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole) return {};
    return texts_[TextIndex(index.column(), index.row())];
  }

 private:
  std::vector<QString> texts_;
};

void ConfigureTable(QTableView& table) {
  table.setFrameShape(QFrame::NoFrame);
  table.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table.horizontalHeader()->hide();
  table.verticalHeader()->hide();
  table.horizontalHeader()->setDefaultSectionSize(kColWidth);
  table.verticalHeader()->setDefaultSectionSize(kRowHeight);
  table.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table.resize(kWidth, kHeight);
  table.scrollTo(table.model()->index(kRows / 2, 0), QAbstractItemView::PositionAtTop);
}

void RenderViewport(benchmark::State& state, QWidget* viewport, double* bestMs) {
  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    viewport->render(&image);
    *bestMs = std::min(*bestMs, Milliseconds(start));
  }
}

void PaintStraight(benchmark::State& state, TBenchGrid* grid, double* bestMs) {
  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    QPainter painter(&image);
    {
      TQtCanvas canvas(painter);  // hands the painter back before it ends
      grid->PaintTo(canvas, {0, 0, kWidth, kHeight});
    }
    painter.end();
    *bestMs = std::min(*bestMs, Milliseconds(start));
  }
}

// The huge grid from its creation on: the count, the move to the last row
// (which scrolls it into view) and one full frame.
double HugeGridLastRowMs(const std::vector<std::string>& texts, QImage& image) {
  TBenchGrid grid(texts);
  const auto start = std::chrono::steady_clock::now();
  grid.SetRowCount(kHugeRows);
  grid.SetRow(kHugeRows - 1);
  grid.viewport()->render(&image);
  return Milliseconds(start);
}

// Memory held after a huge grid has been made, moved and painted, against
// the same with a grid of the default five rows; both after a warm-up, so
// that fonts and caches are in place already.
double HugeGridGrowthMiB(const std::vector<std::string>& texts, QImage& image) {
  TBenchGrid small(texts);
  small.SetRowCount(5);
  small.viewport()->render(&image);
  const double before = ResidentMiB();
  small.SetRowCount(kHugeRows);
  small.SetRow(kHugeRows - 1);
  small.viewport()->render(&image);
  return ResidentMiB() - before;
}

}  // namespace
}  // namespace kelvora::bench

int main(int argc, char** argv) {
  using namespace kelvora::bench;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  kelvora::TApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);

  const std::vector<std::string> texts = MakeTexts();
  TBenchGrid grid(texts);
  grid.SetTopRow(kRows / 2);
  TTextModel model(texts);
  QTableView table;
  table.setModel(&model);
  ConfigureTable(table);

  constexpr double kNone = std::numeric_limits<double>::infinity();
  double gridMs = kNone;
  double straightMs = kNone;
  double tableMs = kNone;
  benchmark::RegisterBenchmark("GridFrame/1M", RenderViewport, grid.viewport(), &gridMs)
      ->UseRealTime()->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("GridPaintTo/1M", PaintStraight, &grid, &straightMs)
      ->UseRealTime()->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("QTableViewFrame/1M", RenderViewport, table.viewport(), &tableMs)
      ->UseRealTime()->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  HugeGridLastRowMs(texts, image);  // warm-up
  double hugeMs = kNone;
  for (int i = 0; i < Repetitions(5); ++i) hugeMs = std::min(hugeMs, HugeGridLastRowMs(texts, image));
  const double growthMiB = HugeGridGrowthMiB(texts, image);

  std::fprintf(stderr, "grid frame through PaintTo straight into the image: %.4f ms\n", straightMs);
  std::fprintf(stderr, "visible: %d rows x %d columns\n", grid.VisibleRowCount(), grid.VisibleColCount());
  PrintFigure("paint_1m_frame", gridMs, "ms");
  PrintAnchor("qtableview_1m_frame", tableMs, "ms");
  PrintFigure("rows_100m_last", hugeMs, "ms");
  PrintFigure("rows_100m_growth", growthMiB, "MiB");
  return 0;
}
