#pragma once

#include <QAccessibleInterface>
#include <QAccessibleWidget>
#include <QPointer>

#include <cstdint>
#include <unordered_map>

namespace kelvora {

class TCustomGrid;

// What a screen reader sees of a grid. The grid draws itself by hand, so
// without this an assistive tool would find one blank widget; with it the
// grid is a table of cells with their texts, the current cell, the selection
// and header cells for the fixed rows and columns.
//
// Cells are addressed by displayed column and row. Their interfaces are made
// only when a tool asks for them and are kept, a bounded number, so that a
// tool gets the same one back for the same cell; a change of structure (rows
// moved, deleted or inserted, columns counted anew) lets them all go, as the
// cells they stood for may now be others.
class TGridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit TGridAccessible(TCustomGrid* grid);
  ~TGridAccessible() override;

  // Registers the factory with Qt, once; each grid asks for it as it is made.
  static void Install();

  // The cell's interface, made on first use; nullptr outside the grid.
  QAccessibleInterface* Cell(int col, int row);
  void ForgetCells();

  TCustomGrid* Grid() const;

  // QAccessibleInterface
  void* interface_cast(QAccessible::InterfaceType type) override;
  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;
  QAccessibleInterface* focusChild() const override;

  // QAccessibleTableInterface
  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override;
  int selectedCellCount() const override;
  QList<QAccessibleInterface*> selectedCells() const override;
  QString columnDescription(int column) const override;
  QString rowDescription(int row) const override;
  int selectedColumnCount() const override;
  int selectedRowCount() const override;
  QList<int> selectedColumns() const override;
  QList<int> selectedRows() const override;
  bool isColumnSelected(int column) const override;
  bool isRowSelected(int row) const override;
  // The grid's selection belongs to the person at the keyboard; a tool
  // moves it by moving the focus, as the person does.
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  int columnCount() const override;
  int rowCount() const override;
  void modelChange(QAccessibleTableModelChangeEvent* event) override;

 private:
  QAccessibleInterface* MutableCell(int col, int row) const {
    return const_cast<TGridAccessible*>(this)->Cell(col, row);
  }
  bool WholeColumnsSelected() const;
  bool WholeRowsSelected() const;

  std::unordered_map<std::int64_t, QAccessible::Id> cells_;
};

// One cell as a screen reader sees it: its text as the grid wants it spoken,
// its place, its header cells, and whether it is selected or current.
class TGridCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
 public:
  TGridCellAccessible(TCustomGrid* grid, int col, int row) : grid_(grid), col_(col), row_(row) {}

  int Col() const { return col_; }
  int Row() const { return row_; }

  // QAccessibleInterface
  bool isValid() const override;
  QObject* object() const override { return nullptr; }
  QWindow* window() const override;
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text type) const override;
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override;
  QAccessible::Role role() const override;
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override;

  // QAccessibleTableCellInterface
  bool isSelected() const override;
  QList<QAccessibleInterface*> columnHeaderCells() const override;
  QList<QAccessibleInterface*> rowHeaderCells() const override;
  int columnIndex() const override { return col_; }
  int rowIndex() const override { return row_; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }

 private:
  TGridAccessible* Table() const;

  QPointer<TCustomGrid> grid_;
  int col_;
  int row_;
};

}  // namespace kelvora
