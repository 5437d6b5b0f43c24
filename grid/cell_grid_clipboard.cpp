// The clipboard shortcuts: the selection as tab-separated lines.
#include <cstdint>
#include <functional>
#include <string>

#include "grid/cell_grid.h"
#include "grid/render/cell_content.h"
#include "grid/render/strip_markup.h"
#include "grid/textio/tab_separated.h"
#include "toolkit/byte_text.h"
#include "toolkit/clipboard.h"
#include "toolkit/keys.h"

namespace kelvora {
namespace {

enum class TClipboardAction { None, Cut, Copy, Paste };

// Alt with Ctrl types characters on some keyboards, so no shortcut takes
// Alt. Ctrl+Shift+Delete is no cut: Shift+Delete cuts only on its own.
TClipboardAction ShortcutAction(int key, TShiftState shift) {
  if (shift.contains(ssAlt)) return TClipboardAction::None;
  const bool ctrl = shift.contains(ssCtrl);
  const bool withShift = shift.contains(ssShift);
  if (ctrl && key == 'X') return TClipboardAction::Cut;
  if (ctrl && (key == 'C' || key == VK_INSERT)) return TClipboardAction::Copy;
  if (ctrl && key == 'V') return TClipboardAction::Paste;
  if (withShift && key == VK_INSERT) return TClipboardAction::Paste;
  if (withShift && !ctrl && key == VK_DELETE) return TClipboardAction::Cut;
  return TClipboardAction::None;
}

bool Allowed(const std::function<void(TObject*, bool&)>& event, TObject* sender) {
  bool allow = true;
  if (event) event(sender, allow);
  return allow;
}

// The limit is that of the stored indexes: a paste never moves a cell past it.
[[noreturn]] void RaiseTooLarge(const char* things, const char* thing, std::int64_t needed, std::int64_t from) {
  throw ECellGridError("The clipboard holds " + std::to_string(needed) + " " + things + ", more than fit from " +
                       thing + " " + std::to_string(from) + " on: a grid holds at most " +
                       std::to_string(std::int64_t{TCellStore::kMaxIndex} + 1) + " " + things);
}

}  // namespace

// Cut and paste change cells, so they need a grid that may be edited; a
// copy is always allowed. The key is the shortcut's either way.
bool TCellGrid::ClipboardShortcut(int Key, TShiftState Shift) {
  if (!navigation_.AllowClipboardShortCuts) return false;
  const TClipboardAction action = ShortcutAction(Key, Shift);
  if (action == TClipboardAction::None) return false;
  const bool editable = Options().contains(goEditing);
  switch (action) {
    case TClipboardAction::Cut:
      if (editable && Allowed(OnClipboardCut, this)) CutSelectionToClipboard();
      break;
    case TClipboardAction::Copy:
      if (Allowed(OnClipboardCopy, this)) CopySelectionToClipboard();
      break;
    case TClipboardAction::Paste:
      if (editable && Allowed(OnClipboardPaste, this)) PasteFromClipboard();
      break;
    case TClipboardAction::None: break;
  }
  return true;
}

// --- Copy and cut ---------------------------------------------------------------------

// Rows are separated, not ended, by line breaks, so that one copied cell
// pastes into an edit box as its text alone.
std::string TCellGrid::SelectionAsText() {
  const TGridRect block = Selection();
  std::string out;
  if (block.Left > block.Right || block.Top > block.Bottom || RowCount() == 0 || ColCount() == 0) return out;
  // Usually every cell goes as stored, straight from the store.
  const bool asStored = !OnIsPasswordCell && navigation_.CopyHTMLTagsToClipboard;
  for (int row = block.Top; row <= block.Bottom; ++row) {
    if (row > block.Top) out += "\r\n";
    for (int col = block.Left; col <= block.Right; ++col) {
      if (col > block.Left) out += '\t';
      const int dataCol = DisplayToDataColumn(col);
      if (asStored) AppendTabField(out, CellText(dataCol, row));
      else AppendTabField(out, ClipboardCellText(dataCol, row));
    }
  }
  return out;
}

// What a person sees of the cell: mark-up without its tags unless the tags
// are wanted, and a password only as its mask.
std::string TCellGrid::ClipboardCellText(int dataCol, int row) {
  const std::string_view text = CellText(dataCol, row);
  bool password = false;
  if (OnIsPasswordCell) OnIsPasswordCell(this, row, dataCol, password);
  if (password) return std::string(static_cast<std::size_t>(DisplayText(text).toUcs4().size()), PasswordChar());
  if (!navigation_.CopyHTMLTagsToClipboard && CellContentKind(text, EnableHTML()) == ckMarkup)
    return StripMarkup(text);
  return std::string(text);
}

// A table of millions of cells as HTML is many times the size of its text
// and more than a spreadsheet takes in one paste, so a large selection goes
// as text alone, on the clipboard and in a drag.
bool TCellGrid::SelectionFitsHtml() const {
  constexpr std::int64_t kLargestHtmlCopy = 100'000;
  const TGridRect block = Selection();
  const std::int64_t cells = (std::int64_t{block.Right} - block.Left + 1) * (std::int64_t{block.Bottom} - block.Top + 1);
  return cells <= kLargestHtmlCopy;
}

void TCellGrid::CopySelectionToClipboard() {
  if (!SelectionFitsHtml()) return SetClipboardText(SelectionAsText());
  SetClipboardTextAndHtml(SelectionAsText(), SelectionAsHtml());
}

// Only what was copied is emptied: a password cell, copied as its mask,
// keeps its text.
void TCellGrid::CutSelectionToClipboard() {
  CopySelectionToClipboard();
  EraseSelectionForCut();
}

void TCellGrid::EraseSelectionForCut() {
  const TGridRect block = Selection();
  if (block.Left > block.Right || block.Top > block.Bottom || RowCount() == 0 || ColCount() == 0) return;
  if (hiddenColumnCount_ == 0 && !OnIsPasswordCell) {
    EraseCellRange(block.Left, block.Top, block.Right, block.Bottom);
    return;
  }
  for (int col = block.Left; col <= block.Right; ++col) {
    const int dataCol = DisplayToDataColumn(col);
    if (!OnIsPasswordCell) {
      EraseCellRange(dataCol, block.Top, dataCol, block.Bottom);
      continue;
    }
    for (int row = block.Top; row <= block.Bottom; ++row) {
      bool password = false;
      OnIsPasswordCell(this, row, dataCol, password);
      if (!password) SetCells(dataCol, row, {});
    }
  }
}

// --- Paste ------------------------------------------------------------------------------

void TCellGrid::PasteFromClipboard() {
  if (!ClipboardHasText()) return;
  PasteText(Col(), Row(), ClipboardText());
}

// The text is read twice, once for its size and once for its cells, so that
// even fifty megabytes of it are never held as a table of strings. Pasting
// goes into normal cells only, by displayed column: a hidden column is
// passed over as it is on the screen.
void TCellGrid::PasteText(int ACol, int ARow, std::string_view text) {
  const TGridRect normal = NormalCells();
  if (!normal.Contains(ACol, ARow)) return;
  const TTabShape shape = MeasureTabText(text);
  if (shape.Rows == 0) return;
  std::int64_t rows = std::int64_t{normal.Bottom} - ARow + 1;
  std::int64_t cols = std::int64_t{normal.Right} - ACol + 1;
  const bool growRows = shape.Rows > rows && navigation_.AllowClipboardRowGrow;
  const bool growCols = shape.Cols > cols && navigation_.AllowClipboardColGrow && fixedRightCols_ == 0;
  const std::int64_t limit = std::int64_t{TCellStore::kMaxIndex} + 1;
  if (growRows && std::int64_t{RowCount()} + (shape.Rows - rows) > limit) RaiseTooLarge("rows", "row", shape.Rows, ARow);
  if (growCols && std::int64_t{ColCount()} + hiddenColumnCount_ + (shape.Cols - cols) > limit)
    RaiseTooLarge("columns", "column", shape.Cols, ACol);
  if (growRows) AddNormalRows(static_cast<int>(shape.Rows - rows)), rows = shape.Rows;
  if (growCols) SetColCount(static_cast<int>(ColCount() + (shape.Cols - cols))), cols = shape.Cols;
  TTabReader reader(text);
  TTabField field;
  while (reader.Next(field) && field.Row < rows)
    if (field.Col < cols)
      SetCells(DisplayToDataColumn(static_cast<int>(ACol + field.Col)), static_cast<int>(ARow + field.Row), field.Text);
}

// New rows go in before the footer rows, which move down to stay last.
void TCellGrid::AddNormalRows(int count) {
  const int old = RowCount();
  SetRowCount(old + count);
  for (int i = fixedFooters_ - 1; i >= 0; --i) MoveRow(old - fixedFooters_ + i, old + count - fixedFooters_ + i);
}

}  // namespace kelvora
