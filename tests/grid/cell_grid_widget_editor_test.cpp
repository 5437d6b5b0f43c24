// The special editors in the real window: each kind opened each way and
// ended each way, through Qt's own widgets, with validation and Escape as
// the edit box has them.
#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cell_grid_edit_support.h"
#include "grid/edit/editor_kinds.h"
#include "toolkit/editors/edit_link.h"

namespace kelvora {
namespace {

// A kind, the text its cell starts with, the keys that change the value in
// the open editor and the text the cell then holds.
struct TKindCase {
  const char* name;
  TEditorType kind;
  const char* start;
  std::function<void(QWidget* focus)> edit;
  const char* edited;
};

void Keys(QWidget* focus, Qt::Key key) { QTest::keyClick(focus, key); }

const TKindCase kKinds[] = {
    {"SpinInteger", ekSpinInteger, "41", [](QWidget* f) { Keys(f, Qt::Key_Up); }, "42"},
    {"SpinDecimal", ekSpinDecimal, "1,5", [](QWidget* f) { Keys(f, Qt::Key_Up); }, "2,5"},
    {"SpinDate", ekSpinDate, "2009-03-05", [](QWidget* f) { Keys(f, Qt::Key_Up); }, "2010-03-05"},
    {"TimePicker", ekTimePicker, "09:05", [](QWidget* f) { Keys(f, Qt::Key_Up); }, "10:05"},
    {"DatePicker", ekDatePicker, "5 Mar 2009", [](QWidget* f) { Keys(f, Qt::Key_Up); }, "6 Mar 2009"},
    {"ComboText", ekComboText, "alpha", [](QWidget* f) { QTest::keyClicks(f, "zz"); }, "zz"},
    {"ComboList", ekComboList, "alpha", [](QWidget* f) { Keys(f, Qt::Key_Down); }, "beta"},
    {"Ellipsis", ekEllipsis, "abc", [](QWidget* f) { QTest::keyClicks(f, "q"); }, "q"},
    {"Unit", ekUnit, "12 kg", [](QWidget* f) { QTest::keyClicks(f, "5"); }, "5 kg"},
    {"CheckBox", ekCheckBox, "No", [](QWidget* f) { Keys(f, Qt::Key_Space); }, "Yes"},
    {"External", ekExternal, "abc", [](QWidget* f) { QTest::keyClicks(f, "q"); }, "q"},
};

enum class TEnd { Enter, Tab, Escape, FocusLoss, ClickElsewhere };

class SpecialEditors : public grid_test::CellEditing, public ::testing::WithParamInterface<TKindCase> {
 protected:
  void SetUp() override {
    CellEditing::SetUp();
    TGridOptions options = grid.Options();
    options.insert(goTabs);
    grid.SetOptions(options);
    grid.OnGetEditorType = [](TObject*, int col, int row, TEditorType& kind) {
      if (col == 0 && row == 0) kind = GetParam().kind;
    };
    grid.OnGetEditorItems = [](TObject*, int, int, std::vector<std::string>& items) {
      items = {"alpha", "beta", "gamma"};
    };
    grid.OnGetEditorProp = [this](TObject*, int, int, TEditLink* link) {
      link->Editor = &external;
      link->SetText = [this](const std::string& text) { external.setText(QString::fromStdString(text)); };
      link->GetText = [this] { return external.text().toStdString(); };
      link_ = link;
    };
    QObject::connect(&external, &QLineEdit::textEdited, &external, [this] {
      if (link_) link_->Changed();
    });
    grid.OnCellValidate = [this](TObject*, int, int, std::string& value, bool&) { validated.push_back(value); };
    grid.SetCells(0, 0, GetParam().start);
    layout->addWidget(&grid);
    layout->addWidget(other);
    window.resize(500, 300);
    window.show();
    QApplication::setActiveWindow(&window);
    grid.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid.hasFocus(); }, grid_test::kPatience));
  }
  void TearDown() override {
    grid.OnGetEditorProp = nullptr;
    grid.HideEditor();
    layout->removeWidget(&grid);
    grid.setParent(nullptr);
    CellEditing::TearDown();
  }

  void End(TEnd end) {
    switch (end) {
      case TEnd::Enter: Key(Qt::Key_Return); break;
      case TEnd::Tab: Key(Qt::Key_Tab); break;
      case TEnd::Escape: Key(Qt::Key_Escape); break;
      case TEnd::FocusLoss:
        other->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return other->hasFocus(); }, grid_test::kPatience));
        break;
      case TEnd::ClickElsewhere: ClickCell(1, 1); break;
    }
  }

  QLineEdit external;
  TEditLink* link_ = nullptr;
  QWidget window;
  QVBoxLayout* layout = new QVBoxLayout(&window);
  QLineEdit* other = new QLineEdit;
  std::vector<std::string> validated;
};

