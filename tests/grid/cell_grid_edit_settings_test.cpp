#include <QTest>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cell_grid_edit_support.h"
#include "toolkit/exceptions.h"

// The settings of editing in place: the first click that opens the box, the
// caret put where the click was, completion from LookupItems, and the
// edited cell growing with its text.
namespace kelvora {
namespace {

using grid_test::CellEditing;

std::string Name(const char* name) { return name; }

void ClickAt(CellEditing& t, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTest::mouseClick(t.grid.viewport(), Qt::LeftButton, modifiers, at);
}

QPoint MiddleOf(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

// --- DirectEdit: the first click opens the box ------------------------------------------

struct TFirstClick {
  const char* name;
  std::function<void(grid_test::TTestCellGrid&)> setUp;
  int col;
  int row;
  // Where in the cell: a pixel column from its left (>= 0) or its right (< 0,
  // -1 being the last); the middle when unset.
  std::optional<int> x;
  Qt::KeyboardModifiers modifiers;
  bool opens;
  TGridCoord current;  // afterwards
};

class FirstClick : public CellEditing, public ::testing::WithParamInterface<TFirstClick> {};

TEST_P(FirstClick, OpensTheBoxOnlyOnACellThatMayBeEditedAwayFromItsBorders) {
  grid.MouseActions().DirectEdit = true;
  if (GetParam().setUp) GetParam().setUp(grid);
  Show();
  const TRect r = grid.CellRect(GetParam().col, GetParam().row);
  QPoint at = MiddleOf(r);
  if (GetParam().x) at.setX(*GetParam().x >= 0 ? r.Left + *GetParam().x : r.Right + *GetParam().x);
  ClickAt(*this, at, GetParam().modifiers);
  EXPECT_EQ((TGridCoord{grid.Col(), grid.Row()}), GetParam().current);
  ASSERT_EQ(BoxOpen(), GetParam().opens);
  if (!BoxOpen()) return;
  EXPECT_EQ(BoxText(), grid.Cells(grid.Col(), grid.Row()));
  EXPECT_EQ(BoxSelection(), BoxText());  // opened as a click on the current cell opens it
  Type("z");
  EXPECT_EQ(grid.Cells(grid.Col(), grid.Row()), "z");
}

INSTANTIATE_TEST_SUITE_P(
    CellGridEditSettings, FirstClick,
    ::testing::Values(
        TFirstClick{"AnotherCellOpensAtOnce", nullptr, 1, 0, {}, Qt::NoModifier, true, {1, 0}},
        TFirstClick{"AnEmptyCellToo", nullptr, 2, 2, {}, Qt::NoModifier, true, {2, 2}},
        TFirstClick{"TheCurrentCellAsEver", nullptr, 0, 0, {}, Qt::NoModifier, true, {0, 0}},
        TFirstClick{"ThreePixelsInsideTheLeftBorderOnlySelect", nullptr, 1, 0, 2, Qt::NoModifier, false, {1, 0}},
        TFirstClick{"TheFourthPixelOpens", nullptr, 1, 0, 3, Qt::NoModifier, true, {1, 0}},
        TFirstClick{"ThreePixelsInsideTheRightBorderOnlySelect", nullptr, 1, 0, -3, Qt::NoModifier, false, {1, 0}},
        TFirstClick{"TheFourthFromTheRightOpens", nullptr, 1, 0, -4, Qt::NoModifier, true, {1, 0}},
        TFirstClick{"ACellTheHandlerRefusesOnlySelects",
                    [](grid_test::TTestCellGrid& g) {
                      g.OnCanEditCell = [](TObject*, int, int col, bool& canEdit) { canEdit = col != 1; };
                    },
                    1, 0, {}, Qt::NoModifier, false, {1, 0}},
        TFirstClick{"AMoveTheHandlerRefusesOpensNothing",
                    [](grid_test::TTestCellGrid& g) {
                      g.OnCellChanging = [](TObject*, int, int, int, int, bool& allow) { allow = false; };
                    },
                    1, 0, {}, Qt::NoModifier, false, {0, 0}},
        TFirstClick{"AFooterRowIsFixed", [](grid_test::TTestCellGrid& g) { g.SetFixedFooters(1); }, 1, 2, {},
                    Qt::NoModifier, false, {0, 0}},
        TFirstClick{"ACellOnIsFixedCellFixes",
                    [](grid_test::TTestCellGrid& g) {
                      g.OnIsFixedCell = [](TObject*, int, int col, bool& fixed) { fixed = col == 2; };
                    },
                    2, 1, {}, Qt::NoModifier, false, {0, 0}},
        TFirstClick{"AFixedRowIsNoTarget", [](grid_test::TTestCellGrid& g) { g.SetFixedRows(1); }, 1, 0, {},
                    Qt::NoModifier, false, {0, 1}},
        TFirstClick{"ShiftExtendsTheSelectionInstead", nullptr, 1, 1, {}, Qt::ShiftModifier, false, {0, 0}},
        TFirstClick{"WithoutDirectEditAClickOnlySelects",
                    [](grid_test::TTestCellGrid& g) { g.MouseActions().DirectEdit = false; }, 1, 0, {},
                    Qt::NoModifier, false, {1, 0}},
        TFirstClick{"NorInARowSelectingGrid",
                    [](grid_test::TTestCellGrid& g) {
                      TGridOptions options = g.Options();
                      options.insert(goRowSelect);
                      g.SetOptions(options);
                    },
                    1, 1, {}, Qt::NoModifier, false, {0, 1}}),
    [](const auto& info) { return Name(info.param.name); });

TEST_F(CellEditing, AFirstClickAsksOnCanEditCellOnceForTheClickedCell) {
  std::vector<std::pair<int, int>> asked;  // column, row
  grid.OnCanEditCell = [&](TObject*, int row, int col, bool&) { asked.emplace_back(col, row); };
  grid.MouseActions().DirectEdit = true;
  Show();
  asked.clear();
  ClickCell(2, 1);
  EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{2, 1}}));
  EXPECT_TRUE(BoxOpen());
}

