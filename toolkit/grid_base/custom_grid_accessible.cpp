// The grid's notices to assistive tools: the focus on the current cell,
// selection, cell and structure changes. A filling command writes a million
// cells, so each notice first asks whether any tool listens at all.
#include <QAccessible>
#include <QMetaObject>

#include <algorithm>

#include "toolkit/assistive_tools.h"
#include "toolkit/grid_base/custom_grid.h"
#include "toolkit/grid_base/grid_accessible.h"

namespace kelvora {
namespace {

TGridAccessible* TableOf(TCustomGrid* grid) {
  return dynamic_cast<TGridAccessible*>(QAccessible::queryAccessibleInterface(grid));
}

void Tell(QAccessibleEvent&& event) { TellAssistiveTools(event); }

}  // namespace

// Tools may still ask while the widget's last parts go; from here on they
// meet a plain widget, not a grid whose members are gone.
void TCustomGrid::ReleaseAccessible() {
  if (accessible_) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(accessible_));
}

std::string TCustomGrid::AccessibleCellText(int ACol, int ARow) { return GetEditText(ACol, ARow); }

// Only cells in view are told: a reader presents only those, and asks for
// the others' texts when it gets there.
void TCustomGrid::AccessibleCellChanged(int ACol, int ARow) {
  if (!AccessibilityActive() || CellRect(ACol, ARow).IsEmpty()) return;
  TGridAccessible* table = TableOf(this);
  QAccessibleInterface* cell = table ? table->Cell(ACol, ARow) : nullptr;
  if (!cell) return;
  Tell(QAccessibleValueChangeEvent(cell, cell->text(QAccessible::Value)));
  Tell(QAccessibleEvent(cell, QAccessible::NameChanged));
}

void TCustomGrid::AccessibleRowsChanged(int first, int last) {
  if (!AccessibilityActive() || RowCount() == 0 || ColCount() == 0) return;
  QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::DataChanged);
  event.setFirstRow(std::max(first, 0));
  event.setLastRow(std::min(last, RowCount() - 1));
  event.setFirstColumn(0);
  event.setLastColumn(ColCount() - 1);
  TellAssistiveTools(event);
}

void TCustomGrid::AccessibleSelectionMoved(const TGridRect& oldSelection, TGridCoord oldCurrent) {
  if (!AccessibilityActive()) return;
  if (Selection() != oldSelection) Tell(QAccessibleEvent(this, QAccessible::SelectionWithin));
  if (current_ != oldCurrent) AccessibleFocusMoved();
}

// Qt tells the tool about the grid itself after the focus has come in, so
// the current cell is told once that is done.
void TCustomGrid::AccessibleFocusEntered() {
  if (!AccessibilityActive()) return;
  QMetaObject::invokeMethod(this, [this] { AccessibleFocusMoved(); }, Qt::QueuedConnection);
}

// While the edit window is open it holds the focus, and Qt speaks for it.
void TCustomGrid::AccessibleFocusMoved() {
  if (!GridHasFocus() || EditorShowing() || ColCount() == 0 || RowCount() == 0) return;
  TGridAccessible* table = TableOf(this);
  if (QAccessibleInterface* cell = table ? table->Cell(current_.X, current_.Y) : nullptr)
    Tell(QAccessibleEvent(cell, QAccessible::Focus));
}

// The cells a tool was given may now stand for other cells, whether or not
// a tool listens just now.
void TCustomGrid::AccessibleStructureChanged() {
  accessibleRowsFrom_ = -1;
  if (accessible_) accessible_->ForgetCells();
  if (!AccessibilityActive()) return;
  Tell(QAccessibleTableModelChangeEvent(this, QAccessibleTableModelChangeEvent::ModelReset));
}

// A grid filled row by row appends a million rows in one command; the tool
// hears of them once, after it.
void TCustomGrid::AccessibleRowsAppended(int oldCount) {
  if (!AccessibilityActive() || accessibleRowsFrom_ >= 0) return;
  accessibleRowsFrom_ = oldCount;
  QMetaObject::invokeMethod(this, [this] { FlushAccessibleRows(); }, Qt::QueuedConnection);
}

void TCustomGrid::FlushAccessibleRows() {
  const int first = accessibleRowsFrom_;
  accessibleRowsFrom_ = -1;
  if (first < 0 || first >= RowCount() || !AccessibilityActive()) return;
  QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::RowsInserted);
  event.setFirstRow(first);
  event.setLastRow(RowCount() - 1);
  event.setFirstColumn(0);
  event.setLastColumn(std::max(ColCount() - 1, 0));
  TellAssistiveTools(event);
}

}  // namespace kelvora
