#include "toolkit/qt_print_target.h"

#include <QIODevice>
#include <QLocale>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

#include "toolkit/byte_text.h"
#include "toolkit/exceptions.h"
#include "toolkit/text_file.h"

namespace kelvora {
namespace {

QPageSize::PageSizeId PageSizeId(TPaperSize paper) {
  switch (paper) {
    case ppA4: return QPageSize::A4;
    case ppA3: return QPageSize::A3;
    case ppA5: return QPageSize::A5;
    case ppLetter: return QPageSize::Letter;
    case ppLegal: return QPageSize::Legal;
    case ppDefault: break;
  }
  return QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter : QPageSize::A4;
}

// Margins of less than nothing, or of more than a page, are no margins a
// printer could keep; they are held to 0..100 mm.
qreal MarginMillimetres(int value) { return std::clamp(value, 0, 100); }

// Hands what the PDF writer writes to a text writer, which buffers it into
// the temporary file. Qt's writer does not look at failed writes, so the
// first failure is kept here for the job to raise.
class TWriterDevice : public QIODevice {
 public:
  explicit TWriterDevice(TTextWriter& writer) : writer_(writer) { open(QIODevice::WriteOnly); }

  bool isSequential() const override { return true; }
  const std::optional<EInOutError>& Failure() const { return failure_; }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 length) override {
    if (failure_) return -1;
    try {
      writer_.Write(std::string_view(data, static_cast<std::size_t>(length)));
      return length;
    } catch (const EInOutError& error) {
      failure_ = error;
      return -1;
    }
  }

 private:
  TTextWriter& writer_;
  std::optional<EInOutError> failure_;
};

}  // namespace

QPageLayout PageLayoutOf(const TPageSetup& setup) {
  const TPrintMargins& m = setup.Margins;
  return QPageLayout(QPageSize(PageSizeId(setup.Paper)),
                     setup.Orientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                     QMarginsF(MarginMillimetres(m.Left), MarginMillimetres(m.Top), MarginMillimetres(m.Right),
                               MarginMillimetres(m.Bottom)),
                     QPageLayout::Millimeter);
}

void ApplyPageSetup(QPagedPaintDevice& device, const TPageSetup& setup) { device.setPageLayout(PageLayoutOf(setup)); }

// --- Painting on a paged device ---------------------------------------------

TQtPrintTarget::TQtPrintTarget(QPagedPaintDevice& device, const std::string& failure)
    : device_(device), failure_(failure) {
  if (!painter_.begin(&device_)) throw Exception(failure_);
}

TQtPrintTarget::~TQtPrintTarget() {
  part_.reset();
  if (painter_.isActive()) painter_.end();
}

double TQtPrintTarget::DotsPerPixel() const { return device_.logicalDpiX() / static_cast<double>(kPixelsPerInch); }

TSize TQtPrintTarget::PageSize() const {
  const double dots = DotsPerPixel();
  return {static_cast<int>(device_.width() / dots), static_cast<int>(device_.height() / dots)};
}

void TQtPrintTarget::BeginPage() {
  part_.reset();
  if (pageBegun_ && !device_.newPage()) throw Exception(failure_);
  pageBegun_ = true;
}

TCanvas& TQtPrintTarget::Part(double scale) {
  part_.reset();
  const double factor = DotsPerPixel() * (std::isfinite(scale) && scale > 0 ? scale : 1.0);
  painter_.setWorldTransform(QTransform::fromScale(factor, factor));
  painter_.setClipping(false);
  part_.emplace(painter_);
  return *part_;
}

void TQtPrintTarget::EndPage() { part_.reset(); }

void TQtPrintTarget::Finish() {
  part_.reset();
  if (!painter_.end()) throw Exception(failure_);
}

// --- A printer ----------------------------------------------------------------

namespace {
// Without a print system Qt offers only its PDF printer, which needs a file.
std::string PrinterFailure(const QPrinter& printer) {
  if (printer.outputFormat() == QPrinter::PdfFormat) {
    const std::string file = StoredText(printer.outputFileName());
    return file.empty() ? "No printer is available" : "Cannot create file " + file;
  }
  const std::string name = StoredText(printer.printerName());
  return name.empty() ? "No printer is available" : "The printer " + name + " cannot print";
}
}  // namespace

TPrinterTarget::TPrinterTarget(QPrinter& printer)
    : printer_(printer), pages_(std::make_unique<TQtPrintTarget>(printer, PrinterFailure(printer))) {}

TPrinterTarget::~TPrinterTarget() {
  if (finished_) return;
  printer_.abort();
  pages_.reset();
}

void TPrinterTarget::Finish() {
  pages_->Finish();
  finished_ = true;
}

// --- A PDF file -----------------------------------------------------------------

// The text writer opens before anything is painted, so that a path that
// cannot be written fails first, and the PDF writer's first bytes have
// somewhere to go.
struct TPdfTarget::State {
  State(const std::string& fileName, const QPageLayout& layout, const std::string& title)
      : device(writer), pdf(&device) {
    writer.AssignFile(fileName);
    writer.RewriteReplacing();
    pdf.setPageLayout(layout);
    pdf.setTitle(DisplayText(title));
    pdf.setCreator(QStringLiteral("Kelvora"));
    pages.emplace(pdf, "Cannot create file " + fileName);
  }

  // Raises the first failed write, which leaves the temporary file unused.
  void RaiseFailure() const {
    if (device.Failure()) throw *device.Failure();
  }

  TTextWriter writer;
  TWriterDevice device;
  QPdfWriter pdf;
  std::optional<TQtPrintTarget> pages;
};

TPdfTarget::TPdfTarget(const std::string& fileName, const TPageSetup& setup, const std::string& title)
    : TPdfTarget(fileName, PageLayoutOf(setup), title) {}

TPdfTarget::TPdfTarget(const std::string& fileName, const QPageLayout& layout, const std::string& title)
    : s_(std::make_unique<State>(fileName, layout, title)) {}

TPdfTarget::~TPdfTarget() = default;

TSize TPdfTarget::PageSize() const { return s_->pages->PageSize(); }
TCanvas& TPdfTarget::Measurer() { return s_->pages->Measurer(); }
void TPdfTarget::BeginPage() { s_->pages->BeginPage(); }
TCanvas& TPdfTarget::Part(double scale) { return s_->pages->Part(scale); }

void TPdfTarget::EndPage() {
  s_->pages->EndPage();
  s_->RaiseFailure();
}

void TPdfTarget::Finish() {
  s_->pages->Finish();
  s_->RaiseFailure();
  s_->writer.Close();
}

}  // namespace kelvora
