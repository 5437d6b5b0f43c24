#include "grid/edit/edit_session.h"

#include "grid/edit/edit_validation.h"

namespace kelvora {
namespace {

constexpr TGridCoord kNoCell{-1, -1};

bool IsCell(TGridCoord cell) { return cell.X >= 0 && cell.Y >= 0; }

}  // namespace

// --- The steps of one edit ---------------------------------------------------

// Showing the editor again over an edit still open must not take the user's
// typing for the text to go back to.
void TEditSession::Opening(TGridCoord cell) {
  if (!InProgressAt(cell)) TakeRevertText(cell);
}

void TEditSession::Opened(TGridCoord cell) {
  Follow(cell);
  validateOnExit_ = true;
  ArmIf(true);
}

void TEditSession::Typed(TGridCoord cell, const std::string& text) { cells_.Type(cell, text); }

// An edit whose validation failed, by its verdict or by a handler that
// threw, goes on waiting for validation while its editor is still in use;
// once the focus has left, it is not tried again.
bool TEditSession::Commit(TGridCoord current) {
  if (phase_ != TPhase::Armed) return true;
  phase_ = TPhase::Validating;
  bool valid = true;
  try {
    valid = ValidateSnapshot();
    TakeSnapshot(current);
  } catch (...) {
    ArmIf(cells_.EditorInUse());
    throw;
  }
  ArmIf(!valid && cells_.EditorInUse());
  return valid;
}

// The handler works on copies: it may write cells itself, which moves the
// store's texts about.
bool TEditSession::ValidateSnapshot() {
  const TGridCoord cell = snapshotCell_;
  if (!IsCell(cell) || !cells_.HasCell(cell)) return true;
  const std::string current = cells_.Text(cell);
  if (current == snapshotText_) return true;
  const TEditValidator validator = [this, cell](std::string& Value, bool& Valid) {
    cells_.Validate(cell, Value, Valid);
  };
  const TEditVerdict verdict = ValidateEdit(snapshotText_, current, validator);
  if (verdict.Store) cells_.Store(cell, *verdict.Store);
  return verdict.Valid;
}

// The revert text is the current cell's own; when the program has moved the
// current cell without selecting it, there is nothing to go back to.
bool TEditSession::Revert(TGridCoord current) {
  if (revertCell_ != current) {
    TakeRevertText(current);
    return false;
  }
  cells_.Store(current, revertText_);
  TakeSnapshot(current);
  return true;
}

// --- Around the edits ----------------------------------------------------------

void TEditSession::Moving(TGridCoord current, TGridCoord target) {
  if (phase_ == TPhase::Armed) Commit(current);
  TakeRevertText(target);
}

void TEditSession::EditorFocused() {
  if (phase_ == TPhase::Idle) ArmIf(true);
}

// An edit is armed only on a cell it can validate.
void TEditSession::ArmIf(bool armed) { phase_ = armed && IsCell(snapshotCell_) ? TPhase::Armed : TPhase::Idle; }

void TEditSession::Clicked(TGridCoord current) {
  Follow(current);
  validateOnExit_ = false;
}

void TEditSession::GridLeft(TGridCoord current) {
  if (validateOnExit_) Commit(current);
}

// The snapshot follows the current cell, except while the current cell's own
// edit waits for validation: it keeps the text that edit started from. An
// edit waiting elsewhere is validated first.
void TEditSession::Follow(TGridCoord current) {
  if (InProgressAt(current)) return;
  if (phase_ == TPhase::Armed)
    Commit(current);
  else
    TakeSnapshot(current);
}

void TEditSession::TakeSnapshot(TGridCoord cell) {
  const bool known = IsCell(cell) && cells_.HasCell(cell);
  snapshotCell_ = known ? cell : kNoCell;
  snapshotText_ = known ? cells_.Text(cell) : std::string();
}

void TEditSession::TakeRevertText(TGridCoord cell) {
  const bool known = IsCell(cell) && cells_.HasCell(cell);
  revertCell_ = known ? cell : kNoCell;
  revertText_ = known ? cells_.Text(cell) : std::string();
}

// --- The program's changes -----------------------------------------------------

void TEditSession::Written(TGridCoord cell, std::string_view text) {
  if (revertCell_ == cell) revertText_ = text;
  if (snapshotCell_ == cell) snapshotText_ = text;
}

void TEditSession::Reread() {
  if (IsCell(revertCell_) && cells_.HasCell(revertCell_)) revertText_ = cells_.Text(revertCell_);
  if (IsCell(snapshotCell_) && cells_.HasCell(snapshotCell_)) snapshotText_ = cells_.Text(snapshotCell_);
}

void TEditSession::Erased(const TGridRect& block) {
  if (block.Contains(revertCell_.X, revertCell_.Y)) revertText_.clear();
  if (block.Contains(snapshotCell_.X, snapshotCell_.Y)) snapshotText_.clear();
}

// The remembered cells move with their rows; a cell whose row is gone is
// forgotten, and an armed edit with it.
void TEditSession::RowDeleted(int row) {
  for (TGridCoord* cell : {&revertCell_, &snapshotCell_}) {
    if (cell->Y == row)
      *cell = kNoCell;
    else if (cell->Y > row)
      --cell->Y;
  }
  if (!IsCell(revertCell_)) revertText_.clear();
  if (!IsCell(snapshotCell_)) {
    snapshotText_.clear();
    if (phase_ == TPhase::Armed) phase_ = TPhase::Idle;
  }
}

void TEditSession::RowInserted(int row) {
  for (TGridCoord* cell : {&revertCell_, &snapshotCell_})
    if (cell->Y >= row) ++cell->Y;
}

void TEditSession::RowMoved(int from, int to) {
  for (TGridCoord* cell : {&revertCell_, &snapshotCell_}) {
    if (cell->Y < 0) continue;
    if (cell->Y == from)
      cell->Y = to;
    else if (from < to && cell->Y > from && cell->Y <= to)
      --cell->Y;
    else if (from > to && cell->Y >= to && cell->Y < from)
      ++cell->Y;
  }
}

void TEditSession::RowsReordered(int first, int count, int current, int currentTo) {
  bool forgot = false;
  for (TGridCoord* cell : {&revertCell_, &snapshotCell_}) {
    if (cell->Y == current) {
      cell->Y = currentTo;
    } else if (cell->Y >= first && cell->Y < first + count) {
      *cell = kNoCell;
      forgot = true;
    }
  }
  if (forgot) {
    if (!IsCell(revertCell_)) revertText_.clear();
    if (!IsCell(snapshotCell_)) snapshotText_.clear();
  }
  if (!IsCell(snapshotCell_) && phase_ == TPhase::Armed) phase_ = TPhase::Idle;
}

void TEditSession::ForgetCells() {
  revertCell_ = snapshotCell_ = kNoCell;
  revertText_.clear();
  snapshotText_.clear();
  if (phase_ == TPhase::Armed) phase_ = TPhase::Idle;
}

// An armed edit always knows its cell; a forgotten cell keeps no text that
// a later Escape or validation could write somewhere.
std::string TEditSession::CheckConsistency() const {
  if (phase_ == TPhase::Armed && !IsCell(snapshotCell_)) return "an edit is armed without a cell";
  if (!IsCell(revertCell_) && (revertCell_ != kNoCell || !revertText_.empty()))
    return "the revert text belongs to no cell";
  if (!IsCell(snapshotCell_) && (snapshotCell_ != kNoCell || !snapshotText_.empty()))
    return "the snapshot text belongs to no cell";
  return {};
}

}  // namespace kelvora
