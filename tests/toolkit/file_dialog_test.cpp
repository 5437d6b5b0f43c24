#include <gtest/gtest.h>

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLayout>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

#include <fstream>
#include <functional>
#include <string>

#include "common/patience.h"
#include "toolkit/exceptions.h"
#include "toolkit/file_dialog.h"
#include "toolkit/screen_cursor.h"

namespace kelvora {
namespace {

// What the dialog's Open or Save button does.
void PressAccept(QFileDialog& dialog) { static_cast<QDialog&>(dialog).accept(); }

struct TFilterCase {
  const char* classic;
  const char* qt;
};

class FileFilter_ : public ::testing::TestWithParam<TFilterCase> {};

TEST_P(FileFilter_, ConvertsTheClassicFormToNameFilters) {
  SCOPED_TRACE(GetParam().classic);
  EXPECT_EQ(QtFilterString(GetParam().classic), GetParam().qt);
}

INSTANTIATE_TEST_SUITE_P(
    FileFilter, FileFilter_,
    ::testing::Values(
        TFilterCase{"Exported news files (*.txt)|*.txt|All files|*.*",
                    "Exported news files (*.txt);;All files (*)"},
        TFilterCase{"Comma-separated text (*.csv)|*.csv", "Comma-separated text (*.csv)"},
        TFilterCase{"All files (*.*)|*.*", "All files (*)"},
        TFilterCase{"Text and logs|*.txt;*.log", "Text and logs (*.txt *.log)"},
        TFilterCase{"Text and logs (*.txt;*.log)|*.txt;*.log", "Text and logs (*.txt *.log)"},
        TFilterCase{"Text and logs (*.log, *.txt)|*.txt;*.log", "Text and logs (*.txt *.log)"},
        TFilterCase{" Text | *.txt ; *.log ", "Text (*.txt *.log)"},
        // Parentheses that show something else are not the patterns.
        TFilterCase{"Text (UTF-8)|*.txt", "Text (UTF-8) (*.txt)"},
        TFilterCase{"Text (*.txt)|*.txt;*.log", "Text (*.txt) (*.txt *.log)"},
        TFilterCase{"Anything|", "Anything (*)"},
        TFilterCase{"Last without pattern", "Last without pattern (*)"},
        TFilterCase{"|*.txt", "*.txt (*.txt)"},
        TFilterCase{"Logs|*.log|", "Logs (*.log)"},
        TFilterCase{"Twice|*.txt;*.txt", "Twice (*.txt)"},
        TFilterCase{"", ""},
        TFilterCase{"Fichiers \xE9t\xE9|*.txt", "Fichiers \xC3\xA9t\xC3\xA9 (*.txt)"}));

// What the dialog really matches is what it reads from the name filter;
// its file model shows it.
TEST(FileFilter, TheDialogMatchesThePatternsMeant) {
  TOpenDialog dialog;
  dialog.SetFilter("Exported news files (*.txt)|*.txt|All files|*.*|Text (UTF-8)|*.txt;*.log");
  const struct {
    int index;
    QStringList patterns;
  } cases[] = {{1, {"*.txt"}}, {2, {"*"}}, {3, {"*.txt", "*.log"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.index);
    dialog.SetFilterIndex(c.index);
    const auto qt = dialog.CreateQtDialog(nullptr);
    const auto* model = qt->findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->nameFilters(), c.patterns);
  }
}

TEST(FileDialog, StartsWithTheFirstFilterNoExtensionAndSizing) {
  TOpenDialog open;
  TSaveDialog save;
  for (const TCommonFileDialog* dialog : {static_cast<TCommonFileDialog*>(&open),
                                          static_cast<TCommonFileDialog*>(&save)}) {
    EXPECT_EQ(dialog->FilterIndex(), 1);
    EXPECT_EQ(dialog->DefaultExt(), "");
    EXPECT_EQ(dialog->FileName(), "");
    EXPECT_EQ(dialog->Options(), (TOpenOptions{ofHideReadOnly, ofEnableSizing}));
  }
  EXPECT_EQ(open.Kind(), fdOpen);
  EXPECT_EQ(save.Kind(), fdSave);
}

struct TOptionCase {
  const char* name;
  TFileDialogKind kind;
  TOpenOptions options;
  QFileDialog::AcceptMode accept_mode;
  QFileDialog::FileMode file_mode;
  bool confirms_overwrite;
  bool resizable;
};

TEST(FileDialog, MapsOptionsToTheDialogsBehaviour) {
  const TOpenOptions save_grid{ofOverwritePrompt, ofHideReadOnly, ofExtensionDifferent,
                               ofPathMustExist, ofEnableSizing};
  const TOptionCase cases[] = {
      {"save grid", fdSave, save_grid, QFileDialog::AcceptSave, QFileDialog::AnyFile, true, true},
      {"save bare", fdSave, {}, QFileDialog::AcceptSave, QFileDialog::AnyFile, false, false},
      {"open default", fdOpen, {ofHideReadOnly, ofEnableSizing}, QFileDialog::AcceptOpen,
       QFileDialog::AnyFile, false, true},
      {"open existing", fdOpen, {ofFileMustExist}, QFileDialog::AcceptOpen,
       QFileDialog::ExistingFile, false, false},
  };
  for (const TOptionCase& c : cases) {
    SCOPED_TRACE(c.name);
    TOpenDialog open;
    TSaveDialog save;
    TCommonFileDialog& dialog = c.kind == fdOpen ? static_cast<TCommonFileDialog&>(open) : save;
    dialog.SetOptions(c.options);
    const auto qt = dialog.CreateQtDialog(nullptr);
    EXPECT_TRUE(qt->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(qt->acceptMode(), c.accept_mode);
    EXPECT_EQ(qt->fileMode(), c.file_mode);
    if (c.kind == fdSave) {
      EXPECT_EQ(!qt->testOption(QFileDialog::DontConfirmOverwrite), c.confirms_overwrite);
    }
    EXPECT_EQ(qt->isSizeGripEnabled(), c.resizable);
    ASSERT_NE(qt->layout(), nullptr);
    EXPECT_EQ(qt->layout()->sizeConstraint() == QLayout::SetFixedSize, !c.resizable);
  }
}

TEST(FileDialog, ShowsTheFolderNameFiltersAndTitleItWasGiven) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  TSaveDialog dialog;
  dialog.SetFilter("Comma-separated text (*.csv)|*.csv|All files|*.*");
  dialog.SetFilterIndex(2);
  dialog.SetInitialDir(folder.path().toStdString());
  dialog.SetFileName("grid.csv");
  dialog.SetTitle("Save the grid");
  const auto qt = dialog.CreateQtDialog(nullptr);
  EXPECT_EQ(qt->directory().absolutePath(), QDir(folder.path()).absolutePath());
  EXPECT_EQ(qt->nameFilters(), (QStringList{"Comma-separated text (*.csv)", "All files (*)"}));
  EXPECT_EQ(qt->selectedNameFilter(), "All files (*)");
  EXPECT_EQ(qt->windowTitle(), "Save the grid");
  EXPECT_EQ(qt->defaultSuffix(), "");
  EXPECT_EQ(qt->selectedFiles(), QStringList{QDir(folder.path()).filePath("grid.csv")});
}

TEST(FileDialog, AFilterIndexOutsideTheListSelectsTheFirst) {
  TOpenDialog dialog;
  dialog.SetFilter("Exported news files (*.txt)|*.txt|All files|*.*");
  for (int index : {0, 3, -1}) {
    dialog.SetFilterIndex(index);
    EXPECT_EQ(dialog.CreateQtDialog(nullptr)->selectedNameFilter(), "Exported news files (*.txt)")
        << index;
  }
}

// The plain dialog takes a new file in a folder that does not exist; with
// ofPathMustExist it must refuse it and stay open.
TEST(FileDialog, RefusesANameInAMissingFolderOnlyWhenThePathMustExist) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString missing = QDir(folder.path()).filePath("missing/out.csv");
  const QString present = QDir(folder.path()).filePath("out.csv");
  const struct {
    TOpenOptions options;
    QString file;
    bool accepted;
  } cases[] = {{{ofPathMustExist}, missing, false},
               {{ofPathMustExist}, present, true},
               {{}, missing, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file.toStdString());
    TSaveDialog dialog;
    dialog.SetOptions(c.options);
    dialog.SetInitialDir(folder.path().toStdString());
    const auto qt = dialog.CreateQtDialog(nullptr);
    qt->selectFile(c.file);
    ASSERT_EQ(qt->selectedFiles(), QStringList{c.file});
    PressAccept(*qt);
    EXPECT_EQ(qt->result() == QDialog::Accepted, c.accepted);
    auto* warning = qt->findChild<QMessageBox*>();
    EXPECT_EQ(warning != nullptr, !c.accepted);
    if (warning) {
      EXPECT_TRUE(warning->text().contains("Path does not exist")) << warning->text().toStdString();
      warning->close();
    }
  }
}

class FileDialogScript : public ::testing::Test {
 protected:
  void TearDown() override { Screen().SetCursor(crDefault); }
  TFileDialogScript script_;
};

TEST_F(FileDialogScript, RecordsWhatTheDialogWasAsked) {
  script_.Cancel();
  TSaveDialog dialog;
  dialog.SetFilter("Comma-separated text (*.csv)|*.csv");
  dialog.SetInitialDir("/home/user");
  dialog.SetFileName("old.csv");
  dialog.SetTitle("Save");
  dialog.SetOptions({ofOverwritePrompt, ofPathMustExist});
  EXPECT_FALSE(dialog.Execute());
  ASSERT_EQ(script_.Requests().size(), 1u);
  const TFileDialogRequest& asked = script_.Requests().front();
  EXPECT_EQ(asked.Kind, fdSave);
  EXPECT_EQ(asked.Filter, "Comma-separated text (*.csv)|*.csv");
  EXPECT_EQ(asked.QtFilter, "Comma-separated text (*.csv)");
  EXPECT_EQ(asked.FilterIndex, 1);
  EXPECT_EQ(asked.InitialDir, "/home/user");
  EXPECT_EQ(asked.FileName, "old.csv");
  EXPECT_EQ(asked.Title, "Save");
  EXPECT_EQ(asked.Options, (TOpenOptions{ofOverwritePrompt, ofPathMustExist}));
}

TEST_F(FileDialogScript, AChoiceSetsTheNameAndFilterACancelKeepsThem) {
  script_.Choose("/data/caf\xC3\xA9 news.txt", 2).Cancel();
  TOpenDialog dialog;
  dialog.SetFilter("Exported news files (*.txt)|*.txt|All files|*.*");
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName(), "/data/caf\xC3\xA9 news.txt");
  EXPECT_EQ(dialog.FilterIndex(), 2);
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.FileName(), "/data/caf\xC3\xA9 news.txt");
  EXPECT_EQ(dialog.FilterIndex(), 2);
  EXPECT_EQ(script_.Requests().back().FileName, "/data/caf\xC3\xA9 news.txt")
      << "the last choice is the next initial selection";
  EXPECT_EQ(script_.AnswersLeft(), 0u);
}