// Every way of opening leaves the cell as it was until the value changes;
// every way of ending but Escape keeps the change, validated once, and
// Escape puts the cell's text back.
TEST_P(SpecialEditors, OpenEditAndEndEveryWay) {
  const TKindCase& c = GetParam();
  const std::vector<std::pair<const char*, std::function<void()>>> openings = {
      {"F2", [&] { Key(Qt::Key_F2); }},
      {"Enter", [&] { Key(Qt::Key_Return); }},
      {"click", [&] { ClickCell(0, 0); }},
      {"DirectEdit",
       [&] {
         grid.MouseActions().DirectEdit = true;
         grid.SetRow(1);
         ClickCell(0, 0);
         grid.MouseActions().DirectEdit = false;
       }},
  };
  for (const auto& [opening, open] : openings) {
    for (const TEnd end : {TEnd::Enter, TEnd::Tab, TEnd::Escape, TEnd::FocusLoss, TEnd::ClickElsewhere}) {
      SCOPED_TRACE(std::string(opening) + " / end " + std::to_string(static_cast<int>(end)));
      grid.SetCells(0, 0, c.start);
      grid.SetCol(0);
      grid.SetRow(0);
      grid.setFocus();
      validated.clear();
      open();
      ASSERT_NE(grid.SpecialEditor(), nullptr);
      EXPECT_FALSE(BoxOpen());
      EXPECT_EQ(grid.Cells(0, 0), c.start);
      c.edit(FocusTarget());
      EXPECT_EQ(grid.Cells(0, 0), c.edited);
      End(end);
      EXPECT_EQ(grid.SpecialEditor(), nullptr);
      if (end == TEnd::Escape) {
        EXPECT_EQ(grid.Cells(0, 0), c.start);
        EXPECT_TRUE(validated.empty());
      } else {
        EXPECT_EQ(grid.Cells(0, 0), c.edited);
        EXPECT_EQ(validated, std::vector<std::string>{c.edited});
      }
      grid.HideEditor();
    }
  }
}

// The program's write reaches the open editor, and Escape does not undo it.
TEST_P(SpecialEditors, AProgramsWriteShowsAndStays) {
  const TKindCase& c = GetParam();
  Key(Qt::Key_F2);
  ASSERT_NE(grid.SpecialEditor(), nullptr);
  grid.SetCells(0, 0, c.edited);
  Key(Qt::Key_Escape);
  EXPECT_EQ(grid.Cells(0, 0), c.edited);
  EXPECT_TRUE(validated.empty());
}

INSTANTIATE_TEST_SUITE_P(CellGrid, SpecialEditors, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return std::string(info.param.name); });

// --- The rest of the kinds' rules ----------------------------------------------------------

class SpecialEditorRules : public grid_test::CellEditing {
 protected:
  void Kind(TEditorType kind) {
    grid.OnGetEditorType = [kind](TObject*, int, int, TEditorType& editor) { editor = kind; };
  }
};

// Typing opens the editor with the character typed into it, as the box is.
TEST_F(SpecialEditorRules, TheOpeningCharacterIsTypedIntoTheEditor) {
  struct TCase {
    TEditorType kind;
    const char* typed;
    const char* cell;
  };
  const TCase cases[] = {
      {ekSpinInteger, "7", "7"}, {ekComboText, "zy", "zy"},          {ekEllipsis, "qr", "qr"},
      {ekUnit, "3m", "3 m"},     {ekEllipsisNumber, "-1a,5", "-1,5"}};
  Show();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.kind);
    Kind(c.kind);
    grid.SetCells(0, 0, "12 kg");
    Type(c.typed);
    EXPECT_EQ(grid.Cells(0, 0), c.cell);
    Key(Qt::Key_Return);
  }
}