// The border keeps its meaning in the fixed row too: pressing there sizes
// the column and opens nothing.
TEST_F(CellEditing, AFirstClickOnAColumnBorderSizesTheColumn) {
  grid.MouseActions().DirectEdit = true;
  grid.SetFixedRows(1);
  Show();
  const TRect header = grid.CellRect(1, 0);
  const QPoint border(header.Right, MiddleOf(header).y());
  QTest::mousePress(grid.viewport(), Qt::LeftButton, Qt::NoModifier, border);
  QTest::mouseMove(grid.viewport(), border + QPoint(20, 0));
  QTest::mouseRelease(grid.viewport(), Qt::LeftButton, Qt::NoModifier, border + QPoint(20, 0));
  EXPECT_EQ(grid.ColWidths(1), 115 + 20);
  EXPECT_FALSE(BoxOpen());
}

TEST_F(CellEditing, AFirstClickOnACheckBoxTogglesItAndLeavesEditorModeOff) {
  grid.SetEnableGraphics(true);
  grid.SetCellGraphic(1, 1, std::make_unique<TCellCheckBox>(false));
  grid.MouseActions().DirectEdit = true;
  Show();
  ClickCell(1, 1);
  EXPECT_FALSE(BoxOpen());
  EXPECT_FALSE(grid.EditorMode());
  Key(Qt::Key_Down);
  EXPECT_FALSE(BoxOpen());
}

TEST_F(CellEditing, AFirstClickWhoseHandlerThrowsLeavesTheGridAsItWas) {
  bool thrown = false;
  grid.MouseActions().DirectEdit = true;
  Show();
  grid.OnCanEditCell = [&](TObject*, int, int, bool&) {
    if (thrown) return;
    thrown = true;
    throw Exception("the handler broke");
  };
  ClickCell(1, 0);
  EXPECT_EQ(shown, std::vector<std::string>{"the handler broke."});
  EXPECT_EQ(grid.Col(), 0);
  EXPECT_FALSE(BoxOpen());
  EXPECT_FALSE(grid.EditorMode());
  EXPECT_EQ(grid.CheckConsistency(), "");
  ClickCell(1, 0);
  ASSERT_TRUE(BoxOpen());
  Type("z");
  Key(Qt::Key_Return);
  EXPECT_EQ(grid.Cells(1, 0), "z");
}

