// Drag and drop: text and files dropped on the grid, and the selection
// dragged out.
#include "grid/cell_grid.h"
#include "toolkit/application.h"
#include "toolkit/clipboard.h"
#include "toolkit/drop_target.h"

namespace kelvora {

void TCellGrid::SetOleDropTarget(bool on) {
  TCellGridProperties::SetOleDropTarget(on);
  if (on == static_cast<bool>(dropTarget_)) return;
  if (!on) {
    dropTarget_.reset();
    return;
  }
  dropTarget_ = std::make_unique<TDropTarget>(viewport());
  dropTarget_->OnText = [this](QPoint at, const std::string& text) { RunGuarded([&] { DropText(at, text); }); };
  dropTarget_->OnFiles = [this](QPoint at, const std::vector<std::string>& files) {
    RunGuarded([&] { DropFiles(at, files); });
  };
  PassAcceptFlags();
}

void TCellGrid::PassAcceptFlags() {
  if (!dropTarget_) return;
  dropTarget_->AcceptText = OleAcceptText();
  dropTarget_->AcceptFiles = OleAcceptFiles();
}

// A drop off the cells, or on a fixed cell, pastes nothing, as a paste there
// would not.
void TCellGrid::DropText(QPoint at, const std::string& text) {
  int col = -1, row = -1;
  MouseToCell(at.x(), at.y(), col, row);
  if (col < 0 || row < 0) return;
  PasteText(col, row, text);
}

// A handler that wants files dropped beside the cells gets -1 for the cell.
void TCellGrid::DropFiles(QPoint at, const std::vector<std::string>& files) {
  int col = -1, row = -1;
  MouseToCell(at.x(), at.y(), col, row);
  const auto handler = OnOleDropFiles;
  if (handler) handler(this, col, row, files);
}

QMimeData* TCellGrid::SelectionMimeData() { return TextAndHtmlMimeData(SelectionAsText(), SelectionAsHtml()); }

}  // namespace kelvora
