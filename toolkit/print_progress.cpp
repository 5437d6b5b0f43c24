#include "toolkit/print_progress.h"

#include <QCoreApplication>
#include <QProgressDialog>

#include <chrono>

#include "toolkit/long_command.h"

namespace kelvora {
namespace {

TPrintProgressScript*& InstalledScript() {
  static TPrintProgressScript* script = nullptr;
  return script;
}

// Pages come far faster than a screen can show them; the box is updated,
// and the messages processed, at most once a frame.
constexpr std::chrono::milliseconds kFrame{16};
constexpr int kShowAfterMilliseconds = 500;

class TBoxPrintProgress : public TPrintProgress {
 public:
  // Only the box's own Cancel takes input while the pages are printed.
  explicit TBoxPrintProgress(QWidget* window) : box_(window), oneStep_(&box_) {
    box_.setWindowModality(Qt::WindowModal);
    box_.setMinimumDuration(kShowAfterMilliseconds);
    box_.setAutoReset(false);
    box_.setAutoClose(false);
    box_.setValue(0);
  }

  bool PagePrinted(int done, int total) override {
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < kFrame && done < total) return !box_.wasCanceled();
    last_ = now;
    box_.setMaximum(total);
    box_.setLabelText(QStringLiteral("Printing page %1 of %2").arg(done).arg(total));
    box_.setValue(done);
    QCoreApplication::processEvents();
    return !box_.wasCanceled();
  }

 private:
  QProgressDialog box_;
  TLongCommand oneStep_;
  std::chrono::steady_clock::time_point last_{};
};

}  // namespace

class TScriptedPrintProgress : public TPrintProgress {
 public:
  explicit TScriptedPrintProgress(TPrintProgressScript& script) : script_(script) {}
  bool PagePrinted(int done, int total) override {
    script_.reports_.emplace_back(done, total);
    return script_.stopAfterPage_ < 0 || done < script_.stopAfterPage_;
  }

 private:
  TPrintProgressScript& script_;
};

std::unique_ptr<TPrintProgress> MakePrintProgress(QWidget* window) {
  if (TPrintProgressScript* script = TPrintProgressScript::Current())
    return std::make_unique<TScriptedPrintProgress>(*script);
  return std::make_unique<TBoxPrintProgress>(window);
}

TPrintProgressScript::TPrintProgressScript(int stopAfterPage)
    : stopAfterPage_(stopAfterPage), previous_(InstalledScript()) {
  InstalledScript() = this;
}

TPrintProgressScript::~TPrintProgressScript() { InstalledScript() = previous_; }

TPrintProgressScript* TPrintProgressScript::Current() { return InstalledScript(); }

}  // namespace kelvora
