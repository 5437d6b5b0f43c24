// Painting: a full 1280 x 800 frame of the cell grid holding a million rows
// of short texts, as the main window configures it, every cell through the
// grid's whole cell painting; the same frame with bands, a colour of its own
// on every third cell and a link in every fifth; beside a QTableView over a
// model of the same texts rendered into an image of the same size. Then the
// heap allocations one frame makes once the first has been drawn, and a grid
// base of a hundred million rows, moved to its last row and painted, in time
// and in memory.
//
// The frames are drawn the way the widgets repaint themselves: the viewport
// is rendered into a QImage (QWidget::render), which runs its paint event;
// the grid's paint event draws through a TQtCanvas.

#include <benchmark/benchmark.h>

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QTableView>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <new>
#include <string>
#include <vector>

#include "app/form1_grid.h"
#include "common/grid_layout.h"
#include "grid/cell_grid.h"
#include "support/bench_support.h"
#include "toolkit/application.h"
#include "toolkit/grid_base/custom_grid.h"
#include "toolkit/qt_canvas.h"

// Every heap allocation through operator new is counted while `counting` is
// on; Qt's own containers allocate through malloc, which is counted apart.
extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
}

namespace {
std::atomic<bool> counting{false};
std::atomic<long> newCalls{0};
std::atomic<long> mallocCalls{0};

void* Allocate(std::size_t size) {
  if (counting.load(std::memory_order_relaxed)) newCalls.fetch_add(1, std::memory_order_relaxed);
  if (void* p = __libc_malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

void CountMalloc() {
  if (counting.load(std::memory_order_relaxed)) mallocCalls.fetch_add(1, std::memory_order_relaxed);
}
}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

extern "C" {
void* malloc(std::size_t size) {
  CountMalloc();
  return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) {
  CountMalloc();
  return __libc_calloc(count, size);
}
void* realloc(void* p, std::size_t size) {
  CountMalloc();
  return __libc_realloc(p, size);
}
}

namespace kelvora::bench {
namespace {

const int kRows = Sized(1'000'000, 20'000);
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

void ShapeLikeTheBench(QAbstractScrollArea& area) { testing::LayOut(area, kWidth, kHeight); }

// The grid as the main window sets it up, filled with the texts and scrolled
// to the middle.
void FillCellGrid(TCellGrid& grid, const std::vector<std::string>& texts) {
  ApplyGridDescription(grid);
  grid.Loaded();
  grid.SetColCount(kCols);
  grid.SetRowCount(kRows);
  grid.SetDefaultColWidth(kColWidth - 1);  // and the line
  grid.SetDefaultRowHeight(kRowHeight - 1);
  for (int row = 0; row < kRows; ++row)
    for (int col = 0; col < kCols; ++col) grid.SetCells(col, row, texts[TextIndex(col, row)]);
  ShapeLikeTheBench(grid);
  grid.SetTopRow(kRows / 2);
}

// Bands on, a colour of its own on every third cell and a link in every
// fifth, shown short (the protocol cut off) and underlined.
void StyleCellGrid(TCellGrid& grid) {
  grid.Bands().SetActive(true);
  grid.SetURLShow(true);
  for (int row = 0; row < kRows; ++row) {
    for (int col = 0; col < kCols; ++col) {
      const std::int64_t cell = std::int64_t{row} * kCols + col;
      if (cell % 3 == 0) grid.SetCellColor(col, row, cell % 2 == 0 ? RGB(192, 220, 192) : RGB(166, 202, 240));
      if (cell % 5 == 0) grid.SetCells(col, row, "http://x.y/" + std::to_string(cell % 100));
    }
  }
}

// The base alone, drawing the cell's text on one line: the huge grid
// measures the base's own cost of a count of a hundred million.
class TBaseGrid : public TCustomGrid {
 public:
  explicit TBaseGrid(const std::vector<std::string>& texts) : texts_(texts) {
    SetFixedCols(0);
    SetFixedRows(0);
    SetColCount(kCols);
    SetRowCount(5);
    SetDefaultColWidth(kColWidth - 1);
    SetDefaultRowHeight(kRowHeight - 1);
    ShapeLikeTheBench(*this);
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
  table.horizontalHeader()->hide();
  table.verticalHeader()->hide();
  table.horizontalHeader()->setDefaultSectionSize(kColWidth);
  table.verticalHeader()->setDefaultSectionSize(kRowHeight);
  table.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  ShapeLikeTheBench(table);
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

// A surface that measures by a fixed rule and draws nothing, so that what
// a frame allocates above the drawing surface can be counted alone.
class TNullCanvas : public TCanvas {
 public:
  void LineTo(int x, int y) override { MoveTo(x, y); }
  void FillRect(const TRect&) override {}
  void Rectangle(const TRect&) override {}
  void FrameRect(const TRect&) override {}
  void DrawFocusRect(const TRect&) override {}
  void DrawEdge(const TRect&, TEdgeSides) override {}
  void TextOut(int, int, std::string_view) override {}
  int DrawText(std::string_view, TRect&, TTextFlags) override { return 13; }
  TSize TextExtent(std::string_view text) override { return {static_cast<int>(text.size()) * 6, 13}; }
  int TextFitCount(std::string_view text, int maxWidth, TSize*) override {
    return static_cast<int>(std::min<std::size_t>(text.size(), static_cast<std::size_t>(std::max(maxWidth, 0) / 6)));
  }
  void SetClipRect(const TRect&) override {}
  void ResetClip() override {}
  void Draw(int, int, const TBitmap&) override {}
  void StretchDraw(const TRect&, const TBitmap&) override {}
  void DrawIcon(int, int, const TIcon&, int) override {}
  void DrawTiled(const TRect&, const TBitmap&, TPoint) override {}
};

struct TAllocations {
  long news = 0;
  long mallocs = 0;
};

// One frame painted onto a painter that is open already, after a first
// frame: what painting the cells allocates, without what opening a painter
// on a device costs Qt.
TAllocations FrameAllocations(TCellGrid& grid) {
  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&image);
  TQtCanvas canvas(painter);
  grid.PaintTo(canvas, {0, 0, kWidth, kHeight});
  newCalls = 0;
  mallocCalls = 0;
  counting = true;
  grid.PaintTo(canvas, {0, 0, kWidth, kHeight});
  counting = false;
  return {newCalls.load(), mallocCalls.load()};
}

// One frame of everything above the drawing surface: the base, the grid and
// the cell painting, with the surface itself allocating nothing.
TAllocations CellPaintingAllocations(TCellGrid& grid) {
  TNullCanvas canvas;
  grid.PaintTo(canvas, {0, 0, kWidth, kHeight});
  newCalls = 0;
  mallocCalls = 0;
  counting = true;
  grid.PaintTo(canvas, {0, 0, kWidth, kHeight});
  counting = false;
  return {newCalls.load(), mallocCalls.load()};
}

// The same, through the paint event as the widget repaints itself.
TAllocations RenderAllocations(QWidget* viewport) {
  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  viewport->render(&image);
  newCalls = 0;
  mallocCalls = 0;
  counting = true;
  viewport->render(&image);
  counting = false;
  return {newCalls.load(), mallocCalls.load()};
}

// The huge grid from its creation on: the count, the move to the last row
// (which scrolls it into view) and one full frame.
double HugeGridLastRowMs(const std::vector<std::string>& texts, QImage& image) {
  TBaseGrid grid(texts);
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
  TBaseGrid small(texts);
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
  kelvora::TCellGrid plain;
  FillCellGrid(plain, texts);
  kelvora::TCellGrid styled;
  FillCellGrid(styled, texts);
  StyleCellGrid(styled);
  TTextModel model(texts);
  QTableView table;
  table.setModel(&model);
  ConfigureTable(table);

  constexpr double kNone = std::numeric_limits<double>::infinity();
  double plainMs = kNone;
  double styledMs = kNone;
  double tableMs = kNone;
  benchmark::RegisterBenchmark("CellGridFrame/1M", RenderViewport, plain.viewport(), &plainMs)
      ->UseRealTime()->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("StyledCellGridFrame/1M", RenderViewport, styled.viewport(), &styledMs)
      ->UseRealTime()->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("QTableViewFrame/1M", RenderViewport, table.viewport(), &tableMs)
      ->UseRealTime()->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  const TAllocations plainCells = CellPaintingAllocations(plain);
  const TAllocations styledCells = CellPaintingAllocations(styled);
  const TAllocations plainFrame = FrameAllocations(plain);
  const TAllocations styledFrame = FrameAllocations(styled);
  const TAllocations styledRender = RenderAllocations(styled.viewport());
  const TAllocations tableRender = RenderAllocations(table.viewport());

  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  HugeGridLastRowMs(texts, image);  // warm-up
  double hugeMs = kNone;
  for (int i = 0; i < Repetitions(5); ++i) hugeMs = std::min(hugeMs, HugeGridLastRowMs(texts, image));
  const double growthMiB = HugeGridGrowthMiB(texts, image);

  std::fprintf(stderr, "visible: %d rows x %d columns\n", plain.VisibleRowCount(), plain.VisibleColCount());
  std::fprintf(stderr, "allocations of one frame above the surface: plain %ld new + %ld malloc, styled %ld new + %ld malloc\n",
               plainCells.news, plainCells.mallocs, styledCells.news, styledCells.mallocs);
  std::fprintf(stderr, "allocations of one frame through the Qt canvas: plain %ld new + %ld malloc, styled %ld new + %ld malloc\n",
               plainFrame.news, plainFrame.mallocs, styledFrame.news, styledFrame.mallocs);
  std::fprintf(stderr, "allocations of one whole repaint: styled grid %ld new + %ld malloc, QTableView %ld new + %ld malloc\n",
               styledRender.news, styledRender.mallocs, tableRender.news, tableRender.mallocs);
  PrintFigure("paint_1m_frame", plainMs, "ms");
  PrintAnchor("qtableview_1m_frame", tableMs, "ms");
  PrintFigure("paint_styled_frame", styledMs, "ms");
  PrintAnchor("qtableview_1m_frame", tableMs, "ms");
  PrintFigure("paint_allocs_per_frame",
              static_cast<double>(std::max(plainCells.news + plainCells.mallocs, styledCells.news + styledCells.mallocs)),
              "count");
  PrintFigure("rows_100m_last", hugeMs, "ms");
  PrintFigure("rows_100m_growth", growthMiB, "MiB");
  return 0;
}
