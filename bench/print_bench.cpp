// Printing and rich text against what a Qt program uses for both,
// QTextDocument:
// - 10,000 date rows printed to a PDF file through PrintToPdf, against a
//   QTextDocument already holding the same rows as an HTML table, printed
//   to a QPdfWriter (only its print() is timed);
// - the memory the process grows by while 1,000,000 date rows print to a
//   PDF (into /dev/null, so that the disk plays no part; the writer takes
//   the same path as for a file);
// - FitColumnsToText over 100,000 distinct rich-text cells, each a whole
//   document with its font and colour tables, against setHtml + idealWidth
//   of the same text as HTML for each cell.

#include <QPdfWriter>
#include <QTextDocument>

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "app/form1_grid.h"
#include "grid/cell_grid.h"
#include "support/bench_support.h"
#include "support/fit_timing.h"
#include "support/stopwatch.h"
#include "toolkit/application.h"
#include "toolkit/qt_canvas.h"

namespace kelvora::bench {
namespace {

const int kPdfRows = Sized(10'000, 500);
const int kGrowthRows = Sized(1'000'000, 5'000);
const int kRichCells = Sized(100'000, 2'000);

constexpr const char* kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The seven cells "Get Data" makes of a date line; every row differs.
std::vector<std::string> DateRow(int i) {
  auto two = [](int n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
  return {kDays[i % 7], two(1 + i % 28), kMonths[(i / 28) % 12], std::to_string(1990 + i % 30),
          two(i % 24), two((i / 24) % 60), two((i / 7) % 60)};
}

void FillDates(TCellGrid& grid, int rows) {
  ApplyGridDescription(grid);
  grid.Loaded();
  grid.SetColCount(7);
  grid.SetRowCount(rows);
  for (int row = 0; row < rows; ++row) {
    const std::vector<std::string> cells = DateRow(row);
    for (int col = 0; col < 7; ++col) grid.SetCells(col, row, cells[static_cast<std::size_t>(col)]);
  }
}

TFont GridFont() {
  TFont font;
  font.Name = "MS Sans Serif";
  font.Height = -9;
  font.Color = clNavy;
  return font;
}

// --- 10,000 rows to PDF -------------------------------------------------------

double GridPdfSeconds(TCellGrid& grid, const std::string& path) {
  const auto start = Clock::now();
  if (!grid.PrintToPdf(path)) std::fprintf(stderr, "the PDF job was stopped\n");
  return SecondsSince(start);
}

QString HtmlTable(int rows) {
  QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\">");
  for (int row = 0; row < rows; ++row) {
    html += QStringLiteral("<tr>");
    for (const std::string& cell : DateRow(row)) html += QStringLiteral("<td>") + QString::fromStdString(cell) + QStringLiteral("</td>");
    html += QStringLiteral("</tr>");
  }
  return html + QStringLiteral("</table>");
}

// The grid's font in points: a document prints a size in pixels in the
// printer's own, far smaller ones.
QFont GridPointFont() {
  QFont font = ToQFont(GridFont());
  font.setPointSizeF(GridFont().PixelHeight() * 72.0 / kPixelsPerInch);
  return font;
}

double DocumentPdfSeconds(const std::string& path) {
  QTextDocument document;
  document.setDefaultFont(GridPointFont());
  document.setHtml(HtmlTable(kPdfRows));
  QPdfWriter writer(QString::fromStdString(path));
  writer.setPageSize(QPageSize(QPageSize::A4));
  const auto start = Clock::now();
  document.print(&writer);
  return SecondsSince(start);
}

std::string PdfInfoPages(const std::string& path) {
  const std::string info = CommandOutput("pdfinfo " + ShellQuoted(path) + " 2>/dev/null");
  const std::size_t at = info.find("Pages:");
  if (at == std::string::npos) return "?";
  const std::size_t digits = info.find_first_of("0123456789", at);
  return info.substr(digits, info.find('\n', digits) - digits);
}

// --- Memory while a million rows print ---------------------------------------

bool ResetPeakResident() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return static_cast<bool>(clear);
}

double PrintGrowthMiB(double& seconds) {
  TCellGrid grid;
  FillDates(grid, kGrowthRows);
  malloc_trim(0);
  if (!ResetPeakResident()) std::fprintf(stderr, "the kernel's peak could not be reset\n");
  const double before = ResidentMiB();
  seconds = GridPdfSeconds(grid, "/dev/null");
  return PeakResidentMiB() - before;
}

// --- Fitting rich text --------------------------------------------------------

struct TRichCell {
  std::string rich;
  QString html;
};

// A document of a few formats, with its tables, as a writer saves a cell.
TRichCell MakeRichCell(int i) {
  const std::string day = kDays[i % 7];
  const std::string month = kMonths[(i / 7) % 12];
  const std::string n = std::to_string(i);
  const std::string head = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Sans;}{\\f1\\fmodern Mono;}}"
                           "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\\pard ";
  switch (i % 4) {
    case 0:
      return {head + "\\b " + day + "\\b0 , " + n + " \\cf1 " + month + "\\cf0  2003}",
              QString::fromStdString("<b>" + day + "</b>, " + n + " <font color=\"#ff0000\">" + month + "</font> 2003")};
    case 1:
      return {head + "\\i msg " + n + "\\i0\\par\\fs24 re: " + month + "}",
              QString::fromStdString("<i>msg " + n + "</i><br><span style=\"font-size:12pt\">re: " + month + "</span>")};
    case 2:
      return {head + "\\f1 " + day + "\\f0  \\ul " + n + "\\ulnone  " + month + " caf\\'e9}",
              QString::fromStdString("<font face=\"Mono\">" + day + "</font> <u>" + n + "</u> " + month + " caf&eacute;")};
    default:
      return {head + "\\cf2\\b " + day + "\\b0\\cf0 \\tab " + month + "\\line " + n + " \\u8364?}",
              QString::fromStdString("<font color=\"#0000ff\"><b>" + day + "</b></font>&nbsp;&nbsp;" + month + "<br>" + n +
                                     " &euro;")};
  }
}

std::vector<TRichCell> MakeRichCells(int count) {
  std::vector<TRichCell> cells;
  cells.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) cells.push_back(MakeRichCell(i));
  return cells;
}