TEST_F(FileDialogScript, ADialogWithNoAnswerLeftFailsLoudly) {
  TOpenDialog dialog;
  EXPECT_THROW(dialog.Execute(), Exception);
  EXPECT_EQ(script_.Requests().size(), 1u);
}

TEST_F(FileDialogScript, TheNewestScriptAnswersAndTheOlderOneReturns) {
  script_.Choose("/outer.txt");
  TOpenDialog dialog;
  {
    TFileDialogScript inner;
    inner.Choose("/inner.txt");
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), "/inner.txt");
  }
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName(), "/outer.txt");
}

TEST_F(FileDialogScript, TheDialogShowsTheUsualPointerAndTheHourglassReturns) {
  script_.Cancel();
  Screen().SetCursor(crHourGlass);
  TOpenDialog dialog;
  dialog.Execute();
  EXPECT_EQ(script_.Requests().front().CursorWhileShown, crDefault);
  EXPECT_EQ(Screen().Cursor(), crHourGlass);
}

TEST_F(FileDialogScript, ReportsAnExtensionOtherThanTheDefault) {
  const struct {
    const char* default_ext;
    const char* chosen;
    bool different;
  } cases[] = {{"csv", "/a/grid.txt", true}, {"csv", "/a/grid.CSV", false},
               {".csv", "/a/grid.csv", false}, {"csv", "/a/grid", true},
               {"", "/a/grid.txt", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen);
    TSaveDialog dialog;
    dialog.SetDefaultExt(c.default_ext);
    script_.Choose(c.chosen);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Options().contains(ofExtensionDifferent), c.different);
  }
}

