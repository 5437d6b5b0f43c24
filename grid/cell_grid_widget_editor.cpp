// The special editors, seen from the grid: which widget a kind opens, laying
// it over the current cell, and how its changes and keys reach the cell.
// The editor writes through SetEditText and commits through the same
// validation as the edit box. Enter and Tab end the edit as they end one in
// the box; Escape puts back the text the cell had and closes the editor,
// as a person expects of a drop-down or a spin box.
#include <optional>

#include "grid/cell_grid.h"
#include "toolkit/application.h"
#include "toolkit/editors/widget_editor.h"
#include "toolkit/keys.h"

namespace kelvora {
namespace {

std::optional<TSpecialKind> SpecialKindOf(TEditorType kind) {
  switch (kind) {
    case ekSpinInteger: return TSpecialKind::SpinInteger;
    case ekSpinDecimal: return TSpecialKind::SpinDecimal;
    case ekSpinTime: return TSpecialKind::SpinTime;
    case ekSpinDate: return TSpecialKind::SpinDate;
    case ekComboText: return TSpecialKind::ComboText;
    case ekComboList: return TSpecialKind::ComboList;
    case ekEllipsis: return TSpecialKind::Ellipsis;
    case ekEllipsisNumber: return TSpecialKind::EllipsisNumber;
    case ekEllipsisLeft: return TSpecialKind::EllipsisLeft;
    case ekCheckBox: return TSpecialKind::CheckBox;
    case ekDatePicker: return TSpecialKind::DatePicker;
    case ekDateUpDown: return TSpecialKind::DateUpDown;
    case ekTimePicker: return TSpecialKind::TimePicker;
    case ekButton: return TSpecialKind::Button;
    case ekUnit: return TSpecialKind::Unit;
    case ekExternal: return TSpecialKind::External;
    default: return std::nullopt;
  }
}

}  // namespace

QWidget* TCellGrid::SpecialEditor() const { return special_ && special_->isVisible() ? special_.data() : nullptr; }

bool TCellGrid::SpecialEditorOpenHere() const {
  return special_ && specialCell_ == TGridCoord{Col(), Row()} && special_->isVisible();
}

// --- Opening and closing -----------------------------------------------------------

// A kind no editor exists for, or an external editor its handler left
// incomplete, opens nothing.
void TCellGrid::ShowSpecialEditor() {
  CloseSpecialEditor();
  const std::optional<TSpecialKind> kind = SpecialKindOf(session_.Kind());
  if (!kind) return;
  const int dataCol = DisplayToDataColumn(Col());
  editLink_ = TEditLink();
  if (*kind == TSpecialKind::External) {
    if (OnGetEditorProp) OnGetEditorProp(this, dataCol, Row(), &editLink_);
    if (!editLink_.Complete()) return;
  }
  TSpecialEditor::THooks hooks;
  hooks.Changed = [this](const std::string& text) {
    RunGuarded([&] { SetEditText(specialCell_.X, specialCell_.Y, text); });
  };
  hooks.Key = [this](int key, TShiftState shift) { RunGuarded([&] { SpecialEditorKey(key, shift); }); };
  hooks.Clicked = [this] { RunGuarded([this] { SpecialEditorClicked(); }); };
  auto* editor = new TSpecialEditor(*kind, viewport(), std::move(hooks), &editLink_);
  special_ = editor;
  specialCell_ = {Col(), Row()};
  if (!ConfigureSpecialEditor(*editor)) return CloseSpecialEditor();
  PlaceOwnEditor();
  editor->FocusEditor();
  if (const char32_t ch = session_.OpeningChar()) editor->Replay(ch);
}

// The handlers that feed the editor may throw; the editor then closes, the
// cell as it was.
bool TCellGrid::ConfigureSpecialEditor(TSpecialEditor& editor) {
  bool done = false;
  RunGuarded([&] {
    const int dataCol = DisplayToDataColumn(Col());
    if (editor.Kind() == TSpecialKind::ComboText || editor.Kind() == TSpecialKind::ComboList) {
      std::vector<std::string> items;
      if (OnGetEditorItems) OnGetEditorItems(this, dataCol, Row(), items);
      editor.SetItems(items);
    }
    editor.Load(Cells(dataCol, Row()));
    editor.ValueWidget()->setAccessibleName(QString::fromStdString(SpecialEditorName()));
    done = true;
  });
  return done;
}

// A screen reader names the cell by its column's header where it has one.
std::string TCellGrid::SpecialEditorName() const {
  const int dataCol = DisplayToDataColumn(Col());
  const std::string row = std::to_string(Row() + 1);
  if (dataCol >= 0 && static_cast<std::size_t>(dataCol) < columnHeaders_.size() && !columnHeaders_[dataCol].empty())
    return columnHeaders_[dataCol] + ", row " + row;
  return "Row " + row + ", column " + std::to_string(Col() + 1);
}

void TCellGrid::CloseSpecialEditor() {
  if (!special_) return;
  TSpecialEditor* editor = special_;
  special_ = nullptr;
  specialCell_ = {-1, -1};
  if (editor->HasEditorFocus()) FocusGridOnly();
  editor->hide();
  editor->deleteLater();
}

// Scrolled out of view, the editor goes with its cell and comes back with
// it; the focus waits in the grid meanwhile.
void TCellGrid::PlaceOwnEditor() {
  if (!special_) return;
  const TRect r = CellRect(specialCell_.X, specialCell_.Y);
  if (r.IsEmpty()) {
    if (special_->HasEditorFocus()) FocusGridOnly();
    special_->hide();
    return;
  }
  special_->setGeometry(r.Left, r.Top, r.Width(), r.Height());
  special_->show();
  special_->raise();
  if (GridHasFocus() && !special_->HasEditorFocus()) special_->FocusEditor();
}

// The base hides its edit window when the current cell moves, editor mode
// ends or the grid loses the focus; the special editor goes then too.
void TCellGrid::HideOwnEditor() {
  if (!special_) return;
  if (EditorMode() && specialCell_ == TGridCoord{Col(), Row()} && GridHasFocus()) return;
  CloseSpecialEditor();
}

// --- Keys and buttons ----------------------------------------------------------------

void TCellGrid::SpecialEditorKey(int key, TShiftState shift) {
  if (!special_) return;
  if (key == VK_ESCAPE) {
    CancelCellEdit();
    HideEditor();
    setFocus(Qt::OtherFocusReason);
    return;
  }
  if (!CommitCellEdit()) {
    special_->Load(Cells(DisplayToDataColumn(Col()), Row()));
    return;
  }
  if (key == VK_RETURN) {
    CloseSpecialEditor();
    AdvanceCell(Col(), Row(), true, false, false);
    HideEditor();
    return;
  }
  // Tab goes on as it does from the edit box: to the next cell with goTabs,
  // else to the window beside the grid.
  CloseSpecialEditor();
  if (Options().contains(goTabs)) {
    int tab = VK_TAB;
    KeyDown(tab, shift);
  } else {
    static_cast<TEditWindowHost&>(*this).EditorFocusNeighbour(!shift.contains(ssShift));
  }
}

void TCellGrid::SpecialEditorClicked() {
  if (!special_) return;
  const int dataCol = DisplayToDataColumn(specialCell_.X);
  const int row = specialCell_.Y;
  switch (special_->Kind()) {
    case TSpecialKind::Button:
      if (OnButtonClick) OnButtonClick(this, dataCol, row);
      break;
    case TSpecialKind::Unit: {
      std::string unit = special_->Unit();
      if (OnUnitClick) OnUnitClick(this, dataCol, row, unit);
      if (special_ && unit != special_->Unit())
        special_->Replace(JoinUnit({SplitUnit(Cells(dataCol, row)).Value, unit}));
      break;
    }
    default: {
      std::string text = Cells(dataCol, row);
      const std::string before = text;
      if (OnEllipsisClick) OnEllipsisClick(this, dataCol, row, text);
      if (special_ && text != before) special_->Replace(text);
      break;
    }
  }
}

}  // namespace kelvora
