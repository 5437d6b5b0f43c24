#include "toolkit/grid_base/grid_accessible.h"

#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <climits>

#include "toolkit/assistive_tools.h"
#include "toolkit/byte_text.h"
#include "toolkit/grid_base/custom_grid.h"

namespace kelvora {
namespace {

// A tool reading a grid asks for the cells around the focus; past this many
// remembered cells the oldest questions are not worth the memory.
constexpr std::size_t kMostRememberedCells = 16384;
// A tool that lists a selection of a million cells wants to know what is
// selected, not to receive a million objects: the list stops here, while
// the count stays exact.
constexpr int kMostListedCells = 4096;

std::int64_t CellKey(int col, int row) {
  return (static_cast<std::int64_t>(row) << 32) | static_cast<std::uint32_t>(col);
}

int ClampedProduct(int a, int b) {
  return static_cast<int>(std::min<std::int64_t>(std::int64_t{a} * b, INT_MAX));
}

QAccessibleInterface* GridFactory(const QString&, QObject* object) {
  if (auto* grid = qobject_cast<TCustomGrid*>(object)) return new TGridAccessible(grid);
  return nullptr;
}

}  // namespace

// --- The grid as a table -----------------------------------------------------

TGridAccessible::TGridAccessible(TCustomGrid* grid) : QAccessibleWidget(grid, QAccessible::Table) {
  grid->accessible_ = this;
}

TGridAccessible::~TGridAccessible() {
  ForgetCells();
  if (TCustomGrid* grid = Grid()) grid->accessible_ = nullptr;
}

void TGridAccessible::Install() {
  static const bool installed = [] {
    QAccessible::installFactory(GridFactory);
    FollowAssistiveTools();
    return true;
  }();
  (void)installed;
}

TCustomGrid* TGridAccessible::Grid() const { return static_cast<TCustomGrid*>(widget()); }

QAccessibleInterface* TGridAccessible::Cell(int col, int row) {
  const TCustomGrid* grid = Grid();
  if (col < 0 || row < 0 || col >= grid->ColCount() || row >= grid->RowCount()) return nullptr;
  const std::int64_t key = CellKey(col, row);
  if (const auto found = cells_.find(key); found != cells_.end())
    return QAccessible::accessibleInterface(found->second);
  if (cells_.size() >= kMostRememberedCells) ForgetCells();
  auto* cell = new TGridCellAccessible(Grid(), col, row);
  cells_.emplace(key, QAccessible::registerAccessibleInterface(cell));
  return cell;
}

void TGridAccessible::ForgetCells() {
  for (const auto& [key, id] : cells_) QAccessible::deleteAccessibleInterface(id);
  cells_.clear();
}

void* TGridAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

int TGridAccessible::childCount() const { return ClampedProduct(rowCount(), columnCount()); }

QAccessibleInterface* TGridAccessible::child(int index) const {
  const int cols = columnCount();
  if (index < 0 || cols == 0) return nullptr;
  return MutableCell(index % cols, index / cols);
}

int TGridAccessible::indexOfChild(const QAccessibleInterface* child) const {
  const auto* cell = dynamic_cast<const TGridCellAccessible*>(child);
  if (!cell || cell->parent() != this || !cell->isValid()) return -1;
  const std::int64_t index = std::int64_t{cell->Row()} * columnCount() + cell->Col();
  return index < INT_MAX ? static_cast<int>(index) : -1;
}

QAccessibleInterface* TGridAccessible::childAt(int x, int y) const {
  const QPoint local = Grid()->viewport()->mapFromGlobal(QPoint(x, y));
  int col = -1, row = -1;
  Grid()->MouseToCell(local.x(), local.y(), col, row);
  return col < 0 || row < 0 ? nullptr : MutableCell(col, row);
}

// While the edit window is open it is what has the keyboard; otherwise the
// current cell does.
QAccessibleInterface* TGridAccessible::focusChild() const {
  TCustomGrid* grid = Grid();
  if (!grid->GridHasFocus()) return nullptr;
  QWidget* focus = grid->window()->focusWidget();
  if (focus && focus != grid) return QAccessible::queryAccessibleInterface(focus);
  return MutableCell(grid->Col(), grid->Row());
}

QAccessibleInterface* TGridAccessible::cellAt(int row, int column) const { return MutableCell(column, row); }

int TGridAccessible::rowCount() const { return Grid()->RowCount(); }
int TGridAccessible::columnCount() const { return Grid()->ColCount(); }

int TGridAccessible::selectedCellCount() const {
  if (childCount() == 0) return 0;
  const TGridRect s = Grid()->Selection();
  return ClampedProduct(s.Right - s.Left + 1, s.Bottom - s.Top + 1);
}

QList<QAccessibleInterface*> TGridAccessible::selectedCells() const {
  QList<QAccessibleInterface*> cells;
  if (childCount() == 0) return cells;
  const TGridRect s = Grid()->Selection();
  for (int row = s.Top; row <= s.Bottom; ++row)
    for (int col = s.Left; col <= s.Right; ++col) {
      if (cells.size() >= kMostListedCells) return cells;
      cells.append(MutableCell(col, row));
    }
  return cells;
}

// A fixed row names the columns and a fixed column the rows, the way a
// person reads the grid.
QString TGridAccessible::columnDescription(int column) const {
  TCustomGrid* grid = Grid();
  if (grid->FixedRows() == 0 || column < 0 || column >= grid->ColCount()) return {};
  return DisplayText(grid->AccessibleCellText(column, 0));
}

QString TGridAccessible::rowDescription(int row) const {
  TCustomGrid* grid = Grid();
  if (grid->FixedCols() == 0 || row < 0 || row >= grid->RowCount()) return {};
  return DisplayText(grid->AccessibleCellText(0, row));
}

// A column counts as selected only when the selection runs through all its
// scrolling rows, and a row likewise.
bool TGridAccessible::WholeColumnsSelected() const {
  const TCustomGrid* grid = Grid();
  const TGridRect s = grid->Selection();
  return childCount() > 0 && s.Top <= grid->FixedRows() && s.Bottom == grid->RowCount() - 1;
}

bool TGridAccessible::WholeRowsSelected() const {
  const TCustomGrid* grid = Grid();
  const TGridRect s = grid->Selection();
  return childCount() > 0 && s.Left <= grid->FixedCols() && s.Right == grid->ColCount() - 1;
}

int TGridAccessible::selectedColumnCount() const {
  if (!WholeColumnsSelected()) return 0;
  const TGridRect s = Grid()->Selection();
  return s.Right - s.Left + 1;
}

int TGridAccessible::selectedRowCount() const {
  if (!WholeRowsSelected()) return 0;
  const TGridRect s = Grid()->Selection();
  return s.Bottom - s.Top + 1;
}

QList<int> TGridAccessible::selectedColumns() const {
  QList<int> columns;
  if (!WholeColumnsSelected()) return columns;
  const TGridRect s = Grid()->Selection();
  for (int col = s.Left; col <= s.Right && columns.size() < kMostListedCells; ++col) columns.append(col);
  return columns;
}

QList<int> TGridAccessible::selectedRows() const {
  QList<int> rows;
  if (!WholeRowsSelected()) return rows;
  const TGridRect s = Grid()->Selection();
  for (int row = s.Top; row <= s.Bottom && rows.size() < kMostListedCells; ++row) rows.append(row);
  return rows;
}

bool TGridAccessible::isColumnSelected(int column) const {
  const TGridRect s = Grid()->Selection();
  return WholeColumnsSelected() && column >= s.Left && column <= s.Right;
}

bool TGridAccessible::isRowSelected(int row) const {
  const TGridRect s = Grid()->Selection();
  return WholeRowsSelected() && row >= s.Top && row <= s.Bottom;
}

// The grid lets its cells go itself when its structure changes, whoever
// listens.
void TGridAccessible::modelChange(QAccessibleTableModelChangeEvent*) {}

// --- One cell ------------------------------------------------------------------

bool TGridCellAccessible::isValid() const {
  return grid_ && col_ < grid_->ColCount() && row_ < grid_->RowCount();
}

QWindow* TGridCellAccessible::window() const {
  return grid_ ? grid_->window()->windowHandle() : nullptr;
}

TGridAccessible* TGridCellAccessible::Table() const {
  if (!grid_) return nullptr;
  return dynamic_cast<TGridAccessible*>(QAccessible::queryAccessibleInterface(grid_.data()));
}

QAccessibleInterface* TGridCellAccessible::parent() const { return Table(); }

// The text is what the reader speaks; a tool asking for the value of an
// editable cell gets the same.
QString TGridCellAccessible::text(QAccessible::Text type) const {
  if (!isValid() || (type != QAccessible::Name && type != QAccessible::Value)) return {};
  return DisplayText(grid_->AccessibleCellText(col_, row_));
}

QRect TGridCellAccessible::rect() const {
  if (!isValid()) return {};
  const TRect r = grid_->CellRect(col_, row_);
  if (r.IsEmpty()) return {};
  return QRect(grid_->viewport()->mapToGlobal(QPoint(r.Left, r.Top)), QSize(r.Width(), r.Height()));
}

QAccessible::Role TGridCellAccessible::role() const {
  if (!isValid()) return QAccessible::Cell;
  if (row_ < grid_->FixedRows()) return QAccessible::ColumnHeader;
  if (col_ < grid_->FixedCols()) return QAccessible::RowHeader;
  return QAccessible::Cell;
}

QAccessible::State TGridCellAccessible::state() const {
  QAccessible::State state;
  if (!isValid()) {
    state.invalid = true;
    return state;
  }
  const bool fixed = col_ < grid_->FixedCols() || row_ < grid_->FixedRows();
  state.focusable = !fixed;
  state.selectable = !fixed;
  state.selected = isSelected();
  state.focused = col_ == grid_->Col() && row_ == grid_->Row() && grid_->GridHasFocus();
  state.editable = !fixed && grid_->Options().contains(goEditing);
  state.offscreen = grid_->CellRect(col_, row_).IsEmpty();
  state.invisible = state.offscreen;
  return state;
}

void* TGridCellAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TableCellInterface) return static_cast<QAccessibleTableCellInterface*>(this);
  return nullptr;
}

bool TGridCellAccessible::isSelected() const {
  if (!isValid() || col_ < grid_->FixedCols() || row_ < grid_->FixedRows()) return false;
  return grid_->Selection().Contains(col_, row_);
}

QList<QAccessibleInterface*> TGridCellAccessible::columnHeaderCells() const {
  QList<QAccessibleInterface*> headers;
  TGridAccessible* table = Table();
  if (!isValid() || !table || row_ < grid_->FixedRows()) return headers;
  for (int row = 0; row < grid_->FixedRows(); ++row) headers.append(table->Cell(col_, row));
  return headers;
}

QList<QAccessibleInterface*> TGridCellAccessible::rowHeaderCells() const {
  QList<QAccessibleInterface*> headers;
  TGridAccessible* table = Table();
  if (!isValid() || !table || col_ < grid_->FixedCols()) return headers;
  for (int col = 0; col < grid_->FixedCols(); ++col) headers.append(table->Cell(col, row_));
  return headers;
}

}  // namespace kelvora
