// Drag and drop: text and files dropped on the grid, and the selection
// dragged out.
#include "grid/cell_grid.h"
#include "toolkit/application.h"
#include "toolkit/clipboard.h"
#include "toolkit/drag_source.h"
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

QMimeData* TCellGrid::SelectionMimeData() {
  return TextAndHtmlMimeData(SelectionAsText(), SelectionFitsHtml() ? SelectionAsHtml() : std::string());
}

// The drag source lives with the drop target, so a grid that takes no drops
// keeps a press in its selection for selecting anew. A press with Shift or
// Ctrl extends or adds to the selection, so it is never held.
bool TCellGrid::HoldPressForDragOut(QMouseEvent* event) {
  if (replayingPress_ || !OleDropTarget() || event->button() != Qt::LeftButton) return false;
  if (event->modifiers() != Qt::NoModifier || EditorShowing()) return false;
  const QPoint at = event->position().toPoint();
  int col = -1, row = -1;
  MouseToCell(at.x(), at.y(), col, row);
  const TGridRect selection = Selection();
  const bool severalCells = selection.Left != selection.Right || selection.Top != selection.Bottom;
  if (!severalCells || !selection.Contains(col, row)) return false;
  if (col < FixedCols() || row < FixedRows() || CheckBoxAt(col, row)) return false;
  heldPress_.reset(static_cast<QMouseEvent*>(event->clone()));
  return true;
}

bool TCellGrid::DragOutOnMove(QMouseEvent* event) {
  if (!heldPress_) return false;
  if (!(event->buttons() & Qt::LeftButton)) {
    heldPress_.reset();
    return false;
  }
  if (!IsDragDistance(heldPress_->position().toPoint(), event->position().toPoint())) return true;
  heldPress_.reset();
  RunGuarded([this] { DragOut(this, SelectionMimeData()); });
  return true;
}

// The release after a held press that never became a drag: the press goes
// through now, so the click selects the cell as it would have at once.
void TCellGrid::ReplayHeldPress() {
  if (!heldPress_) return;
  const std::unique_ptr<QMouseEvent> press = std::move(heldPress_);
  replayingPress_ = true;
  mousePressEvent(press.get());
  replayingPress_ = false;
}

}  // namespace kelvora
