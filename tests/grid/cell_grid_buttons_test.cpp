#include <QMouseEvent>

#include "cell_grid_test_support.h"

namespace kelvora::grid_test {
namespace {

using testing::CallsStartingWith;

// The grid as made: one fixed row and column, cells of 64 x 21.
class GridButtons : public GridDriving {
 protected:
  void SetUp() override {
    grid.SetOptions(grid.Options().insert(goColSizing));
    Show();
  }
  void Send(QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, grid.viewport()->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      buttons, Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &event);
  }
  // The lines drawn over one cell.
  std::vector<std::string> LinesOf(int col, int row) {
    TRecordingCanvas canvas;
    const TRect r = grid.CellRect(col, row);
    grid.PaintTo(canvas, {r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2});
    std::vector<std::string> lines = CallsStartingWith(canvas, "LineTo");
    for (const std::string& pen : CallsStartingWith(canvas, "Pen")) lines.push_back(pen);
    return lines;
  }
  QPoint Inside(int col, int row) {
    const TRect r = grid.CellRect(col, row);
    return {r.Left + 10, r.Top + 5};
  }
};

// Raised as a button, pressed while the button is down on the cell and the
// mouse on it, raised again once it slides off or comes up.
TEST_F(GridButtons, AFixedCellIsPressedWhileTheMouseIsDownOnIt) {
  const std::vector<std::string> plain = LinesOf(2, 0);
  grid.SetFixedAsButtons(true);
  const std::vector<std::string> raised = LinesOf(2, 0);
  const std::vector<std::string> neighbour = LinesOf(3, 0);
  EXPECT_NE(raised, plain);
  Send(QEvent::MouseButtonPress, Inside(2, 0), Qt::LeftButton);
  const std::vector<std::string> pressed = LinesOf(2, 0);
  EXPECT_NE(pressed, raised);
  EXPECT_EQ(LinesOf(3, 0), neighbour);  // only the one held down
  Send(QEvent::MouseMove, Inside(3, 2), Qt::LeftButton);
  EXPECT_EQ(LinesOf(2, 0), raised);
  Send(QEvent::MouseMove, Inside(2, 0), Qt::LeftButton);
  EXPECT_EQ(LinesOf(2, 0), pressed);
  Send(QEvent::MouseButtonRelease, Inside(2, 0), Qt::NoButton);
  EXPECT_EQ(LinesOf(2, 0), raised);

  const std::vector<std::string> normal = LinesOf(2, 2);
  Send(QEvent::MouseButtonPress, Inside(2, 2), Qt::LeftButton);  // a normal cell is no button
  EXPECT_EQ(LinesOf(2, 2), normal);
  Send(QEvent::MouseButtonRelease, Inside(2, 2), Qt::NoButton);
}

TEST_F(GridButtons, ADoubleClickOnAColumnBorderFitsTheColumn) {
  grid.SetCells(1, 3, std::string(40, 'w'));
  const TRect header = grid.CellRect(1, 0);
  QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, QPoint(header.Left + 10, header.Top + 5));
  EXPECT_EQ(grid.ColWidths(1), 64);  // not on the border
  QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, QPoint(header.Right, header.Top + 5));
  const int fitted = grid.ColWidths(1);
  EXPECT_GT(fitted, 64);
  grid.SetColWidths(1, 64);
  grid.FitColumnToText(1);
  EXPECT_EQ(grid.ColWidths(1), fitted);
}

// The sizing cursor shows exactly where a press would start sizing.
TEST_F(GridButtons, TheSizingCursorShowsOnlyWhereADragSizes) {
  const TRect header = grid.CellRect(1, 0);
  struct TCase {
    QPoint at;
    bool sizing;
  };
  const TCase cases[] = {{{header.Right, header.Top + 5}, true},
                         {{header.Left + 20, header.Top + 5}, false},
                         {{header.Right, header.Bottom + 30}, false}};
  for (const TCase& c : cases) {
    Send(QEvent::MouseMove, c.at, Qt::NoButton);
    EXPECT_EQ(grid.viewport()->cursor().shape() == Qt::SplitHCursor, c.sizing) << c.at.x() << "," << c.at.y();
    const int before = grid.ColWidths(1);
    Send(QEvent::MouseButtonPress, c.at, Qt::LeftButton);
    Send(QEvent::MouseMove, c.at + QPoint(17, 0), Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, c.at + QPoint(17, 0), Qt::NoButton);
    EXPECT_EQ(grid.ColWidths(1) != before, c.sizing);
    grid.SetColWidths(1, 64);
  }
}

}  // namespace
}  // namespace kelvora::grid_test
