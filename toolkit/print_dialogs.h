#pragma once

#include <deque>
#include <functional>
#include <string>

class QPrinter;
class QPrintPreviewDialog;
class QWidget;

namespace kelvora {

// The system's print dialog for the printer, offering pages 1..pageCount;
// true when the person chose to print. The printer then holds their choice:
// the printer or file, the paper, the pages.
bool ExecutePrintDialog(QPrinter& printer, QWidget* parent, int pageCount);

// The preview dialog: zoomable, page by page, with a button that prints.
// It calls `paint` whenever it needs the pages: to show them (preview true)
// and to print them (preview false). An error in `paint` is shown in the
// error box, and the dialog stays.
void ExecutePreviewDialog(QPrinter& printer, QWidget* parent,
                          const std::function<void(QPrinter& printer, bool preview)>& paint);

// The test seam: while a script is installed, the print dialog takes the
// next scripted answer instead of waiting for a person, and the preview is
// made and filled but handed to the script's look instead of being shown.
// A dialog with no answer left raises an error, so that a test can neither
// hang on a real dialog nor pass on a forgotten one. Scripts nest.
class TPrintDialogScript {
 public:
  TPrintDialogScript();
  ~TPrintDialogScript();
  TPrintDialogScript(const TPrintDialogScript&) = delete;
  TPrintDialogScript& operator=(const TPrintDialogScript&) = delete;

  // The person chooses to print into this PDF file, pages from..to (both
  // 0: all of them).
  TPrintDialogScript& PrintToFile(const std::string& pdfPath, int fromPage = 0, int toPage = 0);
  TPrintDialogScript& Cancel();
  // The preview, filled with its pages, is given to `look`.
  TPrintDialogScript& Preview(std::function<void(QPrintPreviewDialog& dialog)> look);

  // The page counts the print dialogs were offered.
  const std::deque<int>& OfferedPages() const { return offeredPages_; }

 private:
  friend bool ExecutePrintDialog(QPrinter&, QWidget*, int);
  friend void ExecutePreviewDialog(QPrinter&, QWidget*, const std::function<void(QPrinter&, bool)>&);
  enum TAnswerKind { akPrint, akCancel, akPreview };
  struct TAnswer {
    TAnswerKind Kind;
    std::string File;
    int FromPage = 0;
    int ToPage = 0;
    std::function<void(QPrintPreviewDialog&)> Look;
  };
  static TPrintDialogScript* Current();
  TAnswer Next(TAnswerKind wanted);

  std::deque<TAnswer> answers_;
  std::deque<int> offeredPages_;
  TPrintDialogScript* previous_;
};

}  // namespace kelvora
