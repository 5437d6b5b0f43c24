#include <QMouseEvent>
#include <QScreen>

#include "cell_grid_test_support.h"

namespace kelvora::grid_test {
namespace {

// The main window's grid, 50 columns of 115 pixels by 1000 rows of 21, in
// 400 x 300, scrolled away from both starts so that a pan can go any way.
class GridPan : public GridDriving {
 protected:
  void SetUp() override {
    ApplyMainWindowColumn(grid);
    grid.SetColCount(50);
    grid.SetRowCount(1000);
    for (int row = 0; row < 1000; ++row) grid.SetCells(0, row, std::to_string(row));
    Show();
    grid.SetLeftCol(20);
    grid.SetTopRow(500);
  }
  void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, grid.viewport()->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &event);
  }
  void Press(QPoint at, Qt::MouseButton button = Qt::MiddleButton) { Send(QEvent::MouseButtonPress, at, button, button); }
  void Release(QPoint at, Qt::MouseButton button = Qt::MiddleButton) { Send(QEvent::MouseButtonRelease, at, button, {}); }
  void Move(QPoint at, Qt::MouseButtons buttons = Qt::MiddleButton) { Send(QEvent::MouseMove, at, Qt::NoButton, buttons); }
  bool WaitFor(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, kPatience); }
  bool Shown(TPanArrow::TWay way) { return grid.Panner().Arrows().Arrow(way).isVisible(); }

  const QPoint origin{200, 150};
};

TEST_F(GridPan, EachIntelliPanScrollsTheWaysItAllowsAndShowsTheirArrows) {
  struct TCase {
    TIntelliPan pan;
    bool vertical;
    bool horizontal;
  };
  const TCase cases[] = {{ipBoth, true, true}, {ipVertical, true, false}, {ipHorizontal, false, true}, {ipNone, false, false}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.pan);
    grid.SetIntelliPan(c.pan);
    grid.SetLeftCol(20);
    grid.SetTopRow(500);
    Press(origin);
    EXPECT_EQ(grid.Panning(), c.vertical || c.horizontal);
    EXPECT_EQ(Shown(TPanArrow::pwUp), c.vertical);
    EXPECT_EQ(Shown(TPanArrow::pwDown), c.vertical);
    EXPECT_EQ(Shown(TPanArrow::pwLeft), c.horizontal);
    EXPECT_EQ(Shown(TPanArrow::pwRight), c.horizontal);
    Move(origin + QPoint(-60, 60));
    EXPECT_TRUE(!c.vertical || WaitFor([&] { return grid.TopRow() > 500; }));
    EXPECT_TRUE(!c.horizontal || WaitFor([&] { return grid.LeftCol() < 20; }));
    EXPECT_EQ(grid.TopRow() == 500, !c.vertical);
    EXPECT_EQ(grid.LeftCol() == 20, !c.horizontal);
    Release(origin + QPoint(-60, 60));
    EXPECT_FALSE(grid.Panning());
    EXPECT_FALSE(Shown(TPanArrow::pwUp) || Shown(TPanArrow::pwLeft));
  }
}

