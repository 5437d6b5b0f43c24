#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>

#include <string>
#include <vector>

#include "cell_grid_edit_support.h"
#include "grid/edit/edit_box_rules.h"
#include "toolkit/clipboard.h"
#include "toolkit/qt_canvas.h"

// The edit box itself: editor kinds, the clipboard, the length limit, its
// look, and the bytes of cells it shows.
namespace kelvora {
namespace {

using grid_test::CellEditing;

void SetKind(grid_test::TTestCellGrid& grid, TEditorType kind) {
  grid.OnGetEditorType = [kind](TObject*, int, int, TEditorType& editor) { editor = kind; };
}

// --- Editor kinds: typing ------------------------------------------------------------

struct TTypingCase {
  const char* name;
  TEditorType kind;
  const char* typed;  // into an empty cell, the first key opening the box
  const char* cell;
};

class KindTyping : public CellEditing, public ::testing::WithParamInterface<TTypingCase> {};

TEST_P(KindTyping, TakesAndShapesTypedCharacters) {
  SetKind(grid, GetParam().kind);
  grid.SetCells(0, 0, "");
  Show();
  Type(QString::fromUtf8(GetParam().typed));
  ASSERT_TRUE(BoxOpen());
  EXPECT_EQ(grid.Cells(0, 0), GetParam().cell);
  EXPECT_EQ(BoxText(), GetParam().cell);
}

INSTANTIATE_TEST_SUITE_P(
    CellGridEdit, KindTyping,
    ::testing::Values(TTypingCase{"PlainTakesAll", ekText, "aB-1.,", "aB-1.,"},
                      TTypingCase{"SignedIntegerOneLeadingMinus", ekSignedInteger, "-1-2a3.", "-123"},
                      TTypingCase{"UnsignedIntegerDigitsOnly", ekUnsignedInteger, "-12a3,", "123"},
                      TTypingCase{"DecimalOneSeparator", ekDecimal, "-1.2,3a4-", "-1.234"},
                      TTypingCase{"DecimalCommaSeparator", ekDecimal, "1,5.", "1,5"},
                      TTypingCase{"UpperTyped", ekUpperTyped, "abC \xC3\xA9", "ABC \xC3\x89"},
                      TTypingCase{"CapitalisedWholeText", ekCapitalised, "hello wORLD", "Hello World"},
                      TTypingCase{"LowerCase", ekLowerCase, "AbC", "abc"},
                      TTypingCase{"UpperCase", ekUpperCase, "aBc", "ABC"},
                      TTypingCase{"Password", ekPassword, "pw", "pw"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CellEditing, ANumericBoxChecksWhereTheCharacterGoes) {
  grid.SetCells(0, 0, "-5");
  SetKind(grid, ekSignedInteger);
  Show();
  Key(Qt::Key_F2);
  Key(Qt::Key_Home);
  Type("3");  // would stand before the minus
  Key(Qt::Key_End);
  Type("-");  // a second minus
  EXPECT_EQ(grid.Cells(0, 0), "-5");
  Key(Qt::Key_Home);
  Key(Qt::Key_Right);
  Type("4");
  EXPECT_EQ(grid.Cells(0, 0), "-45");
}

TEST_F(CellEditing, ANumericBoxKeepsBackspaceEnterAndEscape) {
  SetKind(grid, ekUnsignedInteger);
  grid.SetCells(0, 0, "12");
  Show();
  Type("a");  // refused, but the box is open on the text all selected
  ASSERT_TRUE(BoxOpen());
  EXPECT_EQ(grid.Cells(0, 0), "12");
  Type("34");
  Key(Qt::Key_Backspace);
  EXPECT_EQ(grid.Cells(0, 0), "3");
  Key(Qt::Key_Escape);
  EXPECT_EQ(grid.Cells(0, 0), "12");
  Key(Qt::Key_Return);
  EXPECT_FALSE(BoxOpen());
}

TEST_F(CellEditing, CapitalisingKeepsTheCaretWhereItWas) {
  SetKind(grid, ekCapitalised);
  grid.SetCells(0, 0, "Big Day");
  Show();
  Key(Qt::Key_F2);
  for (int i = 0; i < 4; ++i) Key(Qt::Key_Left);  // before " Day"
  Type("GER");
  EXPECT_EQ(grid.Cells(0, 0), "Bigger Day");
  Type("!");
  EXPECT_EQ(grid.Cells(0, 0), "Bigger! Day");
}

TEST_F(CellEditing, ASpecialEditorKindOpensItsEditorInsteadOfTheBox) {
  std::vector<int> askedColumns;
  grid.OnGetEditorType = [&](TObject*, int col, int, TEditorType& editor) {
    askedColumns.push_back(col);
    if (col == 1) editor = 2;  // a combo box
  };
  grid.HideColumn(0);  // displayed column 0 shows stored column 1
  Show();
  Type("x");
  EXPECT_FALSE(BoxOpen());
  ASSERT_NE(grid.SpecialEditor(), nullptr);
  EXPECT_EQ(grid.Cells(1, 0), "x");
  Key(Qt::Key_Return);
  EXPECT_EQ(grid.SpecialEditor(), nullptr);
  Key(Qt::Key_Right);
  Type("y");
  ASSERT_TRUE(BoxOpen());
  EXPECT_EQ(grid.Cells(2, 0), "y");
  EXPECT_EQ(askedColumns.front(), 1);
  EXPECT_EQ(askedColumns.back(), 2);
}

// --- The box's shape -----------------------------------------------------------------

QPlainTextEdit* MultiLine(TInplaceEdit* box) { return qobject_cast<QPlainTextEdit*>(box->Control()); }

TEST_F(CellEditing, TheBoxFollowsTheCellsAlignmentAndTheGridsWrapping) {
  grid.OnGetAlignment = [](TObject*, int, int col, TAlignment& alignment) {
    if (col == 1) alignment = taRightJustify;
  };
  Show();
  Key(Qt::Key_F2);
  ASSERT_NE(MultiLine(Box()), nullptr);
  EXPECT_FALSE(MultiLine(Box())->document()->defaultTextOption().alignment() & Qt::AlignRight);
  EXPECT_EQ(MultiLine(Box())->lineWrapMode(), QPlainTextEdit::NoWrap);
  Key(Qt::Key_Return);
  Key(Qt::Key_Right);
  Key(Qt::Key_F2);
  EXPECT_TRUE(MultiLine(Box())->document()->defaultTextOption().alignment() & Qt::AlignRight);
  EXPECT_EQ(BoxText(), "right");
  EXPECT_TRUE(Box()->Control()->hasFocus());
  Key(Qt::Key_Return);
  grid.SetWordWrap(true);
  Key(Qt::Key_Left);
  Key(Qt::Key_F2);
  EXPECT_EQ(MultiLine(Box())->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  EXPECT_FALSE(MultiLine(Box())->document()->defaultTextOption().alignment() & Qt::AlignRight);
  Type("!");
  EXPECT_EQ(grid.Cells(0, 0), "abc!");
}

TEST_F(CellEditing, APasswordKindIsASingleLineMaskedBox) {
  grid.OnGetEditorType = [](TObject*, int col, int, TEditorType& editor) {
    if (col == 1) editor = ekPassword;
  };
  Show();
  Key(Qt::Key_Right);
  Type("secret");
  auto* line = qobject_cast<QLineEdit*>(Box()->Control());
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->echoMode(), QLineEdit::Password);
  EXPECT_EQ(grid.Cells(1, 0), "secret");
  Key(Qt::Key_Return);
  Key(Qt::Key_Left);
  Key(Qt::Key_F2);
  EXPECT_NE(MultiLine(Box()), nullptr);
  EXPECT_EQ(BoxText(), "abc");
}

TEST_F(CellEditing, TheBoxTakesTheColoursOfTheCurrentCell) {
  grid.OnGetCellColor = [](TObject*, int row, int col, TGridDrawState state, TBrush& brush, TFont& font) {
    if (row == 0 && col == 1 && state.contains(gdFocused)) {
      brush.Color = clYellow;
      font.Color = clRed;
    }
  };
  Show();
  Key(Qt::Key_F2);
  EXPECT_EQ(Box()->Control()->palette().color(QPalette::Base), ToQColor(grid.Color()));
  Key(Qt::Key_Return);
  Key(Qt::Key_Right);
  Key(Qt::Key_F2);
  EXPECT_EQ(Box()->Control()->palette().color(QPalette::Base), ToQColor(clYellow));
  EXPECT_EQ(Box()->Control()->palette().color(QPalette::Text), ToQColor(clRed));
}

TEST_F(CellEditing, LookupHistoryGathersTheTextsLeftInTheBox) {
  grid.SetLookupHistory(true);
  Show();
  Type("x");
  Key(Qt::Key_Down);
  Key(Qt::Key_Up);  // "x" again: kept once
  Key(Qt::Key_Return);
  EXPECT_EQ(grid.LookupItems(), (std::vector<std::string>{"x", "below"}));
}

// --- The cell's bytes ------------------------------------------------------------------

TEST_F(CellEditing, OldBytesStayUntilTheUserTypes) {
  const std::string old = "caf\xE9";  // Windows-1252
  grid.SetCells(0, 0, old);
  grid.OnCellValidate = [](TObject*, int, int, std::string&, bool& valid) { valid = false; };
  Show();
  Key(Qt::Key_F2);
  EXPECT_EQ(BoxText(), "caf\xC3\xA9");
  Key(Qt::Key_Return);
  ClickCell(0, 0);
  Key(Qt::Key_Down);
  Key(Qt::Key_Up);
  Key(Qt::Key_Escape);
  Key(Qt::Key_Return);
  EXPECT_EQ(grid.Cells(0, 0), old);
  // Typed text is UTF-8; the invalid verdict brings back the old bytes.
  Key(Qt::Key_F2);
  Type("!");
  EXPECT_EQ(grid.Cells(0, 0), "caf\xC3\xA9!");
  Key(Qt::Key_Return);
  EXPECT_EQ(grid.Cells(0, 0), old);
  Key(Qt::Key_Down);
  EXPECT_EQ(grid.Cells(0, 0), old);
}

TEST_F(CellEditing, ATenMegabyteCellOpensAndTakesAKeystroke) {
  std::string big;
  for (int line = 0; big.size() < 10'000'000; ++line) big += "line " + std::to_string(line) + " of a long cell\r\n";
  grid.SetCells(0, 0, big);
  Show();
  Key(Qt::Key_F2);
  ASSERT_TRUE(BoxOpen());
  Type("!");
  const std::string cell = grid.Cells(0, 0);
  EXPECT_EQ(cell.size(), big.size() + 1);
  EXPECT_EQ(cell.substr(0, big.size()), big);
  EXPECT_EQ(cell.back(), '!');
  Key(Qt::Key_Escape);
  EXPECT_EQ(grid.Cells(0, 0), big);
}

// --- The clipboard ---------------------------------------------------------------------

struct TPasteCase {
  const char* name;
  TEditorType kind;
  const char* clip;
  const char* cell;  // after pasting into an empty cell
};

class KindPaste : public CellEditing, public ::testing::WithParamInterface<TPasteCase> {};

TEST_P(KindPaste, TakesShapesOrRefusesTheText) {
  SetKind(grid, GetParam().kind);
  grid.SetCells(0, 0, "");
  Show();
  Key(Qt::Key_F2);
  SetClipboardText(GetParam().clip);
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(grid.Cells(0, 0), GetParam().cell);
  EXPECT_EQ(BoxText(), GetParam().cell);
}

INSTANTIATE_TEST_SUITE_P(
    CellGridEdit, KindPaste,
    ::testing::Values(TPasteCase{"PlainKeepsLineBreaks", ekText, "a\nb", "a\r\nb"},
                      TPasteCase{"PlainKeepsCase", ekText, "AbC", "AbC"},
                      TPasteCase{"SignedIntegerTakesAnInteger", ekSignedInteger, "-42", "-42"},
                      TPasteCase{"SignedIntegerRefusesText", ekSignedInteger, "4x", ""},
                      TPasteCase{"IntegerRefusesWhatOverflows", ekSignedInteger, "99999999999", ""},
                      TPasteCase{"UnsignedIntegerTakesDigits", ekUnsignedInteger, "42", "42"},
                      TPasteCase{"UnsignedIntegerRefusesADecimal", ekUnsignedInteger, "4.2", ""},
                      TPasteCase{"DecimalTakesANumber", ekDecimal, "3,5", "3,5"},
                      TPasteCase{"DecimalRefusesTwoSeparators", ekDecimal, "3.5.1", ""},
                      TPasteCase{"Capitalised", ekCapitalised, "hello THERE", "Hello There"},
                      TPasteCase{"LowerCase", ekLowerCase, "ABC", "abc"},
                      TPasteCase{"UpperCase", ekUpperCase, "abc", "ABC"},
                      TPasteCase{"UpperTypedLeavesPastes", ekUpperTyped, "abc", "abc"},
                      TPasteCase{"PasswordTakesTheFirstLine", ekPassword, "one\ntwo", "one"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CellEditing, ANumericPasteIsJudgedByTheTextItMakes) {
  SetKind(grid, ekSignedInteger);
  grid.SetCells(0, 0, "5");
  Show();
  Key(Qt::Key_F2);
  SetClipboardText("-1");
  Key(Qt::Key_V, Qt::ControlModifier);  // "5-1"
  EXPECT_EQ(grid.Cells(0, 0), "5");
  Key(Qt::Key_Home);
  Key(Qt::Key_V, Qt::ControlModifier);  // "-15"
  EXPECT_EQ(grid.Cells(0, 0), "-15");
}

TEST_F(CellEditing, APasteReplacingTheSelectionEndsSelected) {
  Show();
  Key(Qt::Key_F2);
  Key(Qt::Key_Home);
  Key(Qt::Key_Right);
  Key(Qt::Key_Right, Qt::ShiftModifier);  // "b"
  SetClipboardText("X\nY");
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(grid.Cells(0, 0), "aX\r\nYc");
  EXPECT_EQ(BoxSelection(), "X\r\nY");
  Key(Qt::Key_End);
  Key(Qt::Key_Insert, Qt::ShiftModifier);  // no selection: inserted at the caret
  EXPECT_EQ(grid.Cells(0, 0), "aX\r\nYcX\r\nY");
  EXPECT_EQ(BoxSelection(), "");
  EXPECT_EQ(Box()->SelStart(), 10);
}

TEST_F(CellEditing, ClipboardEventsMayRefuse) {
  bool allowPaste = false;
  bool allowCopy = false;
  bool allowCut = false;
  std::vector<TObject*> senders;
  grid.OnClipboardPaste = [&](TObject* sender, bool& allow) {
    senders.push_back(sender);
    allow = allowPaste;
  };
  grid.OnClipboardCopy = [&](TObject*, bool& allow) { allow = allowCopy; };
  grid.OnClipboardCut = [&](TObject*, bool& allow) { allow = allowCut; };
  Show();
  Key(Qt::Key_F2);
  SetClipboardText("pasted");
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(grid.Cells(0, 0), "abc");
  allowPaste = true;
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(grid.Cells(0, 0), "abcpasted");
  EXPECT_EQ(senders, (std::vector<TObject*>{Box(), Box()}));

  Box()->SelectAll();
  Key(Qt::Key_C, Qt::ControlModifier);
  Key(Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(ClipboardText(), "pasted");
  EXPECT_EQ(grid.Cells(0, 0), "abcpasted");
  allowCopy = true;
  Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(ClipboardText(), "abcpasted");
  allowCut = true;
  Key(Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(grid.Cells(0, 0), "");
}

// --- The length limit --------------------------------------------------------------------

class LengthLimit : public CellEditing {
 protected:
  void SetUp() override {
    CellEditing::SetUp();
    grid.SetMaxEditLength(3);  // taken when the box is first made
    grid.SetCells(0, 0, "");
    Show();
  }
};

TEST_F(LengthLimit, DropsTypingBeyondItButNotBackspace) {
  Type("abcd");
  EXPECT_EQ(grid.Cells(0, 0), "abc");
  Key(Qt::Key_Backspace);
  Type("xy");
  EXPECT_EQ(grid.Cells(0, 0), "abx");
  Box()->SelectAll();
  Type("z");  // over a selection
  EXPECT_EQ(grid.Cells(0, 0), "z");
}

TEST_F(LengthLimit, WeighsAPasteByTheClipboardTextAlone) {
  Key(Qt::Key_F2);
  SetClipboardText("abcd");
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(grid.Cells(0, 0), "");
  Type("ab");
  SetClipboardText("ab");
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(grid.Cells(0, 0), "abab");
  SetClipboardText("a\nb");  // a line break counts two
  Box()->SelectAll();
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(grid.Cells(0, 0), "abab");
}

TEST_F(LengthLimit, AFullBoxStillEndsWithEnterAndCopies) {
  Type("abc");
  Box()->SelectAll();
  Key(Qt::Key_Right);  // caret at the end, nothing selected
  Key(Qt::Key_A, Qt::ControlModifier);
  Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(ClipboardText(), "abc");
  Key(Qt::Key_Right);
  Key(Qt::Key_Return);
  EXPECT_FALSE(BoxOpen());
  EXPECT_EQ(grid.Cells(0, 0), "abc");
}

TEST_F(LengthLimit, ABoxThatHasALimitKeepsIt) {
  Type("a");
  Key(Qt::Key_Return);
  grid.SetMaxEditLength(5);
  Key(Qt::Key_F2);
  Type("bcdef");
  EXPECT_EQ(grid.Cells(0, 0), "abc");
}

}  // namespace
}  // namespace kelvora
