#pragma once

#include <string>
#include <string_view>

#include "grid/edit/editor_kinds.h"
#include "toolkit/grid_types.h"

namespace kelvora {

// What an edit session needs of the grid: its cells, by stored column and
// row, and whether an editor is still open for the person to go on typing.
class TEditCells {
 public:
  virtual bool HasCell(TGridCoord cell) const = 0;
  virtual std::string Text(TGridCoord cell) const = 0;
  // The grid's own write: repainted, not validated, no edit of the user's.
  virtual void Store(TGridCoord cell, const std::string& text) = 0;
  // The edit's write, one per keystroke.
  virtual void Type(TGridCoord cell, const std::string& text) = 0;
  // The grid's validation handler; it may change Value and clear Valid.
  virtual void Validate(TGridCoord cell, std::string& Value, bool& Valid) = 0;
  virtual bool EditorInUse() const = 0;

 protected:
  ~TEditCells() = default;
};

// The one owner of editing: what Escape goes back to, which cell's edit
// waits for validation and from which text, whether losing the focus
// validates, and which editor the open edit uses. Cells are stored columns
// and rows, so that hiding or moving a column cannot hand one cell's text
// to another.
//
// Each step of an edit has one entry point: Opening and Opened when an
// editor shows, Typed for every change, Commit and Revert. Hiding an editor
// changes nothing here: its edit stays armed, to be validated when the
// current cell moves or the grid loses the focus. The rest keeps the state
// true while the grid moves, gets and loses the focus, and while the program
// writes, erases, inserts, removes and reorders rows.
class TEditSession {
 public:
  // Validation and its arming move together: an edit is armed until its
  // validation starts, and no editor may open while it runs.
  enum class TPhase { Idle, Armed, Validating };

  explicit TEditSession(TEditCells& cells) : cells_(cells) {}
  TEditSession(const TEditSession&) = delete;
  TEditSession& operator=(const TEditSession&) = delete;

  TPhase Phase() const { return phase_; }
  bool MayOpen() const { return phase_ != TPhase::Validating; }
  TEditorType Kind() const { return kind_; }
  void SetKind(TEditorType kind) { kind_ = kind; }
  // The character whose typing opens the editor now, else 0.
  char32_t OpeningChar() const { return openingChar_; }
  TGridCoord SnapshotCell() const { return snapshotCell_; }

  // --- The steps of one edit -----------------------------------------------
  // An editor is about to show over `cell`: its text becomes what Escape
  // goes back to, unless that cell's own edit is still waiting.
  void Opening(TGridCoord cell);
  // It shows: an edit waiting elsewhere is validated first, and this one is
  // armed.
  void Opened(TGridCoord cell);
  void Typed(TGridCoord cell, const std::string& text);
  // Validates the armed edit; `current` is the cell whose text becomes the
  // next snapshot. Answers the verdict, true when nothing was armed. A
  // failed or throwing validation stays armed while the editor is in use.
  bool Commit(TGridCoord current);
  // Puts back the text `current` had when it was selected or its editor
  // opened; answers whether it did. The text put back is not validated.
  bool Revert(TGridCoord current);

  // --- Around the edits ----------------------------------------------------
  // The base agreed to move to `target`: the edit at `current` is validated
  // and the target's text is what Escape goes back to.
  void Moving(TGridCoord current, TGridCoord target);
  // The focus came back to an open editor.
  void EditorFocused();
  void GridEntered(TGridCoord current) { Follow(current); }
  void Clicked(TGridCoord current);
  // The grid lost the focus: validates when an editor was open.
  void GridLeft(TGridCoord current);
  void TakeSnapshot(TGridCoord cell);
  void TakeRevertText(TGridCoord cell);

  // --- The program's changes -----------------------------------------------
  bool Tracks(int row) const { return row == revertCell_.Y || row == snapshotCell_.Y; }
  // A program's write becomes the text that Escape and a failed validation
  // go back to.
  void Written(TGridCoord cell, std::string_view text);
  // Every remembered text read again from the cells (after a load).
  void Reread();
  void Erased(const TGridRect& block);
  void RowDeleted(int row);
  void RowInserted(int row);
  void RowMoved(int from, int to);
  // Rows first.. first+count-1 were reordered and `current` went to
  // `currentTo`: the current row's cells follow it, the rest are forgotten.
  void RowsReordered(int first, int count, int current, int currentTo);
  void ForgetCells();

  // Holds validation on focus loss while the grid moves rows about.
  class THoldFocusLoss {
   public:
    explicit THoldFocusLoss(TEditSession& session) : session_(session), kept_(session.validateOnExit_) {}
    ~THoldFocusLoss() { session_.validateOnExit_ = kept_; }
    THoldFocusLoss(const THoldFocusLoss&) = delete;
    THoldFocusLoss& operator=(const THoldFocusLoss&) = delete;

   private:
    TEditSession& session_;
    bool kept_;
  };

  // The character is known only while the editor opens with it.
  class TOpeningChar {
   public:
    TOpeningChar(TEditSession& session, char32_t ch) : session_(session) { session_.openingChar_ = ch; }
    ~TOpeningChar() { session_.openingChar_ = 0; }
    TOpeningChar(const TOpeningChar&) = delete;
    TOpeningChar& operator=(const TOpeningChar&) = delete;

   private:
    TEditSession& session_;
  };

  // Empty when the state is one the steps can reach, else what is wrong.
  std::string CheckConsistency() const;

 private:
  bool InProgressAt(TGridCoord cell) const { return phase_ == TPhase::Armed && snapshotCell_ == cell; }
  void Follow(TGridCoord current);
  bool ValidateSnapshot();
  void ArmIf(bool armed);

  TEditCells& cells_;
  TPhase phase_ = TPhase::Idle;
  bool validateOnExit_ = false;
  TEditorType kind_ = ekText;
  char32_t openingChar_ = 0;
  std::string revertText_;
  TGridCoord revertCell_{-1, -1};
  std::string snapshotText_;
  TGridCoord snapshotCell_{-1, -1};
};

}  // namespace kelvora
