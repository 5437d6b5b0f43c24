// Filtering the grid: which rows hide, where they come back, and what the
// operations on a filtered grid reach.
#include <QFile>
#include <QTemporaryDir>

#include <string>
#include <vector>

#include "cell_grid_test_support.h"

namespace kelvora {
namespace {

// A header row, six rows of (year, name) and a footer.
class GridFilter : public grid_test::GridDriving {
 protected:
  void SetUp() override {
    grid.SetColCount(2);
    grid.SetRowCount(8);
    grid.SetFixedRows(1);
    grid.SetFixedCols(0);
    grid.SetFixedFooters(1);
    const char* rows[][2] = {{"year", "name"}, {"2009", "a"}, {"2008", "b"}, {"2009", "c"},
                             {"", "d"},        {"2010", "e"}, {"2009", "f"}, {"sum", "z"}};
    for (int r = 0; r < 8; ++r)
      for (int c = 0; c < 2; ++c) grid.SetCells(c, r, rows[r][c]);
    grid.Filter().Conditions = {{0, foEqual, "2009"}};
  }
  std::string Names() const {
    std::string names;
    for (int r = 0; r < grid.RowCount(); ++r) names += grid.Cells(1, r);
    return names;
  }
  std::string Csv() {
    const std::string path = dir.filePath("grid.csv").toStdString();
    grid.WriteCsvFile(path);
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll().toStdString();
  }
  QTemporaryDir dir;
};

TEST_F(GridFilter, HidesTheRowsThatDoNotMatchAndShowsThemAgainInTheirPlace) {
  grid.ApplyFilter();
  EXPECT_EQ(Names(), "nameacfz");
  EXPECT_EQ(grid.RowCount(), 5);
  EXPECT_EQ(grid.FilteredOutRowCount(), 3);
  EXPECT_EQ(grid.CheckConsistency(), "");
  grid.Filter().Conditions = {{1, foMatches, "B*"}, {0, foEmpty, "", fjOr}};
  grid.ApplyFilter();  // replaces the first filter
  EXPECT_EQ(Names(), "namebdz");
  grid.ClearFilter();
  EXPECT_EQ(Names(), "nameabcdefz");
  EXPECT_FALSE(grid.Filtered());
  EXPECT_TRUE(grid.InFileOrder());
  EXPECT_EQ(grid.CheckConsistency(), "");
}

TEST_F(GridFilter, ASortedGridSortsTheRowsThatComeBack) {
  grid.SortByColumn(1, sdDescending);
  grid.ApplyFilter();
  EXPECT_EQ(Names(), "namefcaz");
  grid.ClearFilter();
  EXPECT_EQ(Names(), "namefedcbaz");
  grid.RestoreFileOrder();
  EXPECT_EQ(Names(), "nameabcdefz");
}

// Deleting, inserting and editing reach the shown rows only; the rows
// hidden stay whole and come back beside their neighbours.
TEST_F(GridFilter, EditsDeletionsAndInsertionsTouchOnlyShownRows) {
  grid.ApplyFilter();  // a c f
  grid.RemoveRows(2, 1);
  grid.InsertRows(1, 1);
  grid.SetCells(1, 1, "new");
  grid.SetCells(1, 2, "A");
  EXPECT_EQ(Names(), "namenewAfz");
  grid.ClearFilter();
  EXPECT_EQ(Names(), "namenewAbdefz");
  EXPECT_EQ(grid.CheckConsistency(), "");
}

TEST_F(GridFilter, TheDeleteKeyAndTheClipboardSeeTheShownRows) {
  grid.SetOptions(grid.Options().insert(goRangeSelect));
  grid.Navigation().AllowDeleteRow = true;
  grid.ApplyFilter();
  Show();
  grid.SetSelection({1, 1, 1, 3});
  EXPECT_EQ(grid.SelectionAsText(), "a\r\nc\r\nf");
  grid.SetSelection({1, 2, 1, 2});
  Key(Qt::Key_Delete);
  EXPECT_EQ(Names(), "nameafz");
  grid.ClearFilter();
  EXPECT_EQ(Names(), "nameabdefz");
}

TEST_F(GridFilter, TheCsvFileHoldsTheShownRowsOrAllOfThem) {
  grid.ApplyFilter();
  EXPECT_EQ(Csv(), "year,name\r\n2009,a\r\n2009,c\r\n2009,f\r\nsum,z\r\n");
  grid.IncludeFilteredRows = true;
  EXPECT_EQ(Csv(), "year,name\r\n2009,a\r\n2009,c\r\n2009,f\r\n2008,b\r\n\"\",d\r\n2010,e\r\nsum,z\r\n");
}

TEST_F(GridFilter, ABadColumnIsRefusedAndChangesNothing) {
  grid.Filter().Conditions = {{5, foEqual, "x"}};
  EXPECT_THROW(grid.ApplyFilter(), ECellGridError);
  EXPECT_EQ(Names(), "nameabcdefz");
  EXPECT_FALSE(grid.Filtered());
}

// Rows past the last stored one follow the empty row's verdict, and a
// count set while filtered counts every row.
TEST_F(GridFilter, EmptyRowsPastTheStoredOnesAndTheRowCount) {
  grid.SetFixedFooters(0);
  grid.SetRowCount(100000000);
  grid.ApplyFilter();
  EXPECT_EQ(grid.RowCount(), 4);
  grid.Filter().Conditions = {{0, foEmpty, ""}};
  grid.ApplyFilter();
  EXPECT_EQ(grid.RowCount(), 100000000 - 6);
  EXPECT_EQ(grid.Cells(1, 1), "d");
  EXPECT_EQ(grid.CheckConsistency(), "");
  grid.SetRowCount(9);
  EXPECT_FALSE(grid.Filtered());
  EXPECT_EQ(Names(), "nameabcdefz");
}

}  // namespace
}  // namespace kelvora
