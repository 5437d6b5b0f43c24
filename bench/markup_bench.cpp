// The mark-up renderer against what a Qt program uses for formatted cell
// text, QTextDocument, with the same cells written as HTML:
// - measuring: FitColumnsToText over a grid of 100,000 x 1 mark-up cells,
//   against setHtml + idealWidth for each cell;
// - painting: each cell laid out and painted into a 120 x 21 image through
//   the Qt surface, against setHtml + drawContents into the same image;
// - a full 1280 x 800 frame of a shown grid of 1,000,000 rows x 7 columns
//   whose visible cells all hold mark-up, against a QTableView whose
//   delegate paints each cell through QTextDocument.
// Every cell is distinct (20 to 80 bytes: a bold weekday, a coloured month,
// a link, a line break, entities, italics). Commentary on standard error:
// how laying out a huge text grows with its length.

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTextDocument>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "app/form1_grid.h"
#include "common/grid_layout.h"
#include "grid/cell_grid.h"
#include "grid/render/markup.h"
#include "support/bench_support.h"
#include "support/fit_timing.h"
#include "support/stopwatch.h"
#include "toolkit/application.h"
#include "toolkit/qt_canvas.h"

namespace kelvora::bench {
namespace {

const int kCells = Sized(100'000, 2'000);
constexpr int kFrameRows = 1'000'000;
constexpr int kFrameCols = 7;
constexpr int kFrameWidth = 1280;
constexpr int kFrameHeight = 800;
constexpr int kColWidth = 115;  // the main window's, with a 1-pixel line after each
constexpr int kRowHeight = 21;
constexpr int kCellImageWidth = 120;
constexpr int kCellImageHeight = 21;

constexpr const char* kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// One cell as mark-up and as HTML. The number makes every cell distinct.
struct TCell {
  std::string markup;
  QString html;
};

TCell MakeCell(int i) {
  const std::string day = kDays[i % 7];
  const std::string month = kMonths[(i / 7) % 12];
  const std::string n = std::to_string(i);
  switch (i % 4) {
    case 0:
      return {"<B>" + day + "</B>, " + n + " <FONT color=\"clRed\">" + month + "</FONT> 2003",
              QString::fromStdString("<b>" + day + "</b>, " + n + " <font color=\"red\">" + month + "</font> 2003")};
    case 1:
      return {"<A href=\"http://x/" + n + "\">msg " + n + "</A><BR><I>re</I>",
              QString::fromStdString("<a href=\"http://x/" + n + "\">msg " + n + "</a><br><i>re</i>")};
    case 2:
      return {"<I>" + day + "</I> &amp; <B>" + n + "</B> " + month + " &lt;x&gt;",
              QString::fromStdString("<i>" + day + "</i> &amp; <b>" + n + "</b> " + month + " &lt;x&gt;")};
    default:
      return {"<B>" + day + "</B> <FONT color=\"#0000FF\">" + month + "</FONT><BR>" + n + " &quot;q&quot;",
              QString::fromStdString("<b>" + day + "</b> <font color=\"#0000FF\">" + month + "</font><br>" + n +
                                     " &quot;q&quot;")};
  }
}

std::vector<TCell> MakeCells(int count) {
  std::vector<TCell> cells;
  cells.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) cells.push_back(MakeCell(i));
  return cells;
}

TFont GridFont() {
  TFont font;
  font.Name = "MS Sans Serif";
  font.Height = -9;
  font.Color = clNavy;
  return font;
}

QFont GridQFont() { return ToQFont(GridFont()); }

// --- Measuring ------------------------------------------------------------------

double DocumentMeasureSeconds(const std::vector<TCell>& cells) {
  QTextDocument document;
  document.setDefaultFont(GridQFont());
  double widest = 0;
  const auto start = Clock::now();
  for (const TCell& cell : cells) {
    document.setHtml(cell.html);
    widest = std::max(widest, document.idealWidth());
  }
  const double seconds = SecondsSince(start);
  std::fprintf(stderr, "QTextDocument widest: %.1f pixels\n", widest);
  return seconds;
}

// --- Painting -------------------------------------------------------------------

double PaintSeconds(const std::vector<TCell>& cells) {
  QImage image(kCellImageWidth, kCellImageHeight, QImage::Format_ARGB32_Premultiplied);
  TQtCanvas canvas(image);
  canvas.SetFont(GridFont());
  TMarkupInput input;
  input.Rect = {0, 0, kCellImageWidth, kCellImageHeight};
  const auto start = Clock::now();
  for (const TCell& cell : cells) {
    canvas.Brush() = TBrush{clWhite, bsSolid};
    canvas.FillRect(input.Rect);
    input.Text = cell.markup;
    DrawMarkup(canvas, input);
  }
  return SecondsSince(start);
}

double DocumentPaintSeconds(const std::vector<TCell>& cells) {
  QImage image(kCellImageWidth, kCellImageHeight, QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&image);
  QTextDocument document;
  document.setDefaultFont(GridQFont());
  const QRectF clip(0, 0, kCellImageWidth, kCellImageHeight);
  const auto start = Clock::now();
  for (const TCell& cell : cells) {
    painter.fillRect(clip, Qt::white);
    document.setHtml(cell.html);
    document.drawContents(&painter, clip);
  }
  return SecondsSince(start);
}

// --- A frame ------------------------------------------------------------------------

int FrameCellIndex(int col, int row) { return static_cast<int>((std::int64_t{row} * kFrameCols + col) % kCells); }

// The main window's grid, without frame and scroll bars, scrolled to the
// middle; only the cells that can come into view are filled.
void PrepareGrid(TCellGrid& grid, const std::vector<TCell>& cells) {
  ApplyGridDescription(grid);
  grid.SetColCount(kFrameCols);
  grid.SetRowCount(kFrameRows);
  testing::LayOut(grid, kFrameWidth, kFrameHeight);
  const int top = kFrameRows / 2;
  grid.SetTopRow(top);
  for (int row = top; row < top + kFrameHeight / kRowHeight + 2; ++row)
    for (int col = 0; col < kFrameCols; ++col) grid.SetCells(col, row, cells[FrameCellIndex(col, row)].markup);
  grid.SetRow(top);
}

class THtmlModel : public QAbstractTableModel {
 public:
  explicit THtmlModel(const std::vector<TCell>& cells) : cells_(cells) {}
  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kFrameRows; }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kFrameCols; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole) return {};
    return cells_[static_cast<std::size_t>(FrameCellIndex(index.column(), index.row()))].html;
  }

 private:
  const std::vector<TCell>& cells_;
};

