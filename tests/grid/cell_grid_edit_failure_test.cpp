#include <QLineEdit>
#include <QVBoxLayout>

#include <functional>
#include <string>
#include <vector>

#include "cell_grid_edit_support.h"
#include "toolkit/clipboard.h"
#include "toolkit/exceptions.h"

// A handler that throws shows its message once and leaves the grid as a
// person can go on with: the box usable, the cell holding the old or the
// new text, the current cell where it was or where it went, never between.
namespace kelvora {
namespace {

using grid_test::CellEditing;

// Throws on the handler's first call, then does nothing.
struct TOnce {
  bool thrown = false;
  void operator()() {
    if (thrown) return;
    thrown = true;
    throw Exception("the handler broke");
  }
};

struct TFailure {
  const char* name;
  std::function<void(grid_test::TTestCellGrid&, TOnce&)> install;
  std::function<void(CellEditing&)> act;  // after "x" was typed into (0,0)
  const char* cell;  // (0,0) afterwards
  int row;           // the current row afterwards
  bool boxOpen;
};

class ThrowingHandler : public CellEditing, public ::testing::WithParamInterface<TFailure> {};

TEST_P(ThrowingHandler, ShowsItsMessageOnceAndLeavesTheGridUsable) {
  TOnce once;
  Show();
  Type("x");
  GetParam().install(grid, once);
  GetParam().act(*this);
  EXPECT_TRUE(once.thrown);
  EXPECT_EQ(shown, std::vector<std::string>{"the handler broke."});
  EXPECT_EQ(grid.Cells(0, 0), GetParam().cell);
  EXPECT_EQ(grid.Row(), GetParam().row);
  ASSERT_EQ(BoxOpen(), GetParam().boxOpen);
  if (BoxOpen()) {
    EXPECT_EQ(BoxText(), grid.Cells(0, GetParam().row));
  }

  // The grid goes on: typing, Escape and Enter work as ever.
  if (!BoxOpen()) Key(Qt::Key_F2);
  ASSERT_TRUE(BoxOpen());
  Type("!");
  EXPECT_EQ(grid.Cells(0, grid.Row()), BoxText());
  Key(Qt::Key_Return);
  EXPECT_FALSE(BoxOpen());
  EXPECT_EQ(shown.size(), 1u);
}

void Validator(grid_test::TTestCellGrid& g, TOnce& once) {
  g.OnCellValidate = [&once](TObject*, int, int, std::string&, bool&) { once(); };
}

INSTANTIATE_TEST_SUITE_P(
    CellGridEdit, ThrowingHandler,
    ::testing::Values(
        TFailure{"CellValidateOnEnter", Validator, [](CellEditing& t) { t.Key(Qt::Key_Return); }, "x", 0, true},
        TFailure{"CellValidateOnAMove", Validator, [](CellEditing& t) { t.Key(Qt::Key_Down); }, "x", 0, true},
        TFailure{"CanEditCellOnAMove",
                 [](auto& g, TOnce& once) { g.OnCanEditCell = [&once](TObject*, int, int, bool&) { once(); }; },
                 [](CellEditing& t) { t.Key(Qt::Key_Down); }, "x", 0, true},
        TFailure{"CellChangingOnAClick",
                 [](auto& g, TOnce& once) {
                   g.OnCellChanging = [&once](TObject*, int, int, int, int, bool&) { once(); };
                 },
                 [](CellEditing& t) { t.ClickCell(0, 1); }, "x", 0, true},
        TFailure{"ClipboardPaste",
                 [](auto& g, TOnce& once) { g.OnClipboardPaste = [&once](TObject*, bool&) { once(); }; },
                 [](CellEditing& t) {
                   SetClipboardText("pasted");
                   t.Key(Qt::Key_V, Qt::ControlModifier);
                 },
                 "x", 0, true},
        TFailure{"EditorTypeOnTheNextCell",
                 [](auto& g, TOnce& once) {
                   g.OnGetEditorType = [&once](TObject*, int, int, TEditorType&) { once(); };
                 },
                 [](CellEditing& t) { t.Key(Qt::Key_Down); }, "x", 1, false},
        TFailure{"CellColourAsTheBoxTakesTheFocus",
                 [](auto& g, TOnce& once) {
                   g.OnGetCellColor = [&once](TObject*, int, int, TGridDrawState, TBrush&, TFont&) { once(); };
                 },
                 [](CellEditing& t) { t.Key(Qt::Key_Down); }, "x", 1, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CellEditing, AValidatorThatThrowsAsTheFocusLeavesShowsOneMessage) {
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* other = new QLineEdit;
  layout->addWidget(&grid);
  layout->addWidget(other);
  window.show();
  QApplication::setActiveWindow(&window);
  grid.setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return grid.hasFocus(); }, grid_test::kPatience));
  int calls = 0;
  grid.OnCellValidate = [&](TObject*, int, int, std::string&, bool&) {
    ++calls;
    throw Exception("the handler broke");
  };
  Type("x");
  other->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return other->hasFocus(); }, grid_test::kPatience));
  EXPECT_EQ(shown, std::vector<std::string>{"the handler broke."});
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(BoxOpen());
  EXPECT_FALSE(grid.EditorMode());
  EXPECT_EQ(grid.Cells(0, 0), "x");
  layout->removeWidget(&grid);
  grid.setParent(nullptr);
}

TEST_F(CellEditing, AThrowingValidatorIsAskedAgainAtTheNextEnter) {
  int calls = 0;
  grid.OnCellValidate = [&](TObject*, int, int, std::string&, bool& valid) {
    if (++calls == 1) throw Exception("the handler broke");
    valid = false;
  };
  Show();
  Type("x");
  Key(Qt::Key_Return);
  ASSERT_TRUE(BoxOpen());
  Key(Qt::Key_Return);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(grid.Cells(0, 0), "abc");
  EXPECT_TRUE(BoxOpen());
}

}  // namespace
}  // namespace kelvora