// A file whose content says PDF but whose name says nothing: a dialog that
// read it would call it a PDF document. Beside it a pipe with no writer,
// whose opening for reading would never return.
TEST(FileDialog, ShowsAFolderWithoutReadingItsFiles) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString report = QDir(folder.path()).filePath("report");
  const QString empty = QDir(folder.path()).filePath("notes");
  std::ofstream(report.toStdString()) << "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n1 0 obj\n";
  std::ofstream(empty.toStdString()) << "";
  ASSERT_EQ(::mkfifo(QDir(folder.path()).filePath("pipe").toLocal8Bit().constData(), 0600), 0);

  TSaveDialog save;
  save.SetInitialDir(folder.path().toStdString());
  const std::unique_ptr<QFileDialog> dialog = save.CreateQtDialog(nullptr);
  const QAbstractFileIconProvider* icons = dialog->iconProvider();
  ASSERT_NE(icons, nullptr);
  EXPECT_EQ(icons->type(QFileInfo(report)), icons->type(QFileInfo(empty)));
  EXPECT_EQ(icons->type(QFileInfo(QDir(folder.path()).filePath("pipe"))), "Special file");

  // The dialog lists the folder's two files beside the pipe, types them by
  // name, and closes.
  auto* model = dialog->findChild<QFileSystemModel*>();
  ASSERT_NE(model, nullptr);
  dialog->show();
  const QModelIndex root = model->index(folder.path());
  const auto listed = [&] { return model->rowCount(root) >= 2 && !model->type(model->index(report)).isEmpty(); };
  const QDeadlineTimer deadline(testing::kPatience);
  while (!listed() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  ASSERT_TRUE(listed()) << model->rowCount(root) << " entries listed";
  EXPECT_EQ(model->type(model->index(report)), icons->type(QFileInfo(empty)));
  dialog->close();
}

