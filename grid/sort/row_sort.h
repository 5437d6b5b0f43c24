#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "grid/sort/sort_keys.h"

namespace kelvora {

// The order of the source's rows sorted by the keys, the first key first:
// element i is the row that goes to place i. The sort is stable, so rows
// equal on every key keep the order they had. Empty cells go last whatever
// the direction. With autoFormat each column is read as the kind most of
// its cells hold (sort_value.h); without it every cell is text. Text
// compares without regard to letter case.
std::vector<std::uint32_t> SortedRowOrder(const TRowSource& source, std::span<const TSortKey> keys, bool autoFormat);

}  // namespace kelvora