class THtmlDelegate : public QStyledItemDelegate {
 public:
  THtmlDelegate() { document_.setDefaultFont(GridQFont()); }
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    document_.setHtml(index.data().toString());
    painter->save();
    painter->translate(option.rect.topLeft());
    document_.drawContents(painter, QRectF(0, 0, option.rect.width(), option.rect.height()));
    painter->restore();
  }

 private:
  mutable QTextDocument document_;
};

void PrepareTable(QTableView& table) {
  table.setFrameShape(QFrame::NoFrame);
  table.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table.horizontalHeader()->hide();
  table.verticalHeader()->hide();
  table.horizontalHeader()->setDefaultSectionSize(kColWidth + 1);
  table.verticalHeader()->setDefaultSectionSize(kRowHeight + 1);
  table.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table.resize(kFrameWidth, kFrameHeight);
  table.scrollTo(table.model()->index(kFrameRows / 2, 0), QAbstractItemView::PositionAtTop);
}

double FrameMs(QWidget* viewport) {
  QImage image(kFrameWidth, kFrameHeight, QImage::Format_ARGB32_Premultiplied);
  viewport->render(&image);  // warm-up
  return Best(Repetitions(30), [&] {
    const auto start = Clock::now();
    viewport->render(&image);
    return SecondsSince(start) * 1000;
  });
}

// --- Huge texts -------------------------------------------------------------------

void ReportHugeTexts() {
  TQtCanvas canvas = TQtCanvas::ForMeasuring();
  canvas.SetFont(GridFont());
  QImage image(kCellImageWidth, kCellImageHeight, QImage::Format_ARGB32_Premultiplied);
  TQtCanvas painter(image);
  painter.SetFont(GridFont());
  for (const std::size_t megabytes : {std::size_t{1}, Sized(std::size_t{10}, std::size_t{2})}) {
    std::string text;
    while (text.size() < megabytes << 20) text += "<B>word</B> and <I>more</I> &amp; ";
    TMarkupInput input;
    input.Text = text;
    input.Rect = {0, 0, 65535, 65535};
    input.MeasureOnly = true;
    auto start = Clock::now();
    DrawMarkup(canvas, input);
    const double measured = SecondsSince(start);
    input.Rect = {0, 0, kCellImageWidth, kCellImageHeight};
    input.MeasureOnly = false;
    start = Clock::now();
    DrawMarkup(painter, input);
    std::fprintf(stderr, "%zu MB of mark-up: measured in 65535 x 65535 in %.3f s, painted into a 21-pixel row in %.6f s\n",
                 megabytes, measured, SecondsSince(start));
  }
}

}  // namespace
}  // namespace kelvora::bench

int main(int argc, char** argv) {
  using namespace kelvora::bench;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  kelvora::TApplication app(argc, argv);
  const std::vector<TCell> cells = MakeCells(kCells);
  const int repetitions = Repetitions(3);

  const double fit = Best(repetitions, [&] { return FirstColumnFitSeconds(cells, &TCell::markup, "mark-up"); });
  const double documentFit = Best(repetitions, [&] { return DocumentMeasureSeconds(cells); });
  const double paint = Best(repetitions, [&] { return PaintSeconds(cells); });
  const double documentPaint = Best(repetitions, [&] { return DocumentPaintSeconds(cells); });

  kelvora::TCellGrid grid;
  PrepareGrid(grid, cells);
  const double frame = FrameMs(grid.viewport());
  THtmlModel model(cells);
  THtmlDelegate delegate;
  QTableView table;
  table.setModel(&model);
  table.setItemDelegate(&delegate);
  PrepareTable(table);
  const double tableFrame = FrameMs(table.viewport());
  std::fprintf(stderr, "visible: %d rows x %d columns\n", grid.VisibleRowCount(), grid.VisibleColCount());
  ReportHugeTexts();

  PrintFigure("markup_fit_100k", fit, "s");
  PrintAnchor("qtextdocument_measure_100k", documentFit, "s");
  PrintFigure("markup_paint_100k", paint, "s");
  PrintAnchor("qtextdocument_paint_100k", documentPaint, "s");
  PrintFigure("markup_frame", frame, "ms");
  PrintAnchor("qtableview_html_frame", tableFrame, "ms");
  return 0;
}
