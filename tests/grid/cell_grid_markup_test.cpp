#include <gtest/gtest.h>

#include <QMouseEvent>

#include <string>
#include <vector>

#include "cell_grid_test_support.h"
#include "toolkit/web_link.h"

namespace kelvora {
namespace {

using grid_test::ApplyMainWindowColumn;
using grid_test::kPatience;
using grid_test::LayOut;
using grid_test::TPaintWatch;
using grid_test::TTestCellGrid;
using testing::Has;

// The main window's font is 9 pixels high: on the recording surface a byte
// is 4 pixels wide and a line 11 high.
constexpr int w = 4;

TEST(CellGridMarkup, ColumnsFitTheirMarkupAsTheRendererMeasuresIt) {
  TTestCellGrid grid;
  ApplyMainWindowColumn(grid);
  grid.SetRowCount(3);
  grid.SetCells(0, 0, "<B>ab</B><BR>abcdef");
  grid.SetCells(0, 1, "<FONT size=\"15\">abc</FONT></B>");  // 20 pixels: 10 a byte
  grid.SetCells(0, 2, "x");
  grid.FitColumnsToText(true, 2);
  EXPECT_EQ(grid.ColWidths(0), 30 + 4 + 2);
  EXPECT_EQ(grid.CellTextExtent(0, 0), (TSize{6 * w, 22}));
  // Without mark-up the tags are text.
  grid.SetEnableHTML(false);
  grid.FitColumnsToText(true, 2);
  EXPECT_EQ(grid.ColWidths(0), 30 * w + 4 + 2);
}

TEST(CellGridMarkup, CellsHandTheirMarkupToTheRendererInTheirTextRectangle) {
  TTestCellGrid grid;
  ApplyMainWindowColumn(grid);
  grid.SetColCount(2);
  grid.SetRowCount(2);
  LayOut(grid);
  grid.SetCells(1, 1, "<B>ab</B> <A href=\"http://x\">l</A>");
  grid.SetCells(1, 0, "<BLINK>bl</BLINK>");
  TRecordingCanvas canvas;
  grid.PaintTo(canvas, {0, 0, 400, 300});
  // Cell (1, 1) spans 116..231 x 22..43.
  const std::string flags = " flags=SingleLine|Bottom|NoPrefix|ExpandTabs|NoClip font=MS Sans Serif/-9/";
  EXPECT_TRUE(Has(canvas, "DrawText \"ab\" 118,24,126,35" + flags + "clNavy/B")) << canvas.Text();
  EXPECT_TRUE(Has(canvas, "DrawText \"l\" 130,24,134,35" + flags + "clBlue/U")) << canvas.Text();
  // The blink phase starts off: the blinking text takes the cell's white.
  EXPECT_FALSE(grid.BlinkPhase());
  EXPECT_TRUE(Has(canvas, "DrawText \"bl\" 118,2,126,13" + flags + "clWhite")) << canvas.Text();
}

// A cell is repainted with the grid line after it.
QRect WithLine(const TRect& r) { return QRect(r.Left, r.Top, r.Width() + 1, r.Height() + 1); }

TEST(CellGridMarkup, EachTickRepaintsTheBlinkingCellsInViewAndNoOthers) {
  TTestCellGrid grid;
  ApplyMainWindowColumn(grid);
  grid.SetColCount(3);
  grid.SetRowCount(1000);
  grid.SetCells(0, 0, "<BLINK>a</BLINK>");
  grid.SetCells(2, 3, "x <blInk>b</BLINK>");
  grid.SetCells(1, 1, "<B>not blinking</B>");
  grid.SetCells(0, 900, "<BLINK>out of view</BLINK>");
  grid.ShowFocused(400, 300);
  TPaintWatch watch(grid.viewport());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !watch.Regions.empty(); }, kPatience));
  watch.Forget();
  const bool phase = grid.BlinkPhase();
  ASSERT_TRUE(QTest::qWaitFor([&] { return grid.BlinkPhase() != phase && !watch.Regions.empty(); }, kPatience));
  const QRegion expected = QRegion(WithLine(grid.CellRect(0, 0))) + QRegion(WithLine(grid.CellRect(2, 3)));
  EXPECT_EQ(watch.Regions.front(), expected);
}

