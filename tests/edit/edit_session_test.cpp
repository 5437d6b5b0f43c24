// The edit session without a widget: cells in a map, a validator that can
// refuse or throw, and an editor that is in use or not.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <stdexcept>

#include "grid/edit/edit_session.h"

namespace kelvora {
namespace {

class TFakeCells final : public TEditCells {
 public:
  bool HasCell(TGridCoord cell) const override { return cell.Y < rows; }
  std::string Text(TGridCoord cell) const override {
    const auto found = texts.find({cell.X, cell.Y});
    return found == texts.end() ? std::string() : found->second;
  }
  void Store(TGridCoord cell, const std::string& text) override { texts[{cell.X, cell.Y}] = text; }
  void Type(TGridCoord cell, const std::string& text) override { texts[{cell.X, cell.Y}] = text; }
  void Validate(TGridCoord, std::string& Value, bool& Valid) override {
    ++validations;
    if (validator) validator(Value, Valid);
  }
  bool EditorInUse() const override { return inUse; }

  std::map<std::pair<int, int>, std::string> texts;
  std::function<void(std::string&, bool&)> validator;
  int rows = 10;
  int validations = 0;
  bool inUse = true;
};

constexpr TGridCoord kA{1, 2};
constexpr TGridCoord kB{3, 4};

class EditSessionTest : public ::testing::Test {
 protected:
  // The way the grid opens an editor over `cell`, the person having
  // selected it first.
  void OpenAt(TGridCoord cell) {
    session.TakeRevertText(cell);
    session.Opening(cell);
    session.Opened(cell);
  }

