#pragma once

#include <memory>
#include <utility>
#include <vector>

class QWidget;

namespace kelvora {

// Tells the person how far a print job has come and lets them stop it. The
// window's messages are processed here, and nowhere else, while a job runs,
// so that whatever guards a long command need look at this one place.
class TPrintProgress {
 public:
  virtual ~TPrintProgress() = default;
  // After each page; false once the person has asked to stop.
  virtual bool PagePrinted(int done, int total) = 0;
};

// A progress box over the window, shown once a job takes longer than half a
// second, with a Cancel button; while a test's script is installed, the
// script's stand-in instead.
std::unique_ptr<TPrintProgress> MakePrintProgress(QWidget* window);

// The test seam: while it lives, jobs report their pages to it instead of a
// box, and are stopped after the page given (never, with -1). Scripts nest.
class TPrintProgressScript {
 public:
  explicit TPrintProgressScript(int stopAfterPage = -1);
  ~TPrintProgressScript();
  TPrintProgressScript(const TPrintProgressScript&) = delete;
  TPrintProgressScript& operator=(const TPrintProgressScript&) = delete;

  // Each report: the pages done, of how many.
  const std::vector<std::pair<int, int>>& Reports() const { return reports_; }

 private:
  friend class TScriptedPrintProgress;
  friend std::unique_ptr<TPrintProgress> MakePrintProgress(QWidget* window);
  static TPrintProgressScript* Current();

  int stopAfterPage_;
  std::vector<std::pair<int, int>> reports_;
  TPrintProgressScript* previous_;
};

}  // namespace kelvora