TEST(CellGridMarkup, ATickRepaintsNothingWhenNothingBlinks) {
  TTestCellGrid grid;
  ApplyMainWindowColumn(grid);
  grid.SetCells(0, 0, "<B>still</B>");
  grid.ShowFocused(400, 300);
  TPaintWatch watch(grid.viewport());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !watch.Regions.empty(); }, kPatience));
  watch.Forget();
  const bool phase = grid.BlinkPhase();
  ASSERT_TRUE(QTest::qWaitFor([&] { return grid.BlinkPhase() != phase; }, kPatience));
  ASSERT_TRUE(QTest::qWaitFor([&] { return grid.BlinkPhase() == phase; }, kPatience));
  EXPECT_TRUE(watch.Regions.empty());
}

struct TAnchorEvent {
  std::string kind;
  int row;
  int col;
  std::string anchor;
};

class CellGridAnchors : public ::testing::Test {
 protected:
  void SetUp() override {
    ApplyMainWindowColumn(grid);
    grid.SetColCount(2);
    grid.SetRowCount(5);
    // "go " stands at 2..14 and "here" at 14..30, 2..13 high, in cell (0, 0).
    grid.SetCells(0, 0, "go <A href=\"http://example.org/\">here</A>");
    grid.SetCells(0, 2, "<A href=\"file:///etc/passwd\">file</A> <A href=\"javascript:x\">js</A>");
    grid.OnAnchorEnter = [this](TObject*, int row, int col, const std::string& a) { events.push_back({"enter", row, col, a}); };
    grid.OnAnchorExit = [this](TObject*, int row, int col, const std::string& a) { events.push_back({"exit", row, col, a}); };
    grid.OnAnchorClick = [this](TObject*, int row, int col, const std::string& a, bool& autoHandle) {
      events.push_back({"click", row, col, a});
      autoHandle = autoHandleLinks;
    };
    grid.ShowFocused(400, 300);
  }

  void Move(QPoint at) {
    QMouseEvent event(QEvent::MouseMove, at, grid.viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &event);
  }
  void Click(QPoint at) { QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, at); }
  Qt::CursorShape Cursor() const { return grid.viewport()->cursor().shape(); }

  TTestCellGrid grid;
  std::vector<TAnchorEvent> events;
  bool autoHandleLinks = true;
  std::vector<std::string> opened;
  TWebLinkOpenerGuard opener{[this](const std::string& url) {
    opened.push_back(url);
    return true;
  }};
};

TEST_F(CellGridAnchors, MovingOverALinkShowsTheHandAndFiresEnterAndExit) {
  Move({20, 7});
  EXPECT_EQ(Cursor(), Qt::PointingHandCursor);
  Move({22, 8});  // still the same link: no new event
  Move({6, 7});
  EXPECT_NE(Cursor(), Qt::PointingHandCursor);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, "enter");
  EXPECT_EQ(events[0].row, 0);
  EXPECT_EQ(events[0].col, 0);
  EXPECT_EQ(events[0].anchor, "http://example.org/");
  EXPECT_EQ(events[1].kind, "exit");
  EXPECT_EQ(events[1].anchor, "http://example.org/");
}

TEST_F(CellGridAnchors, AClickOnAWebLinkOpensItWithoutMovingTheCurrentCell) {
  grid.SetRow(3);
  Click({20, 7});
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().kind, "click");
  EXPECT_EQ(events.back().anchor, "http://example.org/");
  EXPECT_EQ(opened, std::vector<std::string>{"http://example.org/"});
  EXPECT_EQ(grid.Row(), 3);
  // Beside the link the click is an ordinary one.
  Click({60, 7});
  EXPECT_EQ(grid.Row(), 0);
}

TEST_F(CellGridAnchors, OnlyWebAndMailLinksAreEverOpened) {
  Click({10, 2 * 22 + 7});  // file:///etc/passwd
  Click({26, 2 * 22 + 7});  // javascript:x
  EXPECT_EQ(events.size(), 2u);
  EXPECT_TRUE(opened.empty());
  autoHandleLinks = false;
  Click({20, 7});
  EXPECT_TRUE(opened.empty());
}

TEST(WebLinks, AreOnlyHttpHttpsAndMailto) {
  for (const char* link : {"http://a.b/", "HTTPS://a.b/c?d", "mailto:me@a.b"}) EXPECT_TRUE(IsWebOrMailLink(link)) << link;
  for (const char* link : {"file:///etc/passwd", "/etc/passwd", " http://a.b/", "javascript:alert(1)", "ftp://a.b",
                           "httpx://a", "", "http://a b/", "mailto", "smb://host/share", "http://\x01"})
    EXPECT_FALSE(IsWebOrMailLink(link)) << link;
}

}  // namespace
}  // namespace kelvora
