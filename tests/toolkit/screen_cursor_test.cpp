#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>

#include <optional>
#include <stdexcept>

#include "toolkit/screen_cursor.h"

namespace kelvora {
namespace {

// The shape Qt shows over every window, or nothing when the windows show
// their own.
std::optional<Qt::CursorShape> OverrideShape() {
  const QCursor* cursor = QApplication::overrideCursor();
  if (!cursor) return std::nullopt;
  return cursor->shape();
}

class ScreenCursor : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(OverrideShape(), std::nullopt); }
  void TearDown() override { Screen().SetCursor(crDefault); }
};

TEST_F(ScreenCursor, TheHourglassShowsOverEveryWindowUntilTheDefaultReturns) {
  Screen().SetCursor(crHourGlass);
  EXPECT_EQ(Screen().Cursor(), crHourGlass);
  EXPECT_EQ(OverrideShape(), Qt::WaitCursor);
  Screen().SetCursor(crDefault);
  EXPECT_EQ(Screen().Cursor(), crDefault);
  EXPECT_EQ(OverrideShape(), std::nullopt);
}

TEST_F(ScreenCursor, OneDefaultUndoesAnyNumberOfCursorsSetBefore) {
  Screen().SetCursor(crHourGlass);
  Screen().SetCursor(crHourGlass);
  Screen().SetCursor(crIBeam);
  EXPECT_EQ(OverrideShape(), Qt::IBeamCursor);
  Screen().SetCursor(crDefault);
  EXPECT_EQ(OverrideShape(), std::nullopt);
}

TEST_F(ScreenCursor, LeavesAnOverrideOfSomeoneElseInPlace) {
  QApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
  Screen().SetCursor(crHourGlass);
  Screen().SetCursor(crDefault);
  EXPECT_EQ(OverrideShape(), Qt::CrossCursor);
  QApplication::restoreOverrideCursor();
}

TEST_F(ScreenCursor, AGuardRestoresTheCursorWhenItsScopeThrows) {
  try {
    TCursorGuard busy(crHourGlass);
    EXPECT_EQ(OverrideShape(), Qt::WaitCursor);
    throw std::runtime_error("command failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(Screen().Cursor(), crDefault);
  EXPECT_EQ(OverrideShape(), std::nullopt);
}

TEST_F(ScreenCursor, NestedGuardsRestoreInOrder) {
  {
    TCursorGuard outer(crHourGlass);
    {
      TCursorGuard inner(crIBeam);
      EXPECT_EQ(OverrideShape(), Qt::IBeamCursor);
      {
        TCursorGuard usual(crDefault);
        EXPECT_EQ(OverrideShape(), std::nullopt);
      }
      EXPECT_EQ(Screen().Cursor(), crIBeam);
      EXPECT_EQ(OverrideShape(), Qt::IBeamCursor);
    }
    EXPECT_EQ(Screen().Cursor(), crHourGlass);
    EXPECT_EQ(OverrideShape(), Qt::WaitCursor);
  }
  EXPECT_EQ(Screen().Cursor(), crDefault);
  EXPECT_EQ(OverrideShape(), std::nullopt);
}

// A command may set the default itself at its normal end, inside the guard
// that protects its failures; the guard must then not leave an hourglass.
TEST_F(ScreenCursor, AGuardAfterAnExplicitDefaultPutsBackWhatWasBefore) {
  {
    TCursorGuard busy(crHourGlass);
    Screen().SetCursor(crDefault);
  }
  EXPECT_EQ(OverrideShape(), std::nullopt);
}

}  // namespace
}  // namespace kelvora
