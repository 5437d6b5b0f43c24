#pragma once

#include <string_view>

#include "grid/sort/sort_keys.h"
#include "grid/store/cell_store.h"

namespace kelvora {

// A range of the store's rows, as a sort or a filter reads them.
class TStoreRowSource : public TRowSource {
 public:
  TStoreRowSource(const TCellStore& store, int first, int count) : store_(store), first_(first), count_(count) {}
  int RowCount() const override { return count_; }
  std::string_view Text(int col, int row) const override { return store_.TextView(col, first_ + row); }

 private:
  const TCellStore& store_;
  int first_;
  int count_;
};

}  // namespace kelvora
