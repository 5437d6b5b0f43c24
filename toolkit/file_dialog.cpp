#include "toolkit/file_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLayout>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>

#include <algorithm>
#include <utility>

#include "toolkit/byte_text.h"
#include "toolkit/exceptions.h"
#include "toolkit/file_dialog_icons.h"
#include "toolkit/message_box.h"

namespace kelvora {
namespace {

// A pattern list as the dialog matches it: "*.*" stands for every file, as
// it does in the classic form, and a file without a dot must match too.
QStringList NormalisedPatterns(const QString& list) {
  static const QRegularExpression kSeparators(QStringLiteral("[;,\\s]+"));
  QStringList patterns;
  for (const QString& pattern : list.split(kSeparators, Qt::SkipEmptyParts)) {
    const QString normal = pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern;
    if (!patterns.contains(normal)) patterns.append(normal);
  }
  return patterns;
}

bool SamePatterns(QStringList a, QStringList b) {
  a.sort();
  b.sort();
  return a == b;
}

// The dialog reads the patterns of an entry from the parentheses that close
// it. A description that already shows the same patterns keeps its text,
// with the patterns written the way the dialog reads them; any other gets
// them appended.
QString NameFilter(const QString& description, const QStringList& patterns) {
  const QString joined = patterns.join(QLatin1Char(' '));
  if (description.isEmpty()) return joined + QStringLiteral(" (") + joined + QLatin1Char(')');
  const qsizetype open = description.lastIndexOf(QLatin1Char('('));
  if (description.endsWith(QLatin1Char(')')) && open >= 0) {
    const QString shown = description.mid(open + 1, description.size() - open - 2);
    if (SamePatterns(NormalisedPatterns(shown), patterns))
      return description.left(open + 1) + joined + QLatin1Char(')');
  }
  return description + QStringLiteral(" (") + joined + QLatin1Char(')');
}

// A QFileDialog that also refuses a name in a folder that does not exist,
// which the dialog itself accepts for a new file.
class TQtFileDialog : public QFileDialog {
 public:
  TQtFileDialog(QWidget* parent, bool path_must_exist)
      : QFileDialog(parent), path_must_exist_(path_must_exist) {}

  void accept() override {
    if (path_must_exist_ && !SelectedFolderExists()) {
      WarnMissingFolder();
      return;
    }
    QFileDialog::accept();
  }

 private:
  bool SelectedFolderExists() const {
    const QStringList files = selectedFiles();
    if (files.isEmpty()) return true;
    const QFileInfo chosen(files.first());
    return chosen.isDir() || QFileInfo(chosen.absolutePath()).isDir();
  }

  // The box is window-modal and does not block, so the dialog stays open
  // for the user to correct the name.
  void WarnMissingFolder() {
    const QString folder = QFileInfo(selectedFiles().first()).absolutePath();
    const QString text =
        folder + QStringLiteral("\nPath does not exist.\nCheck the path and try again.");
    auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    LetCtrlCCopyText(*box);
    box->open();
  }

