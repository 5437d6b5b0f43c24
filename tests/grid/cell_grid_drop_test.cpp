#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
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

}  // namespace
}  // namespace kelvora
