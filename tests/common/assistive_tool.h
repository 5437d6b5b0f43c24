#pragma once

// A stand-in for a screen reader: while one lives, the program's notices
// come here, each kept as a line of text, "Focus 2,1"
// for a cell (column, row) and "RowsInserted 3..999" for a table change.

#include <QAccessible>

#include <string>
#include <vector>

#include "toolkit/assistive_tools.h"

namespace kelvora::testing {

class TAssistiveTool {
 public:
  TAssistiveTool() : standIn_([this](QAccessibleEvent& event) { notices_.push_back(Describe(&event)); }) {}
  TAssistiveTool(const TAssistiveTool&) = delete;
  TAssistiveTool& operator=(const TAssistiveTool&) = delete;

  // The notices heard so far that begin with `prefix`.
  std::vector<std::string> Heard(const std::string& prefix = "") const {
    std::vector<std::string> matching;
    for (const std::string& notice : notices_)
      if (notice.rfind(prefix, 0) == 0) matching.push_back(notice);
    return matching;
  }
  void Forget() { notices_.clear(); }

 private:
  static std::string Describe(QAccessibleEvent* event) {
    if (event->type() == QAccessible::TableModelChanged) return DescribeTableChange(event);
    std::string text;
    switch (event->type()) {
      case QAccessible::Focus: text = "Focus"; break;
      case QAccessible::ValueChanged: text = "Value"; break;
      case QAccessible::NameChanged: text = "Name"; break;
      case QAccessible::SelectionWithin: text = "Selection"; break;
      default: return "Other";
    }
    QAccessibleInterface* iface = event->accessibleInterface();
    if (QAccessibleTableCellInterface* cell = iface ? iface->tableCellInterface() : nullptr)
      text += " " + std::to_string(cell->columnIndex()) + "," + std::to_string(cell->rowIndex());
    return text;
  }

  static std::string DescribeTableChange(QAccessibleEvent* event) {
    const auto* change = static_cast<QAccessibleTableModelChangeEvent*>(event);
    const std::string rows = std::to_string(change->firstRow()) + ".." + std::to_string(change->lastRow());
    switch (change->modelChangeType()) {
      case QAccessibleTableModelChangeEvent::RowsInserted: return "RowsInserted " + rows;
      case QAccessibleTableModelChangeEvent::DataChanged: return "DataChanged " + rows;
      case QAccessibleTableModelChangeEvent::ModelReset: return "Reset";
      default: return "TableOther";
    }
  }

  std::vector<std::string> notices_;
  TAssistiveToolStandIn standIn_;
};

}  // namespace kelvora::testing
