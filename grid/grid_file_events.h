#pragma once

#include <QCoreApplication>

#include "grid/cell_grid.h"

namespace kelvora {

// What the CSV writer and reader both ask of the grid while a file goes by:
// whether anyone follows the progress, the progress itself, and a moment to
// let the window paint. `Events` is the reader's or the writer's interface.
template <typename Events>
class TGridFileEvents : public Events {
 public:
  explicit TGridFileEvents(TCellGrid& grid) : grid_(grid) {}

  bool WantsProgress() const override { return static_cast<bool>(grid_.OnFileProgress); }
  // A copy, because a handler may replace or drop itself while it runs.
  void ReportProgress(short percent) override {
    const auto handler = grid_.OnFileProgress;
    if (handler) handler(&grid_, percent);
  }
  void ProcessMessages() override { QCoreApplication::processEvents(); }

 protected:
  TCellGrid& grid_;
};

}  // namespace kelvora
