// File > Open, File > Save Grid and File > Exit, with the dialogs answered
// by a script and the files checked on disk.

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>

#include "form1_fixture.h"
#include "toolkit/paths.h"

namespace kelvora::testing {
namespace {

using FileOpen = Form1Test;

TEST_F(FileOpen, DialogStartsInTheProgramsFolderWithTheExportFilter) {
  ClickOpenCancelled();
  ASSERT_EQ(dialogs_.Requests().size(), 1u);
  const TFileDialogRequest& asked = dialogs_.Requests()[0];
  EXPECT_EQ(asked.Kind, fdOpen);
  EXPECT_EQ(asked.InitialDir, QCoreApplication::applicationDirPath().toStdString());
  EXPECT_EQ(asked.Filter, "Exported news files (*.txt)|*.txt|All files|*.*");
  EXPECT_FALSE(asked.Options.contains(ofOverwritePrompt));
}

TEST_F(FileOpen, RemembersTheFullPathAndShowsTheBareName) {
  const auto path = TempFile("mail archive.txt");
  WriteWholeFile(path, "Subject: none\n");
  ClickOpen(path);
  EXPECT_EQ(CurrentFileName, path.string());
  EXPECT_EQ(Form().Edit1->text().toStdString(), "mail archive.txt");
  EXPECT_TRUE(ErrorBoxes().empty());
  ExpectDefaultCursor();
}

TEST_F(FileOpen, ShowsANameInUtf8AsTheUserTypedIt) {
  const auto path = TempFile("Pr\xc3\xbc" "fung.txt");
  WriteWholeFile(path, "");
  ClickOpen(path);
  EXPECT_EQ(Form().Edit1->text(), QString::fromUtf8("Pr\xc3\xbc" "fung.txt"));
}

TEST_F(FileOpen, EmptiesTheGridAndLeavesOneRowKeepingTheColumns) {
  ClickOpen(SamplePath());
  ClickGetData();
  ASSERT_EQ(Grid().ColCount(), 7);
  ASSERT_GT(Grid().RowCount(), 2);
  const int filledRows = Grid().RowCount();

  ClickOpen(SamplePath());
  EXPECT_EQ(Grid().RowCount(), 1);
  EXPECT_EQ(Grid().ColCount(), 7);
  // The rows beyond the count are emptied too, so they do not come back
  // when the count grows again.
  EXPECT_TRUE(AllCellsEmpty(7, filledRows));
}

TEST_F(FileOpen, CancelledKeepsEverythingButTheStartingFolder) {
  ClickOpen(SamplePath());
  ClickGetData();
  const int rows = Grid().RowCount();
  const TRowCells firstRow = Row(0);
  Form().OpenDialog1.SetInitialDir("/somewhere/else");

  ClickOpenCancelled();
  EXPECT_EQ(CurrentFileName, SamplePath().string());
  EXPECT_EQ(Form().Edit1->text().toStdString(), "news_export.txt");
  EXPECT_EQ(Grid().RowCount(), rows);
  EXPECT_EQ(Row(0), firstRow);
  EXPECT_EQ(Form().OpenDialog1.InitialDir(), ExtractFileDir(ExecutablePath()));
  ExpectDefaultCursor();
}

TEST_F(FileOpen, CancelledBeforeAnyFileLeavesNoFileChosen) {
  ClickOpenCancelled();
  EXPECT_TRUE(CurrentFileName.empty());
  EXPECT_TRUE(Form().Edit1->text().isEmpty());
  ExpectDefaultCursor();
}

using SaveGrid = Form1Test;

TEST_F(SaveGrid, WritesTheSamplesDatesAsTheExpectedCsv) {
  ClickOpen(SamplePath());
  ClickGetData();
  const auto saved = TempFile("dates.csv");
  ClickSaveGrid(saved);
  EXPECT_EQ(ReadWholeFile(saved), ReadWholeFile(ExpectedCsvPath()));
  EXPECT_TRUE(ErrorBoxes().empty()) << LastErrorBox();
}

TEST_F(SaveGrid, AsksWithTheCsvFilterAndOverwritePrompt) {
  ClickSaveGridCancelled();
  ASSERT_EQ(dialogs_.Requests().size(), 1u);
  const TFileDialogRequest& asked = dialogs_.Requests()[0];
  EXPECT_EQ(asked.Kind, fdSave);
  EXPECT_EQ(asked.Filter, "Comma-separated text (*.csv)|*.csv");
  EXPECT_EQ(asked.Options, (TOpenOptions{ofOverwritePrompt, ofHideReadOnly, ofExtensionDifferent,
                                         ofPathMustExist, ofEnableSizing}));
}

TEST_F(SaveGrid, BeforeAnyGetDataWritesTheOneEmptyCell) {
  const auto saved = TempFile("empty.csv");
  ClickSaveGrid(saved);
  EXPECT_EQ(ReadWholeFile(saved), "\"\"\r\n");
}

TEST_F(SaveGrid, UsesTheNameAsChosenWithoutAddingAnExtension) {
  const auto saved = TempFile("dates");
  ClickSaveGrid(saved);
  EXPECT_TRUE(std::filesystem::exists(saved));
  EXPECT_FALSE(std::filesystem::exists(TempFile("dates.csv")));
}

TEST_F(SaveGrid, CancelledWritesNothing) {
  ClickSaveGridCancelled();
  EXPECT_TRUE(std::filesystem::is_empty(TempFile("")));
}

TEST_F(SaveGrid, IntoAMissingFolderShowsAnErrorAndKeepsTheGrid) {
  ClickOpen(SamplePath());
  ClickGetData();
  const TRowCells firstRow = Row(0);
  const auto saved = TempFile("no such folder/dates.csv");
  ClickSaveGrid(saved);
  ASSERT_EQ(ErrorBoxes().size(), 1u);
  EXPECT_NE(LastErrorBox().find(saved.string()), std::string::npos) << LastErrorBox();
  EXPECT_FALSE(std::filesystem::exists(saved));
  EXPECT_EQ(Row(0), firstRow);

  // The program goes on: the next save works.
  const auto good = TempFile("dates.csv");
  ClickSaveGrid(good);
  EXPECT_EQ(ReadWholeFile(good), ReadWholeFile(ExpectedCsvPath()));
}

TEST_F(SaveGrid, OverAnExistingFileReplacesIt) {
  const auto saved = TempFile("dates.csv");
  WriteWholeFile(saved, std::string(10'000, 'x'));
  ClickOpen(SamplePath());
  ClickGetData();
  ClickSaveGrid(saved);
  EXPECT_EQ(ReadWholeFile(saved), ReadWholeFile(ExpectedCsvPath()));
}

using FileExit = Form1Test;

TEST_F(FileExit, ClosesTheWindowWithoutAsking) {
  ClickOpen(SamplePath());
  ClickGetData();
  // The test program goes on after the window closes.
  QGuiApplication::setQuitOnLastWindowClosed(false);
  Form().Exit1->trigger();
  QGuiApplication::setQuitOnLastWindowClosed(true);
  EXPECT_FALSE(Form().isVisible());
  EXPECT_TRUE(ErrorBoxes().empty());
}

}  // namespace
}  // namespace kelvora::testing
