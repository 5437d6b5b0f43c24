#pragma once

#include <QStringList>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/screen_cursor.h"
#include "toolkit/set.h"

class QFileDialog;
class QWidget;

namespace kelvora {

// How a file dialog behaves. ofExtensionDifferent is also an answer: after
// OK with a DefaultExt it tells whether the chosen name ends in another
// extension. ofHideReadOnly has nothing to hide: the dialog never offers a
// read-only box.
enum TOpenOption {
  ofOverwritePrompt,
  ofHideReadOnly,
  ofExtensionDifferent,
  ofPathMustExist,
  ofFileMustExist,
  ofEnableSizing,
};
using TOpenOptions = TSet<TOpenOption>;

enum TFileDialogKind { fdOpen, fdSave };

// The classic filter "Text files (*.txt)|*.txt|All files|*.*" as the list
// of name filters the dialog shows: "Text files (*.txt)", "All files (*)".
// A pattern list the description already shows in parentheses is not
// repeated, "*.*" stands for every file, with or without a dot, and the
// patterns of one entry are separated by ";" in the classic form.
QStringList QtNameFilters(const std::string& filter);
// The same list joined by ";;", the form QFileDialog takes as one string.
std::string QtFilterString(const std::string& filter);

// A modal file dialog over the active window. Texts and names are byte
// strings; the chosen path comes back as UTF-8.
class TCommonFileDialog {
 public:
  virtual ~TCommonFileDialog() = default;

  TFileDialogKind Kind() const { return kind_; }

  const std::string& Filter() const { return filter_; }
  void SetFilter(const std::string& filter) { filter_ = filter; }
  // 1-based; after OK it is the filter the user ended with.
  int FilterIndex() const { return filter_index_; }
  void SetFilterIndex(int index) { filter_index_ = index; }
  const std::string& InitialDir() const { return initial_dir_; }
  void SetInitialDir(const std::string& dir) { initial_dir_ = dir; }
  // The initial selection, and after OK the full path chosen.
  const std::string& FileName() const { return file_name_; }
  void SetFileName(const std::string& name) { file_name_ = name; }
  // Added to a typed name that has no extension; empty adds nothing.
  const std::string& DefaultExt() const { return default_ext_; }
  void SetDefaultExt(const std::string& ext) { default_ext_ = ext; }
  // Empty gives the usual "Open" or "Save As".
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }
  TOpenOptions Options() const { return options_; }
  void SetOptions(TOpenOptions options) { options_ = options; }

  // Shows the dialog and waits for it; true when the user chose a file.
  // The dialog shows the usual pointer even while the hourglass is set.
  bool Execute();

  // The Qt dialog as Execute() would show it, not yet shown.
  std::unique_ptr<QFileDialog> CreateQtDialog(QWidget* parent) const;

 protected:
  explicit TCommonFileDialog(TFileDialogKind kind) : kind_(kind) {}

 private:
  void ApplyBehaviour(QFileDialog& dialog) const;
  void ApplyFilters(QFileDialog& dialog) const;
  void ApplyStartingPoint(QFileDialog& dialog) const;
  bool ExecuteQtDialog();
  void Accept(const std::string& file_name, int filter_index);
  int ClampedFilterIndex() const;
  void UpdateExtensionDifferent();

  TFileDialogKind kind_;
  std::string filter_;
  int filter_index_ = 1;
  std::string initial_dir_;
  std::string file_name_;
  std::string default_ext_;
  std::string title_;
  TOpenOptions options_{ofHideReadOnly, ofEnableSizing};
};

class TOpenDialog : public TCommonFileDialog {
 public:
  TOpenDialog() : TCommonFileDialog(fdOpen) {}
};

class TSaveDialog : public TCommonFileDialog {
 public:
  TSaveDialog() : TCommonFileDialog(fdSave) {}
};

// What a dialog was asked when it was executed.
struct TFileDialogRequest {
  TFileDialogKind Kind = fdOpen;
  std::string Title;
  std::string Filter;
  std::string QtFilter;
  int FilterIndex = 1;
  std::string InitialDir;
  std::string FileName;
  std::string DefaultExt;
  TOpenOptions Options;
  TCursor CursorWhileShown = crDefault;
};

// The test seam: while a script is installed, Execute() records what it was
// asked and takes the next scripted answer instead of waiting for a user.
// A dialog executed with no answer left raises an error, so a test cannot
// hang on a real dialog or pass on a forgotten one. ShowRealDialog() lets
// one real dialog open, for a test that drives the dialog itself. Scripts
// nest; the newest one answers.
class TFileDialogScript {
 public:
  TFileDialogScript();
  ~TFileDialogScript();
  TFileDialogScript(const TFileDialogScript&) = delete;
  TFileDialogScript& operator=(const TFileDialogScript&) = delete;

  // The user picks this file; a filter index of 0 keeps the dialog's own.
  TFileDialogScript& Choose(const std::string& file_name, int filter_index = 0);
  TFileDialogScript& Cancel();
  TFileDialogScript& ShowRealDialog();

  const std::vector<TFileDialogRequest>& Requests() const { return requests_; }
  std::size_t AnswersLeft() const { return answers_.size(); }

 private:
  friend class TCommonFileDialog;
  enum TAnswerKind { akChoose, akCancel, akRealDialog };
  struct TAnswer {
    TAnswerKind kind;
    std::string file_name;
    int filter_index;
  };
  static TFileDialogScript* Current();
  TAnswer Answer(TFileDialogRequest request);

  std::deque<TAnswer> answers_;
  std::vector<TFileDialogRequest> requests_;
  TFileDialogScript* previous_;
};

}  // namespace kelvora
