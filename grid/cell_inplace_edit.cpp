#include "grid/cell_inplace_edit.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QString>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "grid/cell_grid.h"
#include "grid/edit/edit_box_rules.h"
#include "toolkit/byte_text.h"
#include "toolkit/clipboard.h"
#include "toolkit/keys.h"

namespace kelvora {
namespace {

constexpr int kLargestLengthLimit = 0xFFFF;  // the limit is a 16-bit count

bool Allowed(const std::function<void(TObject*, bool&)>& event, TObject* sender) {
  bool allow = true;
  if (event) event(sender, allow);
  return allow;
}

std::string Utf8Of(char32_t ch) { return StoredText(QString::fromUcs4(&ch, 1)); }

unsigned char LowerAscii(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; }

// Only a few letters beyond ASCII fold onto ASCII ones (the Kelvin sign, the
// long s, the dotted capital I).
bool MayFoldOntoAscii(unsigned char ascii) {
  const unsigned char c = LowerAscii(ascii);
  return c == 'k' || c == 's' || c == 'i';
}

enum class TPrefix { No, Yes, Unsure };

// Whether typed begins item, ignoring case, decided on the bytes wherever it
// can be: a list of a hundred thousand items is run through on every
// keystroke. What the bytes cannot tell is left to the display rule.
TPrefix AsciiPrefix(std::string_view typed, std::string_view item) {
  bool beyondAscii = false;
  for (std::size_t i = 0; i < typed.size(); ++i) {
    const auto a = static_cast<unsigned char>(typed[i]);
    if (i >= item.size()) return a < 0x80 && !beyondAscii ? TPrefix::No : TPrefix::Unsure;
    const auto b = static_cast<unsigned char>(item[i]);
    if (a >= 0x80 && b >= 0x80) {
      if (a != b) return TPrefix::Unsure;
      beyondAscii = true;
    } else if (a >= 0x80 || b >= 0x80) {
      return beyondAscii || MayFoldOntoAscii(a < 0x80 ? a : b) ? TPrefix::Unsure : TPrefix::No;
    } else if (LowerAscii(a) != LowerAscii(b)) {
      return beyondAscii ? TPrefix::Unsure : TPrefix::No;
    }
  }
  // The same bytes are the same letters only when both read as UTF-8.
  return beyondAscii && !IsValidUtf8(item) ? TPrefix::Unsure : TPrefix::Yes;
}

// The first item that the typed text begins, ignoring case, and that the
// length limit leaves room for; nullptr when none does.
const std::string* FirstCompletion(const std::vector<std::string>& items, const std::string& typed, int limit) {
  std::optional<QString> shown;  // the typed text as the display rule reads it, once needed
  for (const std::string& item : items) {
    TPrefix prefix = AsciiPrefix(typed, item);
    if (prefix == TPrefix::Unsure) {
      if (!shown) shown = DisplayText(typed);
      prefix = DisplayText(item).startsWith(*shown, Qt::CaseInsensitive) ? TPrefix::Yes : TPrefix::No;
    }
    if (prefix == TPrefix::Yes && (limit == 0 || CodePointCount(item) <= limit)) return &item;
  }
  return nullptr;
}

}  // namespace

TCellInplaceEdit::TCellInplaceEdit(TCellGrid* grid) : TInplaceEdit(grid), grid_(grid) {}

// --- The window -------------------------------------------------------------------

void TCellInplaceEdit::Prepare(bool rightAligned, bool wordWrap, TEditorType kind) {
  const bool reshape = rightAligned != rightAligned_ || wordWrap != wordWrap_;
  rightAligned_ = rightAligned;
  wordWrap_ = wordWrap;
  kind_ = kind;
  // The grid's password character is one byte, read as Latin-1 (the
  // printable part of Windows-1252).
  const char32_t mask =
      kind == ekPassword ? static_cast<char32_t>(static_cast<unsigned char>(grid_->PasswordChar())) : 0;
  if (mask != PasswordChar()) SetPasswordChar(mask);  // builds the window anew, flags and all
  else if (reshape && Control()) RecreateWnd();
}

void TCellInplaceEdit::CreateParams(TEditParams& params) {
  params.RightAligned = rightAligned_;
  params.WordWrap = wordWrap_;
}

// The limit is the grid's when the first window is made; one set on the box
// itself stays.
void TCellInplaceEdit::CreateWnd() {
  if (MaxLength() == 0) SetMaxLength(std::clamp(grid_->MaxEditLength(), 0, kLargestLengthLimit));
  TInplaceEdit::CreateWnd();
}

std::string TCellInplaceEdit::CurrentCellText() const {
  return grid_->Cells(grid_->DisplayToDataColumn(grid_->Col()), grid_->Row());
}

void TCellInplaceEdit::ReloadCellText(bool selectAll) {
  LoadText(CurrentCellText());
  if (selectAll) SelectAll();
  else Deselect();
}

// A box that loads a cell starts a new edit: the key that opened it was no
// Backspace of the box's own.
void TCellInplaceEdit::UpdateContents() {
  autoComplete_ = true;
  TInplaceEdit::UpdateContents();
}

// The click is handed on to the control, which puts the caret where a click
// inside it would: by the character under the mouse.
void TCellInplaceEdit::PlaceCaretAt(TPoint globalAt) {
  QWidget* control = Control();
  if (!control) return;
  const QPoint global(globalAt.X, globalAt.Y);
  const QPoint inside = control->mapFromGlobal(global);
  if (!control->rect().contains(inside)) return;
  QWidget* target = control->childAt(inside);  // a scrolling control's viewport takes its clicks
  if (!target) target = control;
  // The click was aimed at the cell's text as painted, from its start.
  SetSelStart(0);
  const QPointF local = target->mapFromGlobal(QPointF(global));
  QMouseEvent press(QEvent::MouseButtonPress, local, QPointF(global), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, local, QPointF(global), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QCoreApplication::sendEvent(target, &release);
}

// Every change reaches the cell first; then the cell may grow to show it.
// A password box shows its mask, never the text, so it grows nothing.
void TCellInplaceEdit::Change() {
  TInplaceEdit::Change();
  if (kind_ != ekPassword) grid_->GrowToTypedText();
}

// --- Keys --------------------------------------------------------------------------

void TCellInplaceEdit::KeyDown(int& Key, TShiftState Shift) {
  keyShift_ = Shift;
  autoComplete_ = Key != VK_BACK && Key != VK_DELETE;
  if (KeepsKey(Key, Shift)) return;
  if (WalksToNeighbour(Key, Shift)) {
    grid_->AdvanceCell(grid_->Col(), grid_->Row(), Key == VK_RIGHT, true, true);
    Key = 0;
    return;
  }
  TInplaceEdit::KeyDown(Key, Shift);
}

// Up and Down move between the lines of the text before they move between
// cells, and an Enter that types a line break is the box's own.
bool TCellInplaceEdit::KeepsKey(int key, TShiftState shift) const {
  switch (key) {
    case VK_UP: return !CaretOnFirstLine();
    case VK_DOWN: return !CaretOnLastLine();
    case VK_RETURN: return EnterTypesLineBreak(shift);
    default: return false;
  }
}

bool TCellInplaceEdit::WalksToNeighbour(int key, TShiftState shift) const {
  if (!grid_->Navigation().CursorWalkEditor || shift.contains(ssShift)) return false;
  return (key == VK_LEFT && AtStart()) || (key == VK_RIGHT && AtEnd());
}

bool TCellInplaceEdit::EnterTypesLineBreak(TShiftState shift) const {
  return MultiLine() && grid_->Navigation().LineFeedOnEnter && !shift.contains(ssCtrl);
}

// The box sees a character before the grid does: it drops what the length
// limit or the editor kind refuses, and it commits on Enter.
void TCellInplaceEdit::KeyPress(char32_t& Key) {
  if (Refused(Key)) {
    Key = 0;
    return;
  }
  if (Key == 13) {
    if (EnterTypesLineBreak(keyShift_)) return;
    if (!CommitOnEnter()) {
      Key = 0;
      return;
    }
  }
  if (Key >= 32) Key = KindTypedChar(kind_, Key);
  TInplaceEdit::KeyPress(Key);  // the grid's turn
  if (Key >= 32 && kind_ == ekCapitalised) {
    TypeCapitalised(Key);
    Key = 0;
  } else if (Key >= 32 && CompletesTyping()) {
    TypeCompleted(Key);
    Key = 0;
  }
}

bool TCellInplaceEdit::Refused(char32_t ch) const {
  const bool enterTypes = ch == 13 && EnterTypesLineBreak(keyShift_);
  if (MaxLength() > 0 && DroppedAtLimit(ch, MaxLength(), CodePointCount(Text()), SelLength(), enterTypes,
                                        grid_->Navigation().AdvanceOnEnter))
    return true;
  if (ch < 32 || !IsNumericKind(kind_)) return false;
  const std::string resulting = ReplaceRange(Text(), SelStart(), SelLength(), Utf8Of(ch));
  return !KindTakesTyped(kind_, QString::fromStdString(resulting));
}

// An invalid edit keeps the box open on what the cell holds now: the
// handler's replacement or the text from before the edit.
bool TCellInplaceEdit::CommitOnEnter() {
  if (grid_->CommitCellEdit()) return true;
  ReloadCellText(true);
  return false;
}

void TCellInplaceEdit::TypeCapitalised(char32_t ch) {
  SetSelText(Utf8Of(ch));
  const std::string text = Text();
  const std::string capitalised = StoredText(Capitalised(QString::fromStdString(text)));
  if (capitalised == text) return;
  const int caret = SelStart();
  SetText(capitalised);
  SetSelStart(caret);
}

bool TCellInplaceEdit::CompletesTyping() const {
  return grid_->Lookup() && kind_ == ekText && autoComplete_ && !grid_->LookupItems().empty();
}

// The character is typed, and when the text then ends at the caret and
// begins an item, the box shows the item with the part not typed selected:
// the next character replaces that part, Enter takes the item. The item is
// written to the cell as any change is. Typing a character never passes
// the length limit, which has dropped it already when the box is full.
void TCellInplaceEdit::TypeCompleted(char32_t ch) {
  SetSelText(Utf8Of(ch));
  if (SelLength() != 0 || !AtEnd()) return;
  const std::string typed = Text();
  const std::string* item = FirstCompletion(grid_->LookupItems(), typed, MaxLength());
  if (!item) return;
  const int kept = CodePointCount(typed);
  if (*item != typed) SetText(*item);
  SetSelStart(kept);
  SetSelLength(CodePointCount(*item) - kept);
}

// --- Clipboard ---------------------------------------------------------------------

// The clipboard text goes in whole or not at all: the limit weighs the
// clipboard text alone, not the text it makes.
void TCellInplaceEdit::Paste() {
  if (!ClipboardHasText()) return;
  const std::string clip = EditBoxForm(ClipboardText(), MultiLine());
  if (!PasteAllowed(clip)) return;
  const int start = SelStart();
  const int selected = SelLength();
  if (KindShapesPaste(kind_)) {
    const std::string resulting = ReplaceRange(Text(), start, selected, clip);
    const std::optional<std::string> shaped = KindPastedText(kind_, resulting);
    if (!shaped) return;
    if (*shaped == resulting) SetSelText(clip);
    else SetText(*shaped);
  } else {
    SetSelText(clip);
  }
  const int pasted = CodePointCount(clip);
  SetSelStart(selected > 0 ? start : start + pasted);
  if (selected > 0) SetSelLength(pasted);
}

bool TCellInplaceEdit::PasteAllowed(const std::string& clip) {
  if (MaxLength() > 0 && CodePointCount(clip) > MaxLength()) return false;
  return Allowed(grid_->OnClipboardPaste, this);
}

void TCellInplaceEdit::Cut() {
  if (Allowed(grid_->OnClipboardCut, this)) TInplaceEdit::Cut();
}

void TCellInplaceEdit::Copy() {
  if (Allowed(grid_->OnClipboardCopy, this)) TInplaceEdit::Copy();
}

// --- Focus --------------------------------------------------------------------------

void TCellInplaceEdit::DoEnter() {
  TInplaceEdit::DoEnter();
  ApplyFocusColours();
  grid_->EditBoxFocused();
}

// Leaving the box commits the edit; the box then shows what the cell holds,
// which validation may have changed.
void TCellInplaceEdit::DoExit() {
  if (grid_->LookupHistory()) AddToLookupHistory();
  TInplaceEdit::DoExit();
  const std::string before = CurrentCellText();
  grid_->CommitCellEdit();
  const std::string after = CurrentCellText();
  if (after != before) LoadText(after);
}

// The box takes the colours the grid paints its current cell with.
void TCellInplaceEdit::ApplyFocusColours() {
  TBrush brush;
  brush.Color = grid_->Color();
  TFont font = grid_->Font();
  grid_->ApplyCellColours(grid_->DisplayToDataColumn(grid_->Col()), grid_->Row(),
                          TGridDrawState{gdSelected, gdFocused}, brush, font);
  SetEditColors(brush.Color == clNone ? grid_->Color() : brush.Color,
                font.Color == clNone ? grid_->Font().Color : font.Color);
}

void TCellInplaceEdit::AddToLookupHistory() {
  std::vector<std::string>& items = grid_->LookupItems();
  std::string text = Text();
  if (std::find(items.begin(), items.end(), text) == items.end()) items.push_back(std::move(text));
}

}  // namespace kelvora
