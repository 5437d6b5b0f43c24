// Editor mode: when the in-place edit window shows, where, with what text,
// and how its changes reach the cell.
#include "toolkit/editors/inplace_edit.h"
#include "toolkit/grid_base/custom_grid.h"

namespace kelvora {

TInplaceEdit* TCustomGrid::CreateEditor() { return new TInplaceEdit(this); }

bool TCustomGrid::CanEditShow() { return EditRuleAllows(); }

// The base's rule, also where asking the hook would be out of turn.
bool TCustomGrid::EditRuleAllows() const {
  return options_.contains(goEditing) && !options_.contains(goRowSelect) && editorMode_ &&
         ColCount() > 0 && RowCount() > 0 && GridHasFocus();
}

bool TCustomGrid::EditorShowing() const { return editor_ && editor_->isVisible(); }

void TCustomGrid::SetEditorMode(bool on) {
  if (!on) {
    HideEditor();
    return;
  }
  ShowEditor();
  if (EditorShowing()) editor_->Deselect();
}

void TCustomGrid::ShowEditor() {
  editorMode_ = true;
  ClampInView(current_);
  UpdateEdit();
}

void TCustomGrid::ShowEditorChar(char32_t ch) {
  ShowEditor();
  if (!EditorShowing()) return;
  editor_->SelectAll();
  editor_->DeliverChar(ch);
}

void TCustomGrid::HideEditor() {
  editorMode_ = false;
  HideEdit();
}

void TCustomGrid::HideEditWindow() { HideEdit(); }

// While the window's own change is being written, the cell already holds
// what the window shows; reading it back would throw the caret about.
void TCustomGrid::InvalidateEditor() {
  if (writingThrough_) return;
  inplace_ = {-1, -1};
  UpdateEdit();
}

void TCustomGrid::UpdateText() {
  if (!editor_ || inplace_.X < 0 || inplace_.Y < 0) return;
  SetEditText(inplace_.X, inplace_.Y, editor_->Text());
}

void TCustomGrid::EditorTextChanged() {
  if (inplace_.X < 0 || inplace_.Y < 0) return;
  struct TFlagGuard {
    bool& flag;
    explicit TFlagGuard(bool& f) : flag(f) { flag = true; }
    ~TFlagGuard() { flag = false; }
  } guard(writingThrough_);
  SetEditText(inplace_.X, inplace_.Y, editor_->Text());
}

void TCustomGrid::EnsureEditor() {
  if (editor_) return;
  editor_ = CreateEditor();
  if (editor_->parentWidget() != viewport()) editor_->setParent(viewport());
  editor_->hide();
  editor_->HandleNeeded();
}

// Shows the window on the current cell, loading its text first when it
// showed another cell or none.
void TCustomGrid::UpdateEdit() {
  if (!CanEditShow()) return;
  EnsureEditor();
  if (inplace_ != current_) {
    HideEdit();
    LoadEditor();
  }
  PlaceEditor();
}

void TCustomGrid::LoadEditor() {
  inplace_ = current_;
  editor_->LoadFromGrid();
  editor_->SelectAll();
}

// Lays the window over its cell; a cell scrolled out of view takes the
// window with it until it comes back.
void TCustomGrid::PlaceEditor() {
  PlaceOwnEditor();
  if (!editor_ || inplace_.X < 0 || inplace_.Y < 0) return;
  const TRect r = CellRect(inplace_.X, inplace_.Y);
  if (r.IsEmpty()) {
    if (editor_->isVisible()) {
      if (editor_->isAncestorOf(window()->focusWidget())) FocusGridOnly();
      editor_->hide();
    }
    return;
  }
  editor_->Move(r);
  editor_->show();
  editor_->raise();
  if (GridHasFocus() && !editor_->Control()->hasFocus()) editor_->Control()->setFocus();
}

void TCustomGrid::HideEdit() {
  HideOwnEditor();
  if (!editor_) return;
  inplace_ = {-1, -1};
  if (!editor_->isVisible()) return;
  const QWidget* focus = window()->focusWidget();
  if (focus && editor_->isAncestorOf(focus)) FocusGridOnly();
  editor_->hide();
}

void TCustomGrid::FocusGridOnly() {
  movingFocusHome_ = true;
  setFocus(Qt::OtherFocusReason);
  movingFocusHome_ = false;
}

// After rows or columns changed under it, the window shows the current
// cell's text afresh.
void TCustomGrid::RebindEditor() {
  if (!editor_ || inplace_.X < 0) return;
  HideEdit();
  UpdateEdit();
}

void TCustomGrid::FocusNeighbour(bool forward) {
  FocusGridOnly();
  focusNextPrevChild(forward);
}

}  // namespace kelvora
