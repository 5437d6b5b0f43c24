#include <QDateTime>
#include <QLocale>
#include <QPrinter>

#include <memory>

#include "grid/cell_grid.h"
#include "grid/grid_print_source.h"
#include "grid/print/print_job.h"
#include "toolkit/byte_text.h"
#include "toolkit/print_dialogs.h"
#include "toolkit/qt_print_target.h"

namespace kelvora {
namespace {

// A preview holds every page it shows in memory; past this many it shows
// the first ones only. Printing and PDF files take every page.
constexpr int kMostPreviewPages = 500;

TPageSetup PageSetupOf(const TPrintSettings& settings) {
  return {settings.Paper, settings.Orientation, settings.Margins};
}

// The fields' date and time, in the user's short forms, as the job begins.
struct TJobClock {
  std::string Date;
  std::string Time;
};

TJobClock Now() {
  const QDateTime now = QDateTime::currentDateTime();
  return {StoredText(QLocale().toString(now.date(), QLocale::ShortFormat)),
          StoredText(QLocale().toString(now.time(), QLocale::ShortFormat))};
}

// The pages the person picked in a print dialog, within the settings' own.
TPrintSettings WithPrinterRange(TPrintSettings settings, const QPrinter& printer) {
  if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
    settings.FromPage = printer.fromPage();
    settings.ToPage = printer.toPage();
  }
  return settings;
}

TSize PrintableSize(QPrinter& printer) {
  const double dots = printer.logicalDpiX() / static_cast<double>(kPixelsPerInch);
  return {static_cast<int>(printer.width() / dots), static_cast<int>(printer.height() / dots)};
}

// A PDF file that cannot be made is reported as a CSV file is.
template <typename TPaper>
std::unique_ptr<TPrintTarget> OpenPdf(const std::string& fileName, const TPaper& paper, const std::string& title) {
  try {
    return std::make_unique<TPdfTarget>(fileName, paper, title);
  } catch (const EInOutError&) {
    throw ECellGridError("Cannot create file " + fileName);
  }
}

// The file printer of the print dialog writes its PDF as PrintToPdf does,
// so that it too replaces a file only when whole.
std::unique_ptr<TPrintTarget> OpenPrinter(QPrinter& printer, const std::string& title) {
  const std::string file = StoredText(printer.outputFileName());
  if (printer.outputFormat() == QPrinter::PdfFormat && !file.empty())
    return OpenPdf(file, printer.pageLayout(), title);
  return std::make_unique<TPrinterTarget>(printer);
}

}  // namespace

bool TCellGrid::PrintToPdf(const std::string& FileName) {
  const std::unique_ptr<TPrintTarget> target = OpenPdf(FileName, PageSetupOf(printSettings_), printSettings_.Title);
  TGridPrintSource source(*this, printSettings_);
  const std::unique_ptr<TPrintProgress> progress = MakePrintProgress(this);
  const TJobClock clock = Now();
  return PrintGrid({*target, source, printSettings_, clock.Date, clock.Time, *progress});
}

void TCellGrid::Print() {
  QPrinter printer(QPrinter::HighResolution);
  ApplyPageSetup(printer, PageSetupOf(printSettings_));
  TGridPrintSource source(*this, printSettings_);
  TQtCanvas measurer = TQtCanvas::ForMeasuring();
  const int pages = CountPrintPages(source, printSettings_, PrintableSize(printer), measurer);
  if (!ExecutePrintDialog(printer, this, pages)) return;
  const TPrintSettings settings = WithPrinterRange(printSettings_, printer);
  const std::unique_ptr<TPrintTarget> target = OpenPrinter(printer, settings.Title);
  const std::unique_ptr<TPrintProgress> progress = MakePrintProgress(this);
  const TJobClock clock = Now();
  PrintGrid({*target, source, settings, clock.Date, clock.Time, *progress});
}

void TCellGrid::PrintPreview() {
  QPrinter printer(QPrinter::HighResolution);
  ApplyPageSetup(printer, PageSetupOf(printSettings_));
  ExecutePreviewDialog(printer, this, [this](QPrinter& target, bool preview) {
    const TPrintSettings settings = WithPrinterRange(printSettings_, target);
    TGridPrintSource source(*this, settings);
    const std::unique_ptr<TPrintTarget> pages =
        preview ? std::make_unique<TPrinterTarget>(target) : OpenPrinter(target, settings.Title);
    const std::unique_ptr<TPrintProgress> progress = MakePrintProgress(this);
    const TJobClock clock = Now();
    PrintGrid({*pages, source, settings, clock.Date, clock.Time, *progress, preview ? kMostPreviewPages : INT_MAX});
  });
}

}  // namespace kelvora