// A release after a drag ends the pan; after a click the pan goes on until
// the next click, which selects nothing, or a key, which reaches nothing.
TEST_F(GridPan, APanEndsOnReleaseAfterADragOnTheNextClickOrOnAKey) {
  grid.SetIntelliPan(ipVertical);
  Press(origin);
  Release(origin);
  EXPECT_TRUE(grid.Panning());
  Move(origin + QPoint(0, -40), Qt::NoButton);
  ASSERT_TRUE(WaitFor([&] { return grid.TopRow() < 500; }));
  const TGridCoord current{grid.Col(), grid.Row()};
  Press(origin, Qt::LeftButton);
  Release(origin, Qt::LeftButton);
  EXPECT_FALSE(grid.Panning());
  EXPECT_EQ((TGridCoord{grid.Col(), grid.Row()}), current);

  grid.SetRow(grid.TopRow() + 2);
  grid.ShowEditorChar(U'x');  // an edit is open, and Escape would revert it
  ASSERT_TRUE(BoxOpen());
  Press(origin);
  Release(origin);
  EXPECT_TRUE(grid.Panning());
  EXPECT_TRUE(BoxOpen());
  Key(Qt::Key_Escape);
  EXPECT_FALSE(grid.Panning());
  EXPECT_TRUE(BoxOpen());
  EXPECT_EQ(grid.EditorText(), "x");
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(GridPan, PanningStopsAtTheEnds) {
  grid.SetIntelliPan(ipBoth);
  grid.SetTopRow(0);
  grid.SetLeftCol(0);
  Press(origin);
  Move(origin + QPoint(-400, -400));
  grid.Panner().Step(1000);  // a second at full speed up and left
  EXPECT_EQ(grid.TopRow(), 0);
  EXPECT_EQ(grid.LeftCol(), 0);
  Move(origin + QPoint(400, 400));
  for (int i = 0; i < 5; ++i) grid.Panner().Step(1000);
  EXPECT_EQ(grid.LastVisibleRow(), 999);
  EXPECT_EQ(grid.LastVisibleCol(), 49);
  Release(origin);
  EXPECT_FALSE(grid.Panning());
}

TEST_F(GridPan, AMiddleClickOnALinkOpensNothing) {
  int clicks = 0;
  grid.OnAnchorClick = [&](TObject*, int, int, const std::string&, bool& autoHandle) {
    ++clicks;
    autoHandle = false;
  };
  grid.SetTopRow(0);
  grid.SetLeftCol(0);
  grid.SetCells(0, 0, "<A href=\"x\">link link link</A>");
  const TRect cell = grid.CellRect(0, 0);
  const QPoint onLink(cell.Left + 8, cell.Top + 8);
  Press(onLink);
  Release(onLink);
  EXPECT_EQ(clicks, 0);
  Press(onLink, Qt::LeftButton);  // ends the pan, and only that
  EXPECT_EQ(clicks, 0);
  Release(onLink, Qt::LeftButton);
  Press(onLink, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);  // the handler is the one a click reaches
}

// The view shifts its pixels as it scrolls, the arrows' among them, while
// the arrows stay at the origin: what the screen shows must be the arrows
// there and no copy of them above. Column 21 holds no text, so any arrow
// ink over it is an arrow.
TEST_F(GridPan, TheArrowsStayOnScreenAtTheOriginAsTheRowsScroll) {
  QWidget* window = grid.window();
  const auto onScreen = [&](QPoint inView) {
    const QImage screen = window->screen()->grabWindow(window->winId()).toImage();
    return screen.pixelColor(grid.viewport()->mapTo(window, inView));
  };
  Press(origin);
  Release(origin);
  const QWidget& down = grid.Panner().Arrows().Arrow(TPanArrow::pwDown);
  const QPoint inkOfDown = down.geometry().topLeft() + QPoint(TPanArrow::kSize / 2, TPanArrow::kSize / 2 - 2);
  Move(origin + QPoint(0, 60), Qt::NoButton);
  const QColor ink = down.palette().color(QPalette::Text);
  for (int step = 0; step < 6; ++step) {
    const int top = grid.TopRow();
    grid.Panner().Step(100);
    ASSERT_GT(grid.TopRow(), top);
    TPaintWatch watch(grid.viewport());
    ASSERT_TRUE(WaitForPaint(watch, 0));
    // The shifted copy and the arrow are painted again in passes of their
    // own, which a slow build may not have reached the screen with yet; a
    // copy that is never painted over stays wrong however long this waits.
    const auto arrowInPlace = [&] {
      if (onScreen(inkOfDown) != ink) return false;
      for (int above = 1; above <= 4; ++above)
        if (onScreen(inkOfDown - QPoint(0, 21 * above)) == ink) return false;
      return true;
    };
    EXPECT_TRUE(WaitFor(arrowInPlace)) << "step " << step;
  }
  Press(origin);
}

}  // namespace
}  // namespace kelvora::grid_test
