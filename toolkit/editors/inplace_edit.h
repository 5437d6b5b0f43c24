#pragma once

#include <QString>
#include <QWidget>

#include <string>

#include "toolkit/color.h"
#include "toolkit/editors/edit_window_host.h"
#include "toolkit/geometry.h"
#include "toolkit/grid_types.h"

class QKeyEvent;

namespace kelvora {

class TCustomGrid;
class TEditControl;

// The in-place edit window a grid lays over its current cell. It is
// multi-line (Enter types a line break when the grid lets the key through),
// frameless and without scroll bars; with a password character it is a
// single-line box that shows only that character.
//
// Texts are byte strings like cells: the window shows them by the display
// rule and gives back what was typed as UTF-8, line breaks as CR LF.
// Positions and lengths count characters of that text, a line break as two.
// Every change, whether typed, pasted or set here, is written to the grid's
// cell at once through the grid's SetEditText.
//
// A grid's own edit class derives from it: the key, clipboard, focus and
// creation steps are virtual.
class TInplaceEdit : public QWidget {
 public:
  explicit TInplaceEdit(TCustomGrid* grid);
  ~TInplaceEdit() override;

  TCustomGrid* Grid() const { return grid_; }

  std::string Text() const;
  void SetText(const std::string& text);
  int SelStart() const;
  void SetSelStart(int start);  // puts the caret there, nothing selected
  int SelLength() const;
  void SetSelLength(int length);  // from SelStart on
  std::string SelText() const;
  void SetSelText(const std::string& text);  // replaces the selection, caret after it
  void SelectAll();
  void Deselect();  // caret at the end, nothing selected
  bool CaretOnFirstLine() const;
  bool CaretOnLastLine() const;

  // 0 for the multi-line box; any other character makes the password box.
  char32_t PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char32_t ch);
  bool MultiLine() const { return passwordChar_ == 0; }
  // The most characters typing and pasting may leave in the box; 0 for no
  // limit. Text set by the program is not cut.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int length);  // clamped at 0

  // The box starts in the grid's font and colours; a grid that colours its
  // cells itself gives the box the current cell's colours.
  void SetEditColors(TColor background, TColor text);

  // The edit control inside, which holds the focus and receives the keys.
  QWidget* Control() const;
  void Move(const TRect& rect);

  // What the grid calls: the window made, its look and its text taken from
  // the grid, and a character the grid hands over as if it were typed here.
  void HandleNeeded();
  void ApplyGridLook();
  void LoadFromGrid() { UpdateContents(); }
  void DeliverChar(char32_t ch);

 protected:
  struct TEditParams {
    bool RightAligned = false;
    bool WordWrap = false;
  };
  // Asked each time the window is created.
  virtual void CreateParams(TEditParams& params);
  // Creates the edit control; the base builds it from CreateParams and the
  // password character.
  virtual void CreateWnd();
  // Builds the window anew, keeping text and selection (after a change of
  // what CreateParams answers).
  void RecreateWnd();

  // A key on its way in: KeyDown, then for a key that types a character
  // KeyPress, then the box's own handling unless a step cleared the key.
  // The base sends the keys a grid moves with (Up, Down, Page Up/Down,
  // Enter, Escape, Tab with goTabs) to the grid and keeps the rest.
  virtual void KeyDown(int& Key, TShiftState Shift);
  virtual void KeyUp(int& Key, TShiftState Shift);
  virtual void KeyPress(char32_t& Key);  // the grid sees the character first
  virtual void Paste();  // Ctrl+V, Shift+Insert and the menu
  virtual void Cut();
  virtual void Copy();
  virtual void DoEnter();  // the box got the focus
  virtual void DoExit();   // the box lost it
  // After every change of the text; the base writes it to the grid's cell.
  virtual void Change();
  // Loads the text of the grid's current cell, in the grid's font and colour.
  virtual void UpdateContents();

  // The grid's own handlers, for keys the box passes on.
  void GridKeyDown(int& Key, TShiftState Shift);
  void GridKeyUp(int& Key, TShiftState Shift);
  void GridKeyPress(char32_t& Key);
  // GridKeyDown, then the key is done.
  void SendToGrid(int& Key, TShiftState Shift);

  // Shows a text without writing it to the grid's cell, so that a cell's
  // bytes stay as they are until the user changes the text.
  void LoadText(const std::string& text);
  // The caret at the start or the end of the text, nothing selected.
  bool AtStart() const;
  bool AtEnd() const;

  void resizeEvent(QResizeEvent* event) override;

 private:
  friend class TEditControl;

  // Called by the edit control.
  void HandleKeyPress(QKeyEvent* event);
  void HandleKeyRelease(QKeyEvent* event);
  void HandleContextMenu(const QPoint& globalPos);
  void ControlTextChanged();
  void ControlFocusIn() { DoEnter(); }
  void ControlFocusOut() { DoExit(); }

  void DefaultKeyDown(QKeyEvent* event);
  bool ClipboardShortcut(QKeyEvent* event);
  void CopySelection();
  void TypeChar(char32_t ch);
  void InsertLimited(QString text);
  int LengthOf(const QString& shown) const;

  TCustomGrid* grid_;
  TEditWindowHost& host_;
  TEditControl* control_ = nullptr;
  char32_t passwordChar_ = 0;
  int maxLength_ = 0;
  bool loading_ = false;
};

}  // namespace kelvora