// The real dialog, driven the way a user drives it once it is on screen.
class RealFileDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    script_.ShowRealDialog();
    window_.resize(200, 100);
    window_.show();
    QApplication::setActiveWindow(&window_);
  }
  void TearDown() override { Screen().SetCursor(crDefault); }

  // Runs the step on the dialog once it is open and modal.
  void WhenOpen(std::function<void(QFileDialog&)> step) {
    auto* poll = new QTimer(&window_);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, step] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      poll->deleteLater();
      poll->stop();
      step(*dialog);
    });
    poll->start(5);
  }

  QTemporaryDir folder_;
  TFileDialogScript script_;
  QWidget window_;
};

TEST_F(RealFileDialog, ReturnsTheChosenPathAsUtf8AndTheFilterUsed) {
  const QString chosen = QDir(folder_.path()).filePath(QString::fromUtf8("caf\xC3\xA9.csv"));
  QWidget* parent = nullptr;
  bool hourglass_over_dialog = true;
  Screen().SetCursor(crHourGlass);
  WhenOpen([&](QFileDialog& dialog) {
    parent = dialog.parentWidget();
    hourglass_over_dialog = QApplication::overrideCursor() != nullptr;
    dialog.selectNameFilter("All files (*)");
    dialog.selectFile(chosen);
    PressAccept(dialog);
  });
  TSaveDialog save;
  save.SetFilter("Comma-separated text (*.csv)|*.csv|All files|*.*");
  save.SetInitialDir(folder_.path().toStdString());
  ASSERT_TRUE(save.Execute());
  EXPECT_EQ(save.FileName(), chosen.toUtf8().toStdString());
  EXPECT_EQ(save.FilterIndex(), 2);
  EXPECT_EQ(parent, &window_);
  EXPECT_FALSE(hourglass_over_dialog);
  EXPECT_EQ(Screen().Cursor(), crHourGlass);
}

TEST_F(RealFileDialog, ACancelledDialogChangesNothing) {
  WhenOpen([](QFileDialog& dialog) { dialog.reject(); });
  TOpenDialog open;
  open.SetFileName("/kept/name.txt");
  open.SetFilter("Exported news files (*.txt)|*.txt|All files|*.*");
  EXPECT_FALSE(open.Execute());
  EXPECT_EQ(open.FileName(), "/kept/name.txt");
  EXPECT_EQ(open.FilterIndex(), 1);
}

}  // namespace
}  // namespace kelvora