  TFakeCells cells;
  TEditSession session{cells};
};

// What a refused edit, a refused edit after the focus left and a rewriting
// handler leave in the cell, and whether the edit still waits.
TEST_F(EditSessionTest, CommitStoresTheVerdictAndStaysArmedOnlyWhileTheEditorIsInUse) {
  struct TCase {
    const char* name;
    bool valid;
    const char* rewrite;  // nullptr: the handler leaves the value alone
    bool inUse;
    const char* cellAfter;
    bool armedAfter;
  };
  const TCase cases[] = {
      {"accepted", true, nullptr, true, "typed", false},
      {"refused in use", false, nullptr, true, "old", true},
      {"refused after focus loss", false, nullptr, false, "old", false},
      {"rewritten", true, "TYPED", true, "TYPED", false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    cells.texts[{kA.X, kA.Y}] = "old";
    cells.inUse = c.inUse;
    cells.validator = [&c](std::string& Value, bool& Valid) {
      Valid = c.valid;
      if (c.rewrite) Value = c.rewrite;
    };
    OpenAt(kA);
    session.Typed(kA, "typed");
    EXPECT_EQ(session.Commit(kA), c.valid);
    EXPECT_EQ(cells.Text(kA), c.cellAfter);
    EXPECT_EQ(session.Phase() == TEditSession::TPhase::Armed, c.armedAfter);
    EXPECT_EQ(session.CheckConsistency(), "");
    session.ForgetCells();
  }
}

TEST_F(EditSessionTest, AThrowingHandlerLeavesNoValidationRunning) {
  cells.validator = [](std::string&, bool&) { throw std::runtime_error("handler"); };
  OpenAt(kA);
  session.Typed(kA, "typed");
  EXPECT_THROW(session.Commit(kA), std::runtime_error);
  EXPECT_TRUE(session.MayOpen());
  EXPECT_EQ(session.Phase(), TEditSession::TPhase::Armed);
}

// Escape goes back to what the cell held when the editor opened, or to what
// the program wrote since; never to another cell's text.
TEST_F(EditSessionTest, RevertGoesBackToTheOpeningTextOrTheProgramsWrite) {
  cells.texts[{kA.X, kA.Y}] = "old";
  OpenAt(kA);
  session.Typed(kA, "typed");
  // Showing the editor again over the open edit keeps what Escape goes to.
  session.Opening(kA);
  session.Opened(kA);
  EXPECT_TRUE(session.Revert(kA));
  EXPECT_EQ(cells.Text(kA), "old");

  session.Typed(kA, "typed");
  cells.Store(kA, "program");
  session.Written(kA, "program");
  EXPECT_TRUE(session.Revert(kA));
  EXPECT_EQ(cells.Text(kA), "program");

  EXPECT_FALSE(session.Revert(kB));
  EXPECT_EQ(cells.Text(kB), "");
}

// Moving away validates the edit left behind once; the edit that opens
// elsewhere is validated on its own.
TEST_F(EditSessionTest, MovingValidatesTheEditLeftBehind) {
  OpenAt(kA);
  session.Typed(kA, "a");
  session.Moving(kA, kB);
  EXPECT_EQ(cells.validations, 1);
  session.Opening(kB);
  session.Opened(kB);
  session.Typed(kB, "b");
  session.GridLeft(kB);
  EXPECT_EQ(cells.validations, 2);
  session.GridLeft(kB);
  EXPECT_EQ(cells.validations, 2);
}

// The rows that the remembered cells are on move and go away under them.
TEST_F(EditSessionTest, RememberedCellsFollowTheirRows) {
  cells.texts[{kA.X, kA.Y}] = "old";
  OpenAt(kA);
  session.RowInserted(0);
  EXPECT_EQ(session.SnapshotCell(), (TGridCoord{kA.X, kA.Y + 1}));
  session.RowMoved(kA.Y + 1, 0);
  EXPECT_EQ(session.SnapshotCell(), (TGridCoord{kA.X, 0}));
  session.RowsReordered(0, 5, 0, 4);
  EXPECT_EQ(session.SnapshotCell(), (TGridCoord{kA.X, 4}));
  session.RowDeleted(4);
  EXPECT_EQ(session.Phase(), TEditSession::TPhase::Idle);
  EXPECT_EQ(session.CheckConsistency(), "");
  EXPECT_FALSE(session.Revert({kA.X, 4}));
}

// Any order of steps the grid may take leaves a state the steps can reach.
TEST_F(EditSessionTest, RandomStepsKeepTheSessionConsistent) {
  std::mt19937 random(7);
  const auto cell = [&random] { return TGridCoord{static_cast<int>(random() % 3), static_cast<int>(random() % 12)}; };
  cells.validator = [&random](std::string& Value, bool& Valid) {
    if (random() % 7 == 0) throw std::runtime_error("handler");
    Valid = random() % 3 != 0;
    if (random() % 4 == 0) Value += "!";
  };
  for (int step = 0; step < 20000; ++step) {
    cells.inUse = random() % 2 == 0;
    try {
      switch (random() % 12) {
        case 0: OpenAt(cell()); break;
        case 1: session.Typed(cell(), "t" + std::to_string(step)); break;
        case 2: session.Commit(cell()); break;
        case 3: session.Revert(cell()); break;
        case 4: session.Moving(cell(), cell()); break;
        case 5: session.GridLeft(cell()); break;
        case 6: session.Clicked(cell()); break;
        case 7: session.RowDeleted(static_cast<int>(random() % 12)); break;
        case 8: session.RowInserted(static_cast<int>(random() % 12)); break;
        case 9: session.RowMoved(static_cast<int>(random() % 12), static_cast<int>(random() % 12)); break;
        case 10:
          session.RowsReordered(2, 6, static_cast<int>(random() % 12), static_cast<int>(random() % 6) + 2);
          break;
        case 11: session.EditorFocused(); break;
      }
    } catch (const std::runtime_error&) {
    }
    ASSERT_EQ(session.CheckConsistency(), "") << "step " << step;
    ASSERT_TRUE(session.MayOpen()) << "step " << step;
  }
}

}  // namespace
}  // namespace kelvora