double DocumentMeasureSeconds(const std::vector<TRichCell>& cells) {
  QTextDocument document;
  document.setDefaultFont(ToQFont(GridFont()));
  double widest = 0;
  const auto start = Clock::now();
  for (const TRichCell& cell : cells) {
    document.setHtml(cell.html);
    widest = std::max(widest, document.idealWidth());
  }
  const double seconds = SecondsSince(start);
  std::fprintf(stderr, "QTextDocument widest: %.1f pixels\n", widest);
  return seconds;
}

}  // namespace
}  // namespace kelvora::bench

int main(int argc, char** argv) {
  using namespace kelvora::bench;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  kelvora::TApplication app(argc, argv);
  const int repetitions = Repetitions(3);
  const std::string gridPdf = DataDir() + "/print_bench_grid.pdf";
  const std::string documentPdf = DataDir() + "/print_bench_document.pdf";

  double pdf = 0;
  {
    kelvora::TCellGrid grid;
    FillDates(grid, kPdfRows);
    pdf = Best(repetitions, [&] { return GridPdfSeconds(grid, gridPdf); });
  }
  // A minute and more a time: twice is enough to take the better of.
  const double documentPdfSeconds = Best(Repetitions(2), [&] { return DocumentPdfSeconds(documentPdf); });
  std::fprintf(stderr, "%d rows: PrintToPdf made %s pages, QTextDocument %s\n", kPdfRows,
               PdfInfoPages(gridPdf).c_str(), PdfInfoPages(documentPdf).c_str());

  double growthSeconds = 0;
  const double growth = PrintGrowthMiB(growthSeconds);
  std::fprintf(stderr, "%d rows printed to PDF in %.1f s\n", kGrowthRows, growthSeconds);

  const std::vector<TRichCell> cells = MakeRichCells(kRichCells);
  const double fit = Best(repetitions, [&] { return FirstColumnFitSeconds(cells, &TRichCell::rich, "rich text"); });
  const double documentFit = Best(repetitions, [&] { return DocumentMeasureSeconds(cells); });

  PrintFigure("print_pdf_10k", pdf, "s");
  PrintAnchor("qtextdocument_pdf_10k", documentPdfSeconds, "s");
  PrintFigure("print_pdf_1m_growth", growth, "MiB");
  PrintFigure("richtext_fit_100k", fit, "s");
  PrintAnchor("qtextdocument_measure_100k", documentFit, "s");
  std::remove(gridPdf.c_str());
  std::remove(documentPdf.c_str());
  return 0;
}
