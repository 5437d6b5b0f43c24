#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

#include <string>
#include <vector>

#include "cell_grid_test_support.h"

namespace kelvora {
namespace {

class CellGridDrop : public ::testing::Test {
 protected:
  void SetUp() override {
    grid.SetColCount(3);
    grid.SetRowCount(2);
    grid.SetFixedCols(0);
    grid.SetFixedRows(0);
    grid.Navigation().AllowClipboardRowGrow = true;
    grid.Navigation().AllowClipboardColGrow = true;
    grid.ShowFocused();
  }

  // A drag that enters over the cell and is dropped there, as Qt delivers
  // it; true when the grid took the drag on entering.
  bool DropOn(int col, int row, QMimeData& data) {
    const TRect cell = grid.CellRect(col, row);
    const QPoint at(cell.Left + 2, cell.Top + 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid.viewport(), &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid.viewport(), &drop);
    return enter.isAccepted();
  }

  grid_test::TTestCellGrid grid;
};

TEST_F(CellGridDrop, TextIsPastedFromTheDropCellAndFilesReachTheEvent) {
  std::vector<std::string> files;
  int fileCol = -2, fileRow = -2;
  grid.OnOleDropFiles = [&](TObject*, int col, int row, const std::vector<std::string>& paths) {
    fileCol = col, fileRow = row, files = paths;
  };
  QMimeData text;
  text.setText("a\tb\tc\r\nd");
  QMimeData paths;
  paths.setUrls({QUrl::fromLocalFile("/tmp/one.txt"), QUrl::fromLocalFile("/tmp/two words.csv")});

  EXPECT_FALSE(DropOn(1, 1, text));  // no drop target yet
  EXPECT_EQ(grid.Cells(1, 1), "");
  grid.SetOleDropTarget(true);
  EXPECT_TRUE(DropOn(1, 1, text));
  EXPECT_EQ(grid.Cells(1, 1), "a");
  EXPECT_EQ(grid.Cells(3, 1), "c");
  EXPECT_EQ(grid.Cells(1, 2), "d");
  EXPECT_EQ(grid.ColCount(), 4);
  EXPECT_EQ(grid.RowCount(), 3);
  EXPECT_TRUE(DropOn(0, 0, paths));
  EXPECT_EQ(fileCol, 0);
  EXPECT_EQ(fileRow, 0);
  EXPECT_EQ(files, (std::vector<std::string>{"/tmp/one.txt", "/tmp/two words.csv"}));
  EXPECT_EQ(grid.Cells(0, 0), "");
}

// The accept flags reach the drop target when it is made and when the
// owner has applied its settings.
TEST_F(CellGridDrop, WhatIsRefusedIsNotTaken) {
  grid.SetOleDropTarget(true);
  grid.SetOleAcceptText(false);
  grid.SetOleAcceptFiles(false);
  grid.Loaded();
  bool filesCame = false;
  grid.OnOleDropFiles = [&](TObject*, int, int, const std::vector<std::string>&) { filesCame = true; };
  QMimeData text;
  text.setText("x");
  QMimeData paths;
  paths.setUrls({QUrl::fromLocalFile("/tmp/one.txt")});
  EXPECT_FALSE(DropOn(0, 0, text));
  EXPECT_FALSE(DropOn(0, 0, paths));
  EXPECT_EQ(grid.Cells(0, 0), "");
  EXPECT_FALSE(filesCame);
  grid.SetOleDropTarget(false);
  grid.SetOleAcceptText(true);
  grid.SetOleDropTarget(true);
  EXPECT_TRUE(DropOn(0, 0, text));
  EXPECT_EQ(grid.Cells(0, 0), "x");
}

// Many megabytes of text and ten thousand files are taken without a hang,
// a text too large for the grid is refused without a change.
TEST_F(CellGridDrop, LargeDropsAreTakenOrRefusedWhole) {
  grid.SetOleDropTarget(true);
  std::size_t fileCount = 0;
  grid.OnOleDropFiles = [&](TObject*, int, int, const std::vector<std::string>& paths) { fileCount = paths.size(); };
  QList<QUrl> urls;
  for (int i = 0; i < 10'000; ++i) urls.push_back(QUrl::fromLocalFile("/tmp/f" + QString::number(i)));
  QMimeData paths;
  paths.setUrls(urls);
  EXPECT_TRUE(DropOn(0, 0, paths));
  EXPECT_EQ(fileCount, 10'000u);
  std::string big;
  for (int i = 0; i < 200'000; ++i) big += "cell\tcell\r\n";
  QMimeData text;
  text.setText(QString::fromStdString(big));
  EXPECT_TRUE(DropOn(0, 0, text));
  EXPECT_EQ(grid.RowCount(), 200'000);
  EXPECT_EQ(grid.Cells(1, 199'999), "cell");
}

// A press inside a selection of several cells drags it out once the mouse
// has moved far enough, and leaves the selection alone; one that comes up
// where it went down is the click it was. Offscreen, the drag ends at once.
TEST_F(CellGridDrop, ASelectionDragsOutAndAStillPressIsAClick) {
  grid.SetOleDropTarget(true);
  grid.SetOptions(TGridOptions(grid.Options()).insert(goRangeSelect));
  for (const auto& [col, row, text] : {std::tuple{0, 0, "a"}, {1, 0, "b"}, {0, 1, "c"}, {1, 1, "d"}})
    grid.SetCells(col, row, text);
  const TGridRect block{0, 0, 1, 1};
  const TRect cell = grid.CellRect(1, 1);
  const QPoint at((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
  const auto send = [&](QEvent::Type type, QPoint to, Qt::MouseButtons held) {
    QMouseEvent event(type, to, grid.viewport()->mapToGlobal(to), Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(grid.viewport(), &event);
  };

  grid.SetSelection(block);
  send(QEvent::MouseButtonPress, at, Qt::LeftButton);
  send(QEvent::MouseMove, at + QPoint(1, 0), Qt::LeftButton);
  EXPECT_EQ(grid.findChild<QDrag*>(), nullptr);  // a shaky click
  send(QEvent::MouseMove, at + QPoint(40, 0), Qt::LeftButton);
  const QDrag* drag = grid.findChild<QDrag*>();
  ASSERT_NE(drag, nullptr);
  EXPECT_EQ(drag->mimeData()->text(), "a\tb\r\nc\td");
  EXPECT_TRUE(drag->mimeData()->html().contains("<td>d</td>"));
  send(QEvent::MouseButtonRelease, at + QPoint(40, 0), Qt::NoButton);
  EXPECT_EQ(grid.Selection(), block);

  send(QEvent::MouseButtonPress, at, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, at, Qt::NoButton);
  EXPECT_EQ(grid.Selection(), (TGridRect{1, 1, 1, 1}));
  EXPECT_EQ(grid.Col(), 1);
  EXPECT_EQ(grid.Row(), 1);

  // As on the clipboard, a selection too large for HTML goes as text alone.
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  grid.SetRowCount(40'000);
  grid.SetSelection({0, 0, 2, 39'999});
  send(QEvent::MouseButtonPress, at, Qt::LeftButton);
  send(QEvent::MouseMove, at + QPoint(40, 0), Qt::LeftButton);
  ASSERT_NE(grid.findChild<QDrag*>(), nullptr);
  EXPECT_TRUE(grid.findChild<QDrag*>()->mimeData()->hasText());
  EXPECT_FALSE(grid.findChild<QDrag*>()->mimeData()->hasHtml());
}

}  // namespace
}  // namespace kelvora