  bool path_must_exist_;
};

QString PathText(const std::string& path) { return QString::fromStdString(path); }

TFileDialogScript*& InstalledScript() {
  static TFileDialogScript* script = nullptr;
  return script;
}

}  // namespace

QStringList QtNameFilters(const std::string& filter) {
  const QStringList parts = DisplayText(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    const QString pattern_list = i + 1 < parts.size() ? parts[i + 1] : QString();
    if (description.isEmpty() && pattern_list.trimmed().isEmpty()) continue;
    QStringList patterns = NormalisedPatterns(pattern_list);
    if (patterns.isEmpty()) patterns.append(QStringLiteral("*"));
    filters.append(NameFilter(description, patterns));
  }
  return filters;
}

std::string QtFilterString(const std::string& filter) {
  return StoredText(QtNameFilters(filter).join(QStringLiteral(";;")));
}

// The hourglass of a long command must not hang over a dialog that waits
// for the user; it comes back when the dialog closes.
bool TCommonFileDialog::Execute() {
  TCursorGuard usual_pointer(crDefault);
  TFileDialogScript* script = TFileDialogScript::Current();
  if (!script) return ExecuteQtDialog();
  const TFileDialogScript::TAnswer answer = script->Answer(TFileDialogRequest{
      kind_, title_, filter_, QtFilterString(filter_), ClampedFilterIndex(), initial_dir_,
      file_name_, default_ext_, options_, Screen().Cursor()});
  if (answer.kind == TFileDialogScript::akRealDialog) return ExecuteQtDialog();
  if (answer.kind == TFileDialogScript::akCancel) return false;
  Accept(answer.file_name, answer.filter_index > 0 ? answer.filter_index : ClampedFilterIndex());
  return true;
}

std::unique_ptr<QFileDialog> TCommonFileDialog::CreateQtDialog(QWidget* parent) const {
  auto dialog = std::make_unique<TQtFileDialog>(parent, options_.contains(ofPathMustExist));
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  // A dialog that reads files to show them can hang on a pipe or a pseudo
  // file in the folder it shows.
  dialog->setIconProvider(TNameOnlyIconProvider::Shared());
  if (!title_.empty()) dialog->setWindowTitle(DisplayText(title_));
  ApplyBehaviour(*dialog);
  ApplyFilters(*dialog);
  ApplyStartingPoint(*dialog);
  return dialog;
}

void TCommonFileDialog::ApplyBehaviour(QFileDialog& dialog) const {
  dialog.setAcceptMode(kind_ == fdSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(options_.contains(ofFileMustExist) ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !options_.contains(ofOverwritePrompt));
  dialog.setSizeGripEnabled(options_.contains(ofEnableSizing));
  if (!options_.contains(ofEnableSizing) && dialog.layout())
    dialog.layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TCommonFileDialog::ApplyFilters(QFileDialog& dialog) const {
  const QStringList filters = QtNameFilters(filter_);
  if (filters.isEmpty()) return;
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters[ClampedFilterIndex() - 1]);
}

void TCommonFileDialog::ApplyStartingPoint(QFileDialog& dialog) const {
  dialog.setDefaultSuffix(PathText(default_ext_));
  if (!initial_dir_.empty()) dialog.setDirectory(PathText(initial_dir_));
  if (!file_name_.empty()) dialog.selectFile(PathText(file_name_));
}

bool TCommonFileDialog::ExecuteQtDialog() {
  // The window under the dialog may close while the dialog is open and take
  // the dialog with it; the guarded pointer tells.
  QPointer<QFileDialog> dialog = CreateQtDialog(QApplication::activeWindow()).release();
  const int result = dialog->exec();
  if (!dialog) return false;
  const std::unique_ptr<QFileDialog> owner(dialog.data());
  const QStringList files = owner->selectedFiles();
  if (result != QDialog::Accepted || files.isEmpty()) return false;
  const int index = static_cast<int>(owner->nameFilters().indexOf(owner->selectedNameFilter())) + 1;
  Accept(StoredText(files.first()), index > 0 ? index : ClampedFilterIndex());
  return true;
}

void TCommonFileDialog::Accept(const std::string& file_name, int filter_index) {
  file_name_ = file_name;
  filter_index_ = filter_index;
  UpdateExtensionDifferent();
}

// An index outside the list selects the first filter, as a user would
// expect from a dialog that has no such filter.
int TCommonFileDialog::ClampedFilterIndex() const {
  const auto count = QtNameFilters(filter_).size();
  return filter_index_ >= 1 && filter_index_ <= count ? filter_index_ : 1;
}

void TCommonFileDialog::UpdateExtensionDifferent() {
  QString wanted = PathText(default_ext_);
  if (wanted.startsWith(QLatin1Char('.'))) wanted.remove(0, 1);
  if (wanted.isEmpty()) return;
  const QString chosen = QFileInfo(PathText(file_name_)).suffix();
  if (chosen.compare(wanted, Qt::CaseInsensitive) != 0)
    options_.insert(ofExtensionDifferent);
  else
    options_.erase(ofExtensionDifferent);
}

TFileDialogScript::TFileDialogScript() : previous_(InstalledScript()) { InstalledScript() = this; }

TFileDialogScript::~TFileDialogScript() { InstalledScript() = previous_; }

TFileDialogScript& TFileDialogScript::Choose(const std::string& file_name, int filter_index) {
  answers_.push_back(TAnswer{akChoose, file_name, filter_index});
  return *this;
}

TFileDialogScript& TFileDialogScript::Cancel() {
  answers_.push_back(TAnswer{akCancel, std::string(), 0});
  return *this;
}

TFileDialogScript& TFileDialogScript::ShowRealDialog() {
  answers_.push_back(TAnswer{akRealDialog, std::string(), 0});
  return *this;
}

TFileDialogScript* TFileDialogScript::Current() { return InstalledScript(); }

TFileDialogScript::TAnswer TFileDialogScript::Answer(TFileDialogRequest request) {
  requests_.push_back(std::move(request));
  if (answers_.empty())
    throw Exception("A file dialog was opened with no answer left in the test script");
  TAnswer answer = std::move(answers_.front());
  answers_.pop_front();
  return answer;
}

}  // namespace kelvora