// --- CaretPositioning: the caret where the click was -----------------------------------

// A text wider than its cell, so that the middle of the cell falls inside it.
constexpr const char* kLongText = "mmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmm";

struct TCaretClick {
  const char* name;
  bool directEdit;
  std::function<void(CellEditing&)> before;  // then the cell (1,0) is clicked
  bool positions;
};

class CaretClick : public CellEditing, public ::testing::WithParamInterface<TCaretClick> {};

TEST_P(CaretClick, PutsTheCaretByTheCharacterUnderTheMouse) {
  grid.SetCells(1, 0, kLongText);
  grid.MouseActions().DirectEdit = GetParam().directEdit;
  grid.MouseActions().CaretPositioning = GetParam().positions;
  Show();
  GetParam().before(*this);
  const QPoint at = MiddleOf(grid.CellRect(1, 0));
  ClickAt(*this, at);
  ASSERT_TRUE(BoxOpen());
  ASSERT_EQ(grid.Col(), 1);
  if (!GetParam().positions) {
    EXPECT_EQ(BoxSelection(), kLongText);
    return;
  }
  const int caret = Box()->SelStart();
  EXPECT_EQ(BoxSelection(), "");
  EXPECT_GT(caret, 0);
  EXPECT_LT(caret, static_cast<int>(std::string(kLongText).size()));
  // Where a click into the open box puts it, the text seen from its start.
  Key(Qt::Key_Home);
  QWidget* box = Box()->Control();
  QWidget* target = box->childAt(box->mapFrom(grid.viewport(), at));
  QTest::mouseClick(target ? target : box, Qt::LeftButton, Qt::NoModifier,
                    (target ? target : box)->mapFrom(grid.viewport(), at));
  EXPECT_EQ(Box()->SelStart(), caret);
  EXPECT_EQ(BoxSelection(), "");
}

INSTANTIATE_TEST_SUITE_P(
    CellGridEditSettings, CaretClick,
    ::testing::Values(
        TCaretClick{"OnTheCurrentCell", false, [](CellEditing& t) { t.ClickCell(1, 0); }, true},
        TCaretClick{"OnTheFirstClickOfDirectEdit", true, [](CellEditing&) {}, true},
        TCaretClick{"WhereTheBoxFollowsTheClick", false, [](CellEditing& t) { t.Key(Qt::Key_F2); }, true},
        TCaretClick{"WithoutItTheBoxSelectsAll", false, [](CellEditing& t) { t.ClickCell(1, 0); }, false},
        TCaretClick{"NorOnTheFirstClick", true, [](CellEditing&) {}, false}),
    [](const auto& info) { return Name(info.param.name); });

TEST_F(CellEditing, AClickBesideTheTextPutsTheCaretAtItsEnd) {
  grid.MouseActions().CaretPositioning = true;
  Show();
  ClickCell(0, 0);
  ASSERT_TRUE(BoxOpen());
  EXPECT_EQ(Box()->SelStart(), 3);
  EXPECT_EQ(BoxSelection(), "");
  Type("d");
  EXPECT_EQ(grid.Cells(0, 0), "abcd");
}

// --- Lookup: completing what is typed ---------------------------------------------------

const std::vector<std::string> kPlaces = {"New York", "Newark", "Boston", "\xC3\xA4pfelhof", "Newt"};

struct TCompletion {
  const char* name;
  std::function<void(CellEditing&)> act;  // on the cell (0,0), which holds "abc"
  const char* cell;                       // afterwards, and what the box shows
  const char* selected;                   // the box's selection afterwards
  std::vector<std::string> items = kPlaces;
};

class Completion : public CellEditing, public ::testing::WithParamInterface<TCompletion> {};

TEST_P(Completion, ShowsTheFirstItemTheTextBeginsWithTheRestSelected) {
  grid.SetLookup(true);
  grid.LookupItems() = GetParam().items;
  Show();
  GetParam().act(*this);
  EXPECT_EQ(grid.Cells(0, 0), GetParam().cell);
  if (!BoxOpen()) return;
  EXPECT_EQ(BoxText(), GetParam().cell);
  EXPECT_EQ(BoxSelection(), GetParam().selected);
}

