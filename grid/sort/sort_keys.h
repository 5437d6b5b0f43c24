#pragma once

#include <string_view>

namespace kelvora {

enum TSortDirection { sdAscending, sdDescending };

// One column to sort by (a stored column) and its direction.
struct TSortKey {
  int Col = 0;
  TSortDirection Direction = sdAscending;
  bool operator==(const TSortKey&) const = default;
};

// The rows a sort or a filter reads: rows count from 0 inside the range
// the caller hands over. A view must stay valid while the sort runs.
class TRowSource {
 public:
  virtual ~TRowSource() = default;
  virtual int RowCount() const = 0;
  virtual std::string_view Text(int col, int row) const = 0;
};

}  // namespace kelvora
