#pragma once

#include <string>

#include "grid/cell_grid_events.h"
#include "toolkit/editors/inplace_edit.h"

namespace kelvora {

class TCellGrid;

// The cell grid's in-place edit box. On top of the toolkit's edit window it
// keeps the grid's length limit, aligns to the cell, follows the editor kind
// the grid chose (numeric and case rules, the password box), commits the
// edit on Enter and when it loses the focus, asks the grid's clipboard
// events, keeps Up and Down while they move inside its text, completes
// typing from the grid's LookupItems and lets the grid grow the cell with
// what is typed.
class TCellInplaceEdit : public TInplaceEdit {
 public:
  explicit TCellInplaceEdit(TCellGrid* grid);

  TCellGrid* CellGrid() const { return grid_; }

  // Set each time the box is about to load a cell. A change of alignment,
  // wrapping or to or from the password kind re-creates the window.
  void Prepare(bool rightAligned, bool wordWrap, TEditorType kind);
  bool RightAligned() const { return rightAligned_; }
  bool WordWrap() const { return wordWrap_; }
  TEditorType Kind() const { return kind_; }
  // Lookup may complete the text after this key (not after Backspace or
  // Delete).
  bool AutoCompleteAllowed() const { return autoComplete_; }

  // Shows the current cell's stored text again, without writing it back.
  void ReloadCellText(bool selectAll);
  // The caret where a click at that point of the screen puts it.
  void PlaceCaretAt(TPoint globalAt);

 protected:
  void CreateParams(TEditParams& params) override;
  void CreateWnd() override;
  void KeyDown(int& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void Paste() override;
  void Cut() override;
  void Copy() override;
  void DoEnter() override;
  void DoExit() override;
  void Change() override;
  void UpdateContents() override;

 private:
  bool KeepsKey(int key, TShiftState shift) const;
  bool WalksToNeighbour(int key, TShiftState shift) const;
  bool EnterTypesLineBreak(TShiftState shift) const;
  bool Refused(char32_t ch) const;
  bool CommitOnEnter();
  void TypeCapitalised(char32_t ch);
  bool CompletesTyping() const;
  void TypeCompleted(char32_t ch);
  bool PasteAllowed(const std::string& clip);
  void ApplyFocusColours();
  void AddToLookupHistory();
  std::string CurrentCellText() const;

  TCellGrid* grid_;
  bool rightAligned_ = false;
  bool wordWrap_ = false;
  TEditorType kind_ = 0;
  bool autoComplete_ = true;
  TShiftState keyShift_;  // of the key whose character comes next
};

}  // namespace kelvora