INSTANTIATE_TEST_SUITE_P(
    CellGridEditSettings, Completion,
    ::testing::Values(
        TCompletion{"TheCharacterThatOpensTheBox", [](CellEditing& t) { t.Type("n"); }, "New York", "ew York"},
        TCompletion{"EveryCharacterAfter", [](CellEditing& t) { t.Type("ne"); }, "New York", "w York"},
        TCompletion{"TheFirstItemInOrderWins", [](CellEditing& t) { t.Type("new"); }, "New York", " York"},
        TCompletion{"ALaterItemWhenTheFirstNoLongerFits", [](CellEditing& t) { t.Type("newa"); }, "Newark", "rk"},
        TCompletion{"TheCaseIsTheItems", [](CellEditing& t) { t.Type("BOS"); }, "Boston", "ton"},
        TCompletion{"BeyondAscii", [](CellEditing& t) { t.Type(QStringLiteral("\u00C4p")); },
                    "\xC3\xA4pfelhof", "felhof"},
        TCompletion{"ALetterThatFoldsOntoAscii", [](CellEditing& t) { t.Type(QStringLiteral("\u212Aa")); },
                    "Kansas", "nsas", {"Boston", "Kansas"}},
        TCompletion{"TypingTheWholeItem", [](CellEditing& t) { t.Type("new york"); }, "New York", ""},
        TCompletion{"ACharacterThatLeavesTheItemsReplacesTheRest", [](CellEditing& t) { t.Type("nex"); }, "Nex",
                    ""},
        TCompletion{"NoItemNoCompletion", [](CellEditing& t) { t.Type("x"); }, "x", ""},
        TCompletion{"EnterTakesTheItem",
                    [](CellEditing& t) {
                      t.Type("bo");
                      t.Key(Qt::Key_Return);
                    },
                    "Boston", ""},
        TCompletion{"BackspaceTakesTheRestAway",
                    [](CellEditing& t) {
                      t.Type("ne");
                      t.Key(Qt::Key_Backspace);
                    },
                    "Ne", ""},
        TCompletion{"DeleteToo",
                    [](CellEditing& t) {
                      t.Type("ne");
                      t.Key(Qt::Key_Delete);
                    },
                    "Ne", ""},
        TCompletion{"TheNextCharacterCompletesAgain",
                    [](CellEditing& t) {
                      t.Type("ne");
                      t.Key(Qt::Key_Backspace);
                      t.Type("w");
                    },
                    "New York", " York"},
        TCompletion{"NotInTheMiddleOfTheText",
                    [](CellEditing& t) {
                      t.Key(Qt::Key_F2);
                      t.Key(Qt::Key_Home);
                      t.Type("N");
                    },
                    "Nabc", "", {"Nabcdef"}},
        TCompletion{"NotPastTheLengthLimit",
                    [](CellEditing& t) {
                      t.grid.SetMaxEditLength(5);
                      t.Type("new");
                    },
                    "Newt", "t"},
        TCompletion{"NotWithLookupOff",
                    [](CellEditing& t) {
                      t.grid.SetLookup(false);
                      t.Type("ne");
                    },
                    "ne", ""},
        TCompletion{"NotInAnUpperCaseBox",
                    [](CellEditing& t) {
                      t.grid.OnGetEditorType = [](TObject*, int, int, TEditorType& kind) { kind = ekUpperCase; };
                      t.Type("ne");
                    },
                    "NE", ""}),
    [](const auto& info) { return Name(info.param.name); });

TEST_F(CellEditing, EscapeBringsBackTheTextFromBeforeACompletion) {
  grid.SetLookup(true);
  grid.LookupItems() = kPlaces;
  Show();
  Type("bo");
  ASSERT_EQ(grid.Cells(0, 0), "Boston");
  Key(Qt::Key_Escape);
  EXPECT_EQ(grid.Cells(0, 0), "abc");
}