// Letters in a number's cell are kept, shown and written only once the
// value changes.
TEST_F(SpecialEditorRules, ATextTheEditorCannotReadIsKept) {
  Kind(ekSpinInteger);
  grid.SetCells(0, 0, "many");
  Show();
  Key(Qt::Key_F2);
  ASSERT_NE(grid.SpecialEditor(), nullptr);
  EXPECT_EQ(grid.Cells(0, 0), "many");
  Key(Qt::Key_Return);
  EXPECT_EQ(grid.Cells(0, 0), "many");
}

TEST_F(SpecialEditorRules, ButtonsFireTheirEvents) {
  std::vector<std::string> events;
  grid.OnEllipsisClick = [&](TObject*, int col, int row, std::string& text) {
    events.push_back("ellipsis " + std::to_string(col) + "," + std::to_string(row) + " " + text);
    text = "picked";
  };
  grid.OnButtonClick = [&](TObject*, int, int) { events.push_back("button"); };
  grid.OnUnitClick = [&](TObject*, int, int, std::string& unit) { unit = unit == "kg" ? "g" : "kg"; };
  Show();
  for (const TEditorType kind : {ekEllipsis, ekButton, ekUnit}) {
    Kind(kind);
    grid.SetCells(0, 0, "12 kg");
    Key(Qt::Key_F2);
    ASSERT_NE(grid.SpecialEditor(), nullptr);
    auto* button = grid.SpecialEditor()->findChild<QAbstractButton*>();
    ASSERT_NE(button, nullptr);
    button->click();
    Key(Qt::Key_Return);
  }
  EXPECT_EQ(events, (std::vector<std::string>{"ellipsis 0,0 12 kg", "button"}));
  EXPECT_EQ(grid.Cells(0, 0), "12 g");
}

// A drop-down opens from the keyboard, and Escape closes it before it
// closes the editor.
TEST_F(SpecialEditorRules, DropDownsOpenWithTheKeyboardAndCloseFirst) {
  grid.OnGetEditorItems = [](TObject*, int, int, std::vector<std::string>& items) { items = {"abc", "def"}; };
  Show();
  for (const TEditorType kind : {ekComboList, ekDatePicker}) {
    for (const Qt::Key key : {Qt::Key_F4, Qt::Key_Down}) {
      SCOPED_TRACE(std::to_string(kind) + (key == Qt::Key_F4 ? " F4" : " Alt+Down"));
      Kind(kind);
      Key(Qt::Key_F2);
      ASSERT_NE(grid.SpecialEditor(), nullptr);
      Key(key, key == Qt::Key_F4 ? Qt::NoModifier : Qt::AltModifier);
      QWidget* popup = QApplication::activePopupWidget();
      ASSERT_NE(popup, nullptr);
      QTest::keyClick(popup, Qt::Key_Escape);
      EXPECT_TRUE(QTest::qWaitFor([] { return !QApplication::activePopupWidget(); }, grid_test::kPatience));
      EXPECT_NE(grid.SpecialEditor(), nullptr);
      Key(Qt::Key_Escape);
      EXPECT_EQ(grid.SpecialEditor(), nullptr);
    }
  }
}

// A handler that throws while the editor opens leaves no editor and shows
// its message once.
TEST_F(SpecialEditorRules, AThrowingHandlerOpensNothing) {
  Kind(ekComboList);
  grid.OnGetEditorItems = [](TObject*, int, int, std::vector<std::string>&) { throw std::runtime_error("no list"); };
  Show();
  Key(Qt::Key_F2);
  EXPECT_EQ(grid.SpecialEditor(), nullptr);
  EXPECT_EQ(shown.size(), 1u);
  EXPECT_EQ(grid.Cells(0, 0), "abc");
}

// Each editor tells a screen reader which cell it edits.
TEST_F(SpecialEditorRules, TheEditorIsNamedAfterItsCell) {
  Kind(ekSpinInteger);
  grid.ColumnHeaders() = {"Day"};
  Show();
  Key(Qt::Key_F2);
  ASSERT_NE(grid.SpecialEditor(), nullptr);
  auto* spin = grid.SpecialEditor()->findChild<QAbstractSpinBox*>();
  ASSERT_NE(spin, nullptr);
  EXPECT_EQ(spin->accessibleName(), "Day, row 1");
}

}  // namespace
}  // namespace kelvora
