#include "toolkit/print_dialogs.h"

#include <QPaintEngine>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <algorithm>

#include "toolkit/application.h"
#include "toolkit/byte_text.h"
#include "toolkit/exceptions.h"

namespace kelvora {
namespace {

TPrintDialogScript*& InstalledScript() {
  static TPrintDialogScript* script = nullptr;
  return script;
}

QWidget* DialogParent(QWidget* parent) { return parent ? parent->window() : nullptr; }

// The preview widget fills its pages with the printer in a preview mode of
// its own, which shows only as the kind of its paint engine: it records.
bool Previewing(QPrinter& printer) {
  const QPaintEngine* engine = printer.paintEngine();
  return engine && engine->type() == QPaintEngine::Picture;
}

}  // namespace

bool ExecutePrintDialog(QPrinter& printer, QWidget* parent, int pageCount) {
  if (TPrintDialogScript* script = TPrintDialogScript::Current()) {
    script->offeredPages_.push_back(pageCount);
    const TPrintDialogScript::TAnswer answer = script->Next(TPrintDialogScript::akPrint);
    if (answer.Kind == TPrintDialogScript::akCancel) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(answer.File));
    printer.setPrintRange(answer.FromPage > 0 ? QPrinter::PageRange : QPrinter::AllPages);
    printer.setFromTo(answer.FromPage, answer.ToPage);
    return true;
  }
  QPrintDialog dialog(&printer, DialogParent(parent));
  dialog.setMinMax(1, std::max(pageCount, 1));
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  return dialog.exec() == QDialog::Accepted;
}

void ExecutePreviewDialog(QPrinter& printer, QWidget* parent,
                          const std::function<void(QPrinter& printer, bool preview)>& paint) {
  QPrintPreviewDialog dialog(&printer, DialogParent(parent));
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* target) {
    RunGuarded([&] { paint(*target, Previewing(*target)); });
  });
  TPrintDialogScript* script = TPrintDialogScript::Current();
  if (!script) {
    dialog.exec();
    return;
  }
  const TPrintDialogScript::TAnswer answer = script->Next(TPrintDialogScript::akPreview);
  if (answer.Look) answer.Look(dialog);
}

TPrintDialogScript::TPrintDialogScript() : previous_(InstalledScript()) { InstalledScript() = this; }

TPrintDialogScript::~TPrintDialogScript() { InstalledScript() = previous_; }

TPrintDialogScript& TPrintDialogScript::PrintToFile(const std::string& pdfPath, int fromPage, int toPage) {
  answers_.push_back({akPrint, pdfPath, fromPage, toPage, {}});
  return *this;
}

TPrintDialogScript& TPrintDialogScript::Cancel() {
  answers_.push_back({akCancel, {}, 0, 0, {}});
  return *this;
}

TPrintDialogScript& TPrintDialogScript::Preview(std::function<void(QPrintPreviewDialog& dialog)> look) {
  answers_.push_back({akPreview, {}, 0, 0, std::move(look)});
  return *this;
}

TPrintDialogScript* TPrintDialogScript::Current() { return InstalledScript(); }

TPrintDialogScript::TAnswer TPrintDialogScript::Next(TAnswerKind wanted) {
  if (answers_.empty()) throw Exception("A print dialog was opened with no answer left in the test script");
  TAnswer answer = std::move(answers_.front());
  answers_.pop_front();
  const bool fits = wanted == akPreview ? answer.Kind == akPreview : answer.Kind != akPreview;
  if (!fits) throw Exception("The test script answers another print dialog than the one opened");
  return answer;
}

}  // namespace kelvora
