#include <QStyle>

#include <functional>
#include <string>
#include <vector>

#include "cell_grid_test_support.h"

namespace kelvora {
namespace {

using grid_test::ApplyMainWindowColumn;

std::string Text(bool v) { return v ? "true" : "false"; }
std::string Text(int v) { return std::to_string(v); }
std::string Text(const std::string& v) { return "\"" + v + "\""; }
std::string Text(const TFont& f) {
  return f.Name + "/" + std::to_string(f.Height) + "/" + ColorToString(f.Color);
}
std::string Colour(TColor c) { return ColorToString(c); }

// One published setting: how to read it, its value on a grid just made, and
// its value once the main window's description is applied ("" where the
// description leaves the construction value).
struct TSetting {
  const char* name;
  std::function<std::string(TCellGrid&)> read;
  std::string constructed;
  std::string mainWindow;
};

const std::vector<TSetting>& Settings() {
  static const std::vector<TSetting> settings = {
      {"ColCount", [](TCellGrid& g) { return Text(g.ColCount()); }, "5", "1"},
      {"RowCount", [](TCellGrid& g) { return Text(g.RowCount()); }, "5", "1"},
      {"FixedCols", [](TCellGrid& g) { return Text(g.FixedCols()); }, "1", "0"},
      {"FixedRows", [](TCellGrid& g) { return Text(g.FixedRows()); }, "1", "0"},
      {"DefaultColWidth", [](TCellGrid& g) { return Text(g.DefaultColWidth()); }, "64", "115"},
      {"DefaultRowHeight", [](TCellGrid& g) { return Text(g.DefaultRowHeight()); }, "21", "21"},
      {"EnableHTML", [](TCellGrid& g) { return Text(g.EnableHTML()); }, "true", "true"},
      {"EnableWheel", [](TCellGrid& g) { return Text(g.EnableWheel()); }, "true", "true"},
      {"EnableGraphics", [](TCellGrid& g) { return Text(g.EnableGraphics()); }, "false", "false"},
      {"OleAcceptFiles", [](TCellGrid& g) { return Text(g.OleAcceptFiles()); }, "true", "true"},
      {"OleAcceptText", [](TCellGrid& g) { return Text(g.OleAcceptText()); }, "true", "true"},
      {"OleDropTarget", [](TCellGrid& g) { return Text(g.OleDropTarget()); }, "false", ""},
      {"SortFull", [](TCellGrid& g) { return Text(g.SortFull()); }, "true", "true"},
      {"SortAutoFormat", [](TCellGrid& g) { return Text(g.SortAutoFormat()); }, "true", "true"},
      {"IntelliZoom", [](TCellGrid& g) { return Text(g.IntelliZoom()); }, "true", ""},
      {"IntelliPan", [](TCellGrid& g) { return Text(g.IntelliPan() == ipBoth ? 0 : g.IntelliPan() == ipVertical ? 1 : 2); }, "0", "1"},
      {"ShowSelection", [](TCellGrid& g) { return Text(g.ShowSelection()); }, "true", ""},
      {"HideFocusRect", [](TCellGrid& g) { return Text(g.HideFocusRect()); }, "false", "false"},
      {"FixedAsButtons", [](TCellGrid& g) { return Text(g.FixedAsButtons()); }, "false", "false"},
      {"AutoSize", [](TCellGrid& g) { return Text(g.AutoSize()); }, "false", "false"},
      {"VAlignment", [](TCellGrid& g) { return Text(g.VAlignment() == vtaTop); }, "true", "true"},
      {"HintColor", [](TCellGrid& g) { return Colour(g.HintColor()); }, "clYellow", "clYellow"},
      {"SelectionColor", [](TCellGrid& g) { return Colour(g.SelectionColor()); }, "clHighlight", "clHighlight"},
      {"SelectionTextColor", [](TCellGrid& g) { return Colour(g.SelectionTextColor()); }, "clHighlightText", "clHighlightText"},
      {"URLColor", [](TCellGrid& g) { return Colour(g.URLColor()); }, "clBlue", "clBlue"},
      {"ScrollType", [](TCellGrid& g) { return Text(g.ScrollType() == ssNormal); }, "true", "true"},
      {"ScrollColor", [](TCellGrid& g) { return Colour(g.ScrollColor()); }, "clNone", "clActiveBorder"},
      {"FloatFormat", [](TCellGrid& g) { return Text(g.FloatFormat()); }, "\"%.2f\"", "\"%.2f\""},
      {"SizeWithForm", [](TCellGrid& g) { return Text(g.SizeWithForm()); }, "false", "true"},
      {"Navigation.AllowDeleteRow", [](TCellGrid& g) { return Text(g.Navigation().AllowDeleteRow); }, "false", "true"},
      {"Navigation.AllowClipboardRowGrow", [](TCellGrid& g) { return Text(g.Navigation().AllowClipboardRowGrow); }, "false", "true"},
      {"Navigation.AllowClipboardColGrow", [](TCellGrid& g) { return Text(g.Navigation().AllowClipboardColGrow); }, "false", "true"},
      {"Navigation.CopyHTMLTagsToClipboard", [](TCellGrid& g) { return Text(g.Navigation().CopyHTMLTagsToClipboard); }, "false", "true"},
      {"HTMLSettings.Width", [](TCellGrid& g) { return Text(g.HTMLSettings().Width); }, "100", "100"},
      {"Bands.Active", [](TCellGrid& g) { return Text(g.Bands().Active()); }, "false", "false"},
      {"Bands.PrimaryColor", [](TCellGrid& g) { return Colour(g.Bands().PrimaryColor()); }, "clInfoBk", "clInfoBk"},
      {"Bands.SecondaryColor", [](TCellGrid& g) { return Colour(g.Bands().SecondaryColor()); }, "clWindow", "clWindow"},
      {"Bands.PrimaryLength", [](TCellGrid& g) { return Text(g.Bands().PrimaryLength()); }, "1", "1"},
      {"Bands.SecondaryLength", [](TCellGrid& g) { return Text(g.Bands().SecondaryLength()); }, "1", "1"},
      {"CellNode.Color", [](TCellGrid& g) { return Colour(g.CellNode().Color); }, "clSilver", "clSilver"},
      {"CellNode.NodeColor", [](TCellGrid& g) { return Colour(g.CellNode().NodeColor); }, "clBlack", "clBlack"},
      {"FixedFont", [](TCellGrid& g) { return Text(g.FixedFont()); }, "", "MS Sans Serif/-11/clWindowText"},
      {"Font", [](TCellGrid& g) { return Text(g.Font()); }, "", "MS Sans Serif/-9/clNavy"},
      {"Color", [](TCellGrid& g) { return Colour(g.Color()); }, "", "clWhite"},
      {"FixedColWidth", [](TCellGrid& g) { return Text(g.FixedColWidth()); }, "64", "115"},
      {"FixedRowHeight", [](TCellGrid& g) { return Text(g.FixedRowHeight()); }, "21", "21"},
      {"Align", [](TCellGrid& g) { return Text(g.Align() == alClient); }, "false", "true"},
      {"Multilinecells", [](TCellGrid& g) { return Text(g.Multilinecells()); }, "false", ""},
      {"WordWrap", [](TCellGrid& g) { return Text(g.WordWrap()); }, "false", ""},
      {"URLShow", [](TCellGrid& g) { return Text(g.URLShow()); }, "false", ""},
      {"OemConvert", [](TCellGrid& g) { return Text(g.OemConvert()); }, "false", ""},
      {"MaxEditLength", [](TCellGrid& g) { return Text(g.MaxEditLength()); }, "0", ""},
      {"FixedRightCols", [](TCellGrid& g) { return Text(g.FixedRightCols()); }, "0", ""},
      {"FixedFooters", [](TCellGrid& g) { return Text(g.FixedFooters()); }, "0", ""},
      {"FixedColAlways", [](TCellGrid& g) { return Text(g.FixedColAlways()); }, "false", ""},
      {"FixedRowAlways", [](TCellGrid& g) { return Text(g.FixedRowAlways()); }, "false", ""},
      {"HiddenColumnCount", [](TCellGrid& g) { return Text(g.HiddenColumnCount()); }, "0", ""},
      {"FieldDelimiter", [](TCellGrid& g) { return Text(static_cast<int>(g.FieldDelimiter)); }, "0", ""},
      {"IncludeFixedCells", [](TCellGrid& g) { return Text(g.IncludeFixedCells); }, "true", ""},
      {"IncludeHiddenColumns", [](TCellGrid& g) { return Text(g.IncludeHiddenColumns); }, "false", ""},
      {"CaretTildeEncoding", [](TCellGrid& g) { return Text(g.CaretTildeEncoding); }, "false", ""},
  };
  return settings;
}

TEST(CellGridDefaults, AGridJustMadeHoldsTheConstructionDefaults) {
  TCellGrid grid;
  for (const TSetting& setting : Settings()) {
    if (setting.constructed.empty()) continue;
    EXPECT_EQ(setting.read(grid), setting.constructed) << setting.name;
  }
}

TEST(CellGridDefaults, TheMainWindowColumnIsAppliedOverTheDefaults) {
  TCellGrid grid;
  ApplyMainWindowColumn(grid);
  for (const TSetting& setting : Settings()) {
    const std::string& expected = setting.mainWindow.empty() ? setting.constructed : setting.mainWindow;
    if (expected.empty()) continue;
    EXPECT_EQ(setting.read(grid), expected) << setting.name;
  }
  // One empty cell, every column at the form's default width.
  EXPECT_EQ(grid.Cells(0, 0), "");
  EXPECT_EQ(grid.ColWidths(0), 115);
  EXPECT_EQ(grid.RowHeights(0), 21);
  EXPECT_TRUE(grid.Options().contains(goEditing));
  EXPECT_FALSE(grid.Options().contains(goRowSelect));
}

TEST(CellGridDefaults, TheScrollWidthIsTheSystemsScrollBarWidth) {
  TCellGrid grid;
  EXPECT_EQ(grid.ScrollWidth(), grid.style()->pixelMetric(QStyle::PM_ScrollBarExtent));
  EXPECT_EQ(grid.WheelScrollLines(), std::max(QApplication::wheelScrollLines(), 1));
}

TEST(CellGridDefaults, EveryColumnIsVisibleAtFirst) {
  TCellGrid grid;
  for (int col = 0; col < TCellGrid::kHideableColumns; ++col) {
    ASSERT_FALSE(grid.IsHiddenColumn(col)) << col;
    ASSERT_EQ(grid.DisplayToDataColumn(col), col);
  }
}

TEST(CellGridDefaults, TheNavigationOptionsOfTheKeyboardStartOff) {
  TCellGrid grid;
  const TNavigation& n = grid.Navigation();
  for (bool option : {n.AllowInsertRow, n.AllowDeleteRow, n.AdvanceOnEnter, n.AdvanceInsert,
                      n.AllowClipboardShortCuts, n.AutoGotoWhenSorted, n.AutoGotoIncremental,
                      n.AlwaysEdit, n.AdvanceAuto, n.CursorWalkEditor, n.LineFeedOnEnter})
    EXPECT_FALSE(option);
  EXPECT_EQ(n.AdvanceDirection, adLeftRight);
  EXPECT_EQ(n.InsertPosition, pInsertBefore);
  EXPECT_FALSE(grid.MouseActions().DirectEdit);
  EXPECT_FALSE(grid.MouseActions().DisjunctRowSelect);
  EXPECT_FALSE(grid.SizeWhileTyping().Width);
  EXPECT_FALSE(grid.ColumnSize().Save);
  EXPECT_TRUE(grid.BackGround().Bitmap.Empty());
  EXPECT_EQ(grid.BackGround().Display, bdTile);
  EXPECT_EQ(grid.BackGround().Cells, bcNormal);
  EXPECT_TRUE(grid.LookupItems().empty());
}

TEST(CellGridLifecycle, LoadingAppliesTheHeaderListsToTheFirstRowAndColumn) {
  TCellGrid grid;
  grid.ColumnHeaders() = {"", "Day", "Month"};
  grid.RowHeaders() = {"", "first", "second"};
  grid.Loaded();
  EXPECT_EQ(grid.Cells(1, 0), "Day");
  EXPECT_EQ(grid.Cells(2, 0), "Month");
  EXPECT_EQ(grid.Cells(0, 1), "first");
  EXPECT_EQ(grid.Cells(0, 2), "second");
}

TEST(CellGridLifecycle, TheTimerStartsWithTheWindowAndTogglesTheBlinkPhase) {
  grid_test::TTestCellGrid grid;
  const bool phase = grid.BlinkPhase();
  grid.show();
  EXPECT_TRUE(QTest::qWaitFor([&] { return grid.BlinkPhase() != phase; }, grid_test::kPatience));
}

// The grid keeps an eye on its form's size and lets every other listener
// see the resize too; it stops watching when it goes, whichever goes first.
TEST(CellGridLifecycle, FollowsItsFormWithoutTakingItsResizeAway) {
  QWidget form;
  form.resize(250, 289);
  int formResizes = 0;
  struct TResizeCounter : QObject {
    int* count;
    explicit TResizeCounter(int* c) : count(c) {}
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Resize) ++*count;
      return false;
    }
  } counter(&formResizes);
  form.installEventFilter(&counter);
  auto* grid = new TCellGrid(&form);
  EXPECT_EQ(grid->OwnerFormSize().cx, 250);
  EXPECT_EQ(grid->OwnerFormSize().cy, 289);
  QResizeEvent resize(QSize(300, 320), QSize(250, 289));
  QCoreApplication::sendEvent(&form, &resize);
  EXPECT_EQ(formResizes, 1);
  delete grid;
  QCoreApplication::sendEvent(&form, &resize);
  EXPECT_EQ(formResizes, 2);
}

}  // namespace
}  // namespace kelvora
