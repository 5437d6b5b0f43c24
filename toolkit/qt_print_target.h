#pragma once

#include <QPageLayout>
#include <QPainter>

#include <memory>
#include <optional>
#include <string>

#include "toolkit/print_target.h"
#include "toolkit/qt_canvas.h"

class QPagedPaintDevice;
class QPrinter;

namespace kelvora {

// Paper, orientation and margins for a printer or a PDF writer.
QPageLayout PageLayoutOf(const TPageSetup& setup);
void ApplyPageSetup(QPagedPaintDevice& device, const TPageSetup& setup);

// Printing through a painter on a printer or a PDF writer: each part of a
// page is a TQtCanvas on the painter, scaled from the grid's pixels to the
// device's dots, so that pages are painted by the code that paints the
// screen, and stay vector drawing with real text.
class TQtPrintTarget : public TPrintTarget {
 public:
  // Begins painting on the device; raises Exception with `failure` when the
  // device cannot be painted on.
  TQtPrintTarget(QPagedPaintDevice& device, const std::string& failure);
  ~TQtPrintTarget() override;
  TQtPrintTarget(const TQtPrintTarget&) = delete;
  TQtPrintTarget& operator=(const TQtPrintTarget&) = delete;

  TSize PageSize() const override;
  TCanvas& Measurer() override { return measurer_; }
  void BeginPage() override;
  TCanvas& Part(double scale) override;
  void EndPage() override;
  void Finish() override;

 private:
  double DotsPerPixel() const;

  QPagedPaintDevice& device_;
  QPainter painter_;
  std::optional<TQtCanvas> part_;
  TQtCanvas measurer_ = TQtCanvas::ForMeasuring();
  bool pageBegun_ = false;
  bool finished_ = false;
  std::string failure_;
};

// A job on a printer. One that ends without Finish is aborted, so that the
// printer is given no half of it.
class TPrinterTarget : public TPrintTarget {
 public:
  explicit TPrinterTarget(QPrinter& printer);
  ~TPrinterTarget() override;

  TSize PageSize() const override { return pages_->PageSize(); }
  TCanvas& Measurer() override { return pages_->Measurer(); }
  void BeginPage() override { pages_->BeginPage(); }
  TCanvas& Part(double scale) override { return pages_->Part(scale); }
  void EndPage() override { pages_->EndPage(); }
  void Finish() override;

 private:
  QPrinter& printer_;
  std::unique_ptr<TQtPrintTarget> pages_;
  bool finished_ = false;
};

// A PDF file, written as the CSV file is: into a hidden temporary file beside
// it that takes the file's place, synced, only once the document is whole.
// Opening raises EInOutError when the file cannot be made; a write that
// fails (a full disk) raises EInOutError at the end of the page it happened
// on. Dropped before Finish, it leaves the folder as it was.
class TPdfTarget : public TPrintTarget {
 public:
  TPdfTarget(const std::string& fileName, const TPageSetup& setup, const std::string& title);
  // On the paper a print dialog chose, for its file printer.
  TPdfTarget(const std::string& fileName, const QPageLayout& layout, const std::string& title);
  ~TPdfTarget() override;

  TSize PageSize() const override;
  TCanvas& Measurer() override;
  void BeginPage() override;
  TCanvas& Part(double scale) override;
  void EndPage() override;
  void Finish() override;

 private:
  struct State;
  std::unique_ptr<State> s_;
};

}  // namespace kelvora
