#include <QClipboard>
#include <QGuiApplication>

#include <string>
#include <vector>

#include "cell_grid_advance_support.h"
#include "toolkit/byte_text.h"
#include "toolkit/clipboard.h"
#include "toolkit/message_box.h"

namespace kelvora {
namespace {

using Events = std::vector<std::string>;
using namespace std::string_literals;

class ClipboardShortcuts : public grid_test::GridKeys {
 protected:
  void SetUp() override {
    GridKeys::SetUp();
    grid.Navigation().AllowClipboardShortCuts = true;
    RecordEvents();
  }
  void Select(int left, int top, int right, int bottom) { grid.SetSelection({left, top, right, bottom}); }
  static std::string Clipboard() { return ClipboardText(); }
  static void SetClipboard(const std::string& text) { SetClipboardText(text); }
  std::vector<std::string> Row(int row) const {
    std::vector<std::string> cells;
    for (int col = 0; col < grid.ColCount(); ++col) cells.push_back(grid.Cells(col, row));
    return cells;
  }
};

// --- Which keys --------------------------------------------------------------------------

struct TShortcutCase {
  const char* name;
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  Events events;
  const char* clipboard;  // afterwards
  const char* cell;       // cell (1, 1) afterwards
};

class ShortcutKeys : public ClipboardShortcuts, public ::testing::WithParamInterface<TShortcutCase> {};

TEST_P(ShortcutKeys, ActOnTheCurrentCell) {
  SetClipboard("pasted");
  Show();
  GoTo(1, 1);
  Key(GetParam().key, GetParam().modifiers);
  EXPECT_EQ(events, GetParam().events);
  EXPECT_EQ(Clipboard(), GetParam().clipboard);
  EXPECT_EQ(grid.Cells(1, 1), GetParam().cell);
  EXPECT_EQ(grid.RowCount(), 4) << "no shortcut deletes or inserts a row";
  EXPECT_FALSE(BoxOpen());
}

INSTANTIATE_TEST_SUITE_P(
    CellGridClipboard, ShortcutKeys,
    ::testing::Values(
        TShortcutCase{"CtrlC", Qt::Key_C, Qt::ControlModifier, {"Copy"}, "1,1", "1,1"},
        TShortcutCase{"CtrlInsert", Qt::Key_Insert, Qt::ControlModifier, {"Copy"}, "1,1", "1,1"},
        TShortcutCase{"CtrlX", Qt::Key_X, Qt::ControlModifier, {"Cut"}, "1,1", ""},
        TShortcutCase{"ShiftDelete", Qt::Key_Delete, Qt::ShiftModifier, {"Cut"}, "1,1", ""},
        TShortcutCase{"CtrlV", Qt::Key_V, Qt::ControlModifier, {"Paste"}, "pasted", "pasted"},
        TShortcutCase{"ShiftInsert", Qt::Key_Insert, Qt::ShiftModifier, {"Paste"}, "pasted", "pasted"},
        TShortcutCase{"CtrlShiftC", Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier, {"Copy"}, "1,1", "1,1"},
        TShortcutCase{"AltShiftInsertIsNoShortcut", Qt::Key_Insert, Qt::AltModifier | Qt::ShiftModifier, {},
                      "pasted", "1,1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClipboardShortcuts, AreOffInTheMainWindow) {
  grid.Navigation().AllowClipboardShortCuts = false;
  SetClipboard("pasted");
  Show();
  GoTo(1, 1);
  Key(Qt::Key_C, Qt::ControlModifier);
  Key(Qt::Key_X, Qt::ControlModifier);
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(Clipboard(), "pasted");
  EXPECT_EQ(grid.Cells(1, 1), "1,1");
}

TEST_F(ClipboardShortcuts, AHandlerThatRefusesStopsEach) {
  grid.OnClipboardCut = grid.OnClipboardCopy = grid.OnClipboardPaste = [](TObject* sender, bool& allow) {
    EXPECT_NE(dynamic_cast<TCellGrid*>(sender), nullptr) << "the grid is the sender";
    allow = false;
  };
  SetClipboard("pasted");
  Show();
  GoTo(1, 1);
  Key(Qt::Key_C, Qt::ControlModifier);
  Key(Qt::Key_X, Qt::ControlModifier);
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Clipboard(), "pasted");
  EXPECT_EQ(grid.Cells(1, 1), "1,1");
}

// A grid that may not be edited gives its cells away but takes none.
TEST_F(ClipboardShortcuts, AGridThatIsNotEditedOnlyCopies) {
  TGridOptions options = grid.Options();
  options.erase(goEditing);
  grid.SetOptions(options);
  SetClipboard("pasted");
  Show();
  GoTo(1, 1);
  Key(Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(grid.Cells(1, 1), "1,1");
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(grid.Cells(1, 1), "1,1");
  Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(Clipboard(), "1,1");
  EXPECT_EQ(events, Events{"Copy"});
}

// --- Copy, cut and paste -----------------------------------------------------------------

TEST_F(ClipboardShortcuts, CopyGivesTheSelectionAsTabSeparatedLines) {
  Show();
  Select(1, 1, 2, 2);
  Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(Clipboard(), "1,1\t2,1\r\n1,2\t2,2");
}

TEST_F(ClipboardShortcuts, CutEmptiesTheSelectionAndPasteBringsItBack) {
  Show();
  Select(1, 1, 2, 2);
  Key(Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(Row(1), (std::vector<std::string>{"0,1", "", "", "3,1"}));
  EXPECT_EQ(Row(2), (std::vector<std::string>{"0,2", "", "", "3,2"}));
  GoTo(2, 0);
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Row(0), (std::vector<std::string>{"0,0", "1,0", "1,1", "2,1"}));
  EXPECT_EQ(Row(1), (std::vector<std::string>{"0,1", "", "1,2", "2,2"}));
  EXPECT_EQ(grid.CheckConsistency(), "");
}

// Texts that need quoting come back unchanged, through the real clipboard.
TEST_F(ClipboardShortcuts, AwkwardTextsSurviveTheRoundTrip) {
  const std::vector<std::string> texts = {"tab\there", "two\r\nlines", "say \"hi\"", "\"", "", "caf\xC3\xA9",
                                          "trailing\r\n"};
  grid.SetColCount(static_cast<int>(texts.size()));
  for (int col = 0; col < static_cast<int>(texts.size()); ++col) grid.SetCells(col, 0, texts[col]);
  Show();
  Select(0, 0, grid.ColCount() - 1, 0);
  Key(Qt::Key_C, Qt::ControlModifier);
  GoTo(0, 2);
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Row(2), texts);
  EXPECT_EQ(grid.RowCount(), 4) << "line breaks inside cells start no rows";
}

TEST_F(ClipboardShortcuts, MarkupIsCopiedAsItsTextUnlessTagsAreWanted) {
  grid.SetCells(1, 1, "<B>bold</B> text");
  grid.Navigation().CopyHTMLTagsToClipboard = false;
  Show();
  GoTo(1, 1);
  Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(Clipboard(), "bold text");
  grid.Navigation().CopyHTMLTagsToClipboard = true;
  Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(Clipboard(), "<B>bold</B> text");
}

TEST_F(ClipboardShortcuts, APasswordLeavesOnlyAsItsMaskAndACutKeepsIt) {
  grid.OnIsPasswordCell = [](TObject*, int row, int col, bool& password) { password = row == 1 && col == 1; };
  Show();
  Select(1, 1, 2, 1);
  Key(Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(Clipboard(), "***\t2,1");
  EXPECT_EQ(grid.Cells(1, 1), "1,1");
  EXPECT_EQ(grid.Cells(2, 1), "");
}

// Hidden columns are passed over as the screen passes over them.
TEST_F(ClipboardShortcuts, HiddenColumnsAreNeitherCopiedNorPastedInto) {
  grid.HideColumn(1);  // displayed: stored 0, 2, 3
  Show();
  Select(0, 1, 1, 1);
  Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(Clipboard(), "0,1\t2,1");
  SetClipboard("a\tb");
  GoTo(0, 2);
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(grid.Cells(0, 2), "a");
  EXPECT_EQ(grid.Cells(1, 2), "1,2") << "the hidden cell keeps its text";
  EXPECT_EQ(grid.Cells(2, 2), "b");
}

// --- Where a paste goes ------------------------------------------------------------------

struct TGrowthCase {
  const char* name;
  bool rowGrow;
  bool colGrow;
  int rows;
  int cols;
  const char* lastCell;  // the bottom-right cell of the paste
};

class PasteGrowth : public ClipboardShortcuts, public ::testing::WithParamInterface<TGrowthCase> {};

TEST_P(PasteGrowth, GrowsOrClips) {
  grid.Navigation().AllowClipboardRowGrow = GetParam().rowGrow;
  grid.Navigation().AllowClipboardColGrow = GetParam().colGrow;
  SetClipboard("a\tb\tc\r\nd\te\tf\r\ng\th\ti\r\n");
  Show();
  GoTo(2, 2);
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(grid.RowCount(), GetParam().rows);
  EXPECT_EQ(grid.ColCount(), GetParam().cols);
  EXPECT_EQ(grid.Cells(2, 2), "a");
  EXPECT_EQ(grid.Cells(3, 3), "e");
  EXPECT_EQ(grid.Cells(4, 4), GetParam().lastCell);
  EXPECT_EQ(grid.Cells(4, 2), GetParam().colGrow ? "c" : "") << "nothing is written outside the grid";
  EXPECT_EQ(grid.Cells(2, 4), GetParam().rowGrow ? "g" : "");
}

INSTANTIATE_TEST_SUITE_P(CellGridClipboard, PasteGrowth,
                         ::testing::Values(TGrowthCase{"Both", true, true, 5, 5, "i"},
                                           TGrowthCase{"RowsOnly", true, false, 5, 4, ""},
                                           TGrowthCase{"ColumnsOnly", false, true, 4, 5, ""},
                                           TGrowthCase{"Neither", false, false, 4, 4, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClipboardShortcuts, GrownRowsGoInBeforeTheFooterRow) {
  grid.Navigation().AllowClipboardRowGrow = true;
  grid.SetFixedFooters(1);
  SetClipboard("a\nb\nc");
  Show();
  GoTo(0, 2);
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(grid.RowCount(), 6);
  EXPECT_EQ(grid.Cells(0, 2), "a");
  EXPECT_EQ(grid.Cells(0, 3), "b");
  EXPECT_EQ(grid.Cells(0, 4), "c");
  EXPECT_EQ(grid.Cells(0, 5), "0,3") << "the footer row stays last, with its cells";
}

// --- Bad input ---------------------------------------------------------------------------

TEST_F(ClipboardShortcuts, NulBytesArriveAsCellText) {
  QGuiApplication::clipboard()->setText(QStringLiteral("a") + QChar(0) + QStringLiteral("b\tc"));
  Show();
  GoTo(0, 0);
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(grid.Cells(0, 0), "a\0b"s);
  EXPECT_EQ(grid.Cells(1, 0), "c");
}

TEST_F(ClipboardShortcuts, AnEmptyClipboardPastesNothing) {
  QGuiApplication::clipboard()->clear();
  Show();
  GoTo(1, 1);
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(grid.Cells(1, 1), "1,1");
  SetClipboard("");
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(grid.Cells(1, 1), "1,1");
}

TEST_F(ClipboardShortcuts, ManyLinesGrowTheGridOnceEach) {
  grid.Navigation().AllowClipboardRowGrow = true;
  std::string text;
  for (int i = 0; i < 300000; ++i) text += "r" + std::to_string(i) + "\tx\n";
  SetClipboard(text);
  Show();
  GoTo(0, 0);
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(grid.RowCount(), 300000);
  EXPECT_EQ(grid.Cells(0, 299999), "r299999");
  EXPECT_EQ(grid.Cells(1, 299999), "x");
  EXPECT_EQ(grid.Cells(2, 299999), "");
  EXPECT_EQ(grid.CheckConsistency(), "");
}

TEST_F(ClipboardShortcuts, AHugeCellSurvivesTheRoundTrip) {
  std::string huge;
  for (int i = 0; i < 400000; ++i) huge += "quote \" tab \t line\r\n";
  grid.SetCells(1, 1, huge);
  Show();
  GoTo(1, 1);
  Key(Qt::Key_C, Qt::ControlModifier);
  GoTo(2, 2);
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_TRUE(grid.Cells(2, 2) == huge);
  EXPECT_EQ(grid.Cells(3, 2), "3,2");
  EXPECT_EQ(grid.Cells(2, 3), "2,3");
}

// At the largest row count a grid can have, a paste that needs more rows is
// refused whole, with a message, rather than pasted in part.
TEST_F(ClipboardShortcuts, APasteBeyondTheLastPossibleRowIsRefusedWhole) {
  std::vector<std::string> shown;
  TMessageSinkGuard sink{[&](const std::string&, const std::string& text) { shown.push_back(text); }};
  grid.Navigation().AllowClipboardRowGrow = true;
  const int last = TCellStore::kMaxIndex;
  grid.SetRowCount(last + 1);
  grid.SetCells(0, last, "kept");
  SetClipboard("a\nb");
  Show();
  GoTo(0, last);
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(grid.Cells(0, last), "kept");
  EXPECT_EQ(grid.RowCount(), last + 1);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].find("The clipboard holds 2 rows"), std::string::npos) << shown[0];
  grid.Navigation().AllowClipboardRowGrow = false;
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(grid.Cells(0, last), "a") << "without growing, the paste is clipped to the grid";
  EXPECT_EQ(shown.size(), 1u);
}

}  // namespace
}  // namespace kelvora