// Every keystroke runs through the whole list; a hundred thousand items that
// all begin alike still complete each character.
TEST_F(CellEditing, AHundredThousandItemsCompleteEveryKeystroke) {
  grid.SetLookup(true);
  std::vector<std::string>& items = grid.LookupItems();
  for (int i = 0; i < 100'000; ++i) items.push_back("entry " + std::to_string(i) + " of the list");
  Show();
  Type("ENTRY 9999");
  EXPECT_EQ(grid.Cells(0, 0), "entry 9999 of the list");
  Type("9");
  EXPECT_EQ(grid.Cells(0, 0), "entry 99999 of the list");
  EXPECT_EQ(BoxSelection(), " of the list");
  Key(Qt::Key_Return);
  items.push_back("\xC3\xA4pfel");
  Key(Qt::Key_Down);
  Type(QStringLiteral("\u00C4P"));
  EXPECT_EQ(grid.Cells(0, 1), "\xC3\xA4pfel");
  EXPECT_EQ(BoxSelection(), "fel");
}

// --- SizeWhileTyping: the cell grows with its text ---------------------------------------

// The size the text needs in the grid's font, as the grid's surface measures.
TSize Needed(grid_test::TTestCellGrid& g, const std::string& text) {
  TRecordingCanvas canvas;
  canvas.SetFont(g.Font());
  TRect box{0, 0, 0, 0};
  canvas.DrawText(text, box, TTextFlags{tfNoPrefix, tfCalcRect});
  return {box.Width() + 4, box.Height() + 4};
}

TSize Wrapped(grid_test::TTestCellGrid& g, const std::string& text, int width) {
  TRecordingCanvas canvas;
  canvas.SetFont(g.Font());
  TRect box{0, 0, width - 4, 0};
  canvas.DrawText(text, box, TTextFlags{tfNoPrefix, tfExpandTabs, tfWordBreak, tfEditControl, tfCalcRect});
  return {box.Width() + 4, box.Height() + 4};
}

constexpr int kColumn = 115;  // the main window's column width
constexpr int kRowHeight = 21;

struct TGrowth {
  const char* name;
  bool width;
  bool height;
  std::function<void(CellEditing&)> act;  // with the box open on (0,0), empty
  std::function<TSize(CellEditing&)> expected;
};

class Growth : public CellEditing, public ::testing::WithParamInterface<TGrowth> {};

TEST_P(Growth, GrowsTheColumnAndTheRowToTheTypedText) {
  grid.SizeWhileTyping().Width = GetParam().width;
  grid.SizeWhileTyping().Height = GetParam().height;
  grid.Navigation().LineFeedOnEnter = true;
  Show();
  Key(Qt::Key_Backspace);
  ASSERT_TRUE(BoxOpen());
  GetParam().act(*this);
  const TSize expected = GetParam().expected(*this);
  EXPECT_EQ(grid.ColWidths(0), expected.cx);
  EXPECT_EQ(grid.RowHeights(0), expected.cy);
  EXPECT_EQ(grid.ColWidths(1), kColumn);
  EXPECT_EQ(grid.RowHeights(1), kRowHeight);
  if (!BoxOpen()) return;
  // The box covers the grown cell.
  const TRect cell = grid.CellRect(0, 0);
  EXPECT_EQ(Box()->geometry(), QRect(cell.Left, cell.Top, cell.Width(), cell.Height()));
}

const std::string kWide = "a text that is wider than the column it is typed in";
const std::string kWords = "words that wrap where the column ends, line after line";

INSTANTIATE_TEST_SUITE_P(
    CellGridEditSettings, Growth,
    ::testing::Values(
        TGrowth{"AWideTextWidensTheColumn", true, false, [](CellEditing& t) { t.Type(QString::fromStdString(kWide)); },
                [](CellEditing& t) { return TSize{Needed(t.grid, kWide).cx, kRowHeight}; }},
        TGrowth{"ANarrowOneLeavesIt", true, true, [](CellEditing& t) { t.Type("short"); },
                [](CellEditing&) { return TSize{kColumn, kRowHeight}; }},
        TGrowth{"LinesHeightenTheRow", false, true,
                [](CellEditing& t) {
                  t.Type("one");
                  t.Key(Qt::Key_Return);
                  t.Type("two");
                  t.Key(Qt::Key_Return);
                  t.Type("three");
                },
                [](CellEditing& t) { return TSize{kColumn, Needed(t.grid, "one\r\ntwo\r\nthree").cy}; }},
        TGrowth{"BothAtOnce", true, true,
                [](CellEditing& t) {
                  t.Type("one");
                  t.Key(Qt::Key_Return);
                  t.Type(QString::fromStdString(kWide));
                },
                [](CellEditing& t) { return Needed(t.grid, "one\r\n" + kWide); }},
        TGrowth{"NothingShrinksWhileTheTextDoes", true, true,
                [](CellEditing& t) {
                  t.Type(QString::fromStdString(kWide));
                  t.Key(Qt::Key_Return);
                  t.Type("x");
                  for (int i = 0; i < 60; ++i) t.Key(Qt::Key_Backspace);
                },
                [](CellEditing& t) { return TSize{Needed(t.grid, kWide).cx, Needed(t.grid, "a\r\nb").cy}; }},
        TGrowth{"NorAfterTheEdit", true, false,
                [](CellEditing& t) {
                  t.Type(QString::fromStdString(kWide));
                  t.Key(Qt::Key_Return, Qt::ControlModifier);
                  ASSERT_FALSE(t.BoxOpen());
                  t.Key(Qt::Key_Down);
                },
                [](CellEditing& t) { return TSize{Needed(t.grid, kWide).cx, kRowHeight}; }},
        TGrowth{"WrappedWordsHeightenTheRowOnly", true, true,
                [](CellEditing& t) {
                  t.grid.SetWordWrap(true);
                  t.grid.InvalidateEditor();
                  t.Type(QString::fromStdString(kWords));
                },
                [](CellEditing& t) { return TSize{kColumn, Wrapped(t.grid, kWords, kColumn).cy}; }},
        TGrowth{"OffNothingGrows", false, false, [](CellEditing& t) { t.Type(QString::fromStdString(kWide)); },
                [](CellEditing&) { return TSize{kColumn, kRowHeight}; }}),
    [](const auto& info) { return Name(info.param.name); });

// A cell grows no further than the view shows, however long its text.
TEST_F(CellEditing, GrowthStopsAtTheView) {
  grid.SizeWhileTyping().Width = true;
  grid.SizeWhileTyping().Height = true;
  Show();
  Key(Qt::Key_F2);
  QGuiApplication::clipboard()->setText(QString(500, u'w') + QStringLiteral("\n").repeated(100));
  Key(Qt::Key_V, Qt::ControlModifier);
  // As wide and as tall as the view was, which its scroll bars then narrow.
  EXPECT_LE(grid.ColWidths(0), grid.width());
  EXPECT_GE(grid.ColWidths(0), grid.width() - 40);
  EXPECT_LE(grid.RowHeights(0), grid.height());
  EXPECT_GE(grid.RowHeights(0), grid.height() - 40);
  EXPECT_EQ(grid.Col(), 0);
  EXPECT_EQ(grid.LeftCol(), 0);
}

TEST_F(CellEditing, ATenMegabyteCellGrowsByWhatTheViewShows) {
  std::string big;
  for (int line = 0; big.size() < 10'000'000; ++line) big += "line " + std::to_string(line) + " of a long cell\r\n";
  big.insert(0, std::string(1'000'000, 'w') + "\r\n");
  grid.SetCells(0, 0, big);
  grid.SizeWhileTyping().Width = true;
  grid.SizeWhileTyping().Height = true;
  Show();
  Key(Qt::Key_F2);
  ASSERT_TRUE(BoxOpen());
  Type("!");
  EXPECT_EQ(grid.Cells(0, 0).size(), big.size() + 1);
  EXPECT_LE(grid.ColWidths(0), grid.width());
  EXPECT_GE(grid.ColWidths(0), grid.width() - 40);
  EXPECT_LE(grid.RowHeights(0), grid.height());
  EXPECT_GE(grid.RowHeights(0), grid.height() - 40);
}

}  // namespace
}  // namespace kelvora
