// Hiding the normal rows that do not meet the filter, and showing them
// again. The store keeps the hidden rows after the footer rows:
//   [fixed rows][shown rows][footer rows][hidden rows]
// and the empty rows past the last stored one leave the count when they do
// not meet the filter.
#include <algorithm>
#include <string>

#include "grid/cell_grid.h"
#include "grid/sort/row_filter.h"
#include "grid/store_row_source.h"
#include "toolkit/free_memory.h"
#include "toolkit/screen_cursor.h"

namespace kelvora {
void TCellGrid::ApplyFilter() {
  CheckFilterColumns();
  if (!ReadyToSort()) return;
  if (filtered_.Active) ClearFilter();
  const TCursorGuard hourglass(crHourGlass);
  const TSortRange range = SortRange();
  const std::vector<bool> matching =
      MatchingRows(TStoreRowSource(store_, range.First, range.Count), filter_.Conditions);
  const bool emptyMatches = EmptyRowMatches(filter_.Conditions);
  // The grid base keeps a fixed row only above a row that scrolls, so a
  // filter that would leave none is refused rather than unfix the header.
  const bool trailing = std::int64_t{RowCount()} - fixedFooters_ - range.First - range.Count > 0;
  const bool anyShown = std::find(matching.begin(), matching.end(), true) != matching.end() || (emptyMatches && trailing);
  if (!anyShown && range.First > 0 && fixedFooters_ == 0)
    throw ECellGridError("No row meets the filter, so no row is hidden");
  HideRows(range, matching, emptyMatches);
  ReturnFreedMemory();
}

void TCellGrid::CheckFilterColumns() const {
  const std::int64_t lastCol = std::int64_t{ColCount()} - 1 + hiddenColumnCount_;
  for (const TFilterCondition& condition : filter_.Conditions) {
    if (condition.Col < 0 || condition.Col > lastCol)
      throw ECellGridError("Cannot filter by column " + std::to_string(condition.Col) +
                           ": the grid's columns count from 0 to " + std::to_string(lastCol));
  }
}

// The matching rows close up in their order, the others follow them and
// then move past the footer rows.
void TCellGrid::HideRows(const TSortRange& range, const std::vector<bool>& matching, bool emptyMatches) {
  const int first = range.First;
  const std::int64_t stored = range.Count;
  const std::int64_t trailing = std::int64_t{RowCount()} - fixedFooters_ - first - stored;
  // One pass: the others fill the table from its end and are turned round.
  std::vector<std::uint32_t> order(matching.size());
  std::size_t kept = 0, others = order.size();
  for (std::uint32_t place = 0; place < matching.size(); ++place) order[matching[place] ? kept++ : --others] = place;
  std::reverse(order.begin() + static_cast<std::ptrdiff_t>(kept), order.end());
  const auto shown = static_cast<std::int64_t>(kept);
  const std::int64_t hidden = stored - shown;
  const std::int64_t shownEmpty = emptyMatches ? trailing : 0;
  const int current = Row();

  ++rowChanges_;
  if (!order.empty()) store_.PermuteRows(first, order);
  store_.RemoveRows(static_cast<int>(first + stored), static_cast<int>(trailing));
  // The same count of rows left the store just above, so it takes them.
  if (shownEmpty > 0) static_cast<void>(store_.InsertRows(static_cast<int>(first + shown), static_cast<int>(shownEmpty)));
  const int footersAt = static_cast<int>(first + shown + shownEmpty);
  for (int k = 0; k < fixedFooters_; ++k) store_.MoveRow(static_cast<int>(footersAt + hidden + k), footersAt + k);

  // Where the current row went.
  int row = current;
  if (current >= first && current < first + stored) {
    const auto place = std::find(order.begin(), order.end(), static_cast<std::uint32_t>(current - first)) - order.begin();
    row = place < shown ? first + static_cast<int>(place) : first;
  } else if (current >= first + stored && current < first + stored + trailing) {
    row = emptyMatches ? static_cast<int>(current - stored + shown) : first;
  } else if (current >= first + stored + trailing) {
    row = static_cast<int>(current - stored - trailing + shown + shownEmpty);
  }
  if (!order.empty()) fileOrder_.Reordered(std::move(order));
  filtered_ = {true, hidden, trailing - shownEmpty, shownEmpty, shown};
  session_.ForgetCells();
  ClearRowSelect();
  TCustomGrid::SetRowCount(footersAt + fixedFooters_);
  if (row < RowCount() && row >= 0) SetSelection({Col(), row, Col(), row});
  InvalidateGrid();
}

// The hidden rows come back between the shown rows that were stored when
// the filter was applied and the rest, so that their file order lines up.
void TCellGrid::ClearFilter() {
  if (!filtered_.Active) return;
  if (EditorMode()) HideEditor();
  const int first = FixedRows();
  const TFilterState state = filtered_;
  const std::int64_t shown = std::int64_t{RowCount()} - fixedFooters_ - first;
  const std::int64_t ranked = std::min(state.Ranked, shown);
  const std::int64_t unranked = shown - ranked;
  const std::int64_t hidden = state.HiddenStored;
  ++rowChanges_;
  for (int k = 0; k < fixedFooters_; ++k)
    store_.MoveRow(static_cast<int>(first + shown), static_cast<int>(first + shown + hidden + fixedFooters_ - 1));
  if (unranked > 0 && hidden > 0) {
    std::vector<std::uint32_t> rotation(static_cast<std::size_t>(unranked + hidden));
    for (std::size_t place = 0; place < rotation.size(); ++place)
      rotation[place] = static_cast<std::uint32_t>((place + unranked) % rotation.size());
    store_.PermuteRows(static_cast<int>(first + ranked), rotation);
  }
  // These rows left the store when the filter was applied.
  static_cast<void>(store_.InsertRows(static_cast<int>(first + shown + hidden), static_cast<int>(state.HiddenEmpty)));
  filtered_ = {};
  const int current = Row();
  TCustomGrid::SetRowCount(static_cast<int>(std::int64_t{RowCount()} + hidden + state.HiddenEmpty));
  if (current >= first + ranked) {
    const std::int64_t moved = current + hidden + (current >= first + shown ? state.HiddenEmpty : 0);
    const int row = static_cast<int>(std::min<std::int64_t>(moved, RowCount() - 1));
    SetSelection({Col(), row, Col(), row});
  }
  if (!sortKeys_.empty()) Sort();
  else RestoreFileOrder();
  InvalidateGrid();
}

// While rows are hidden only the shown rows that were ranked when the
// filter was applied have their place in the file order next to them.
void TCellGrid::NoteRowsDeleted(int ARow, int ACount) {
  const std::int64_t place = std::int64_t{ARow} - FixedRows();
  if (!filtered_.Active) return fileOrder_.RowsDeleted(place, ACount);
  const std::int64_t end = std::min<std::int64_t>(place + ACount, filtered_.Ranked);
  if (end <= place) return;
  fileOrder_.RowsDeleted(place, end - place);
  filtered_.Ranked -= end - place;
}

void TCellGrid::NoteRowsInserted(int ARow, int ACount) {
  const std::int64_t place = std::int64_t{ARow} - FixedRows();
  if (!filtered_.Active) return fileOrder_.RowsInserted(place, ACount);
  if (place > filtered_.Ranked) return;
  fileOrder_.RowsInserted(place, ACount);
  filtered_.Ranked += ACount;
}

}  // namespace kelvora
