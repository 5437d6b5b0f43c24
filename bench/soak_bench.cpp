// Long use in one process: a thousand rounds of what a person does all day
// with the window. Each round opens a 10 MB export with File > Open, presses
// "Get Data", types over three cells, deletes two rows with Delete and
// Ctrl+Delete, sorts the grid and puts it back in file order, filters it and
// clears the filter, zooms in and out, rests the mouse on a cut-off cell for
// its hint and saves the grid with File > Save Grid; then it exports the grid
// as HTML, prints its first page to PDF and reads the saved CSV back. Whatever a round
// leaves behind (memory, open files, save temporaries) adds up over the
// rounds, so the figures compare the process after round 10 with the
// process after the last round:
//   soak_rss_growth   resident memory, percent more than after round 10
//   soak_fd_growth    open file descriptors, how many more
// The bench fails when a round goes wrong: an error box, a typed cell that
// does not hold what was typed, rows below a deleted one that did not move
// up, a saved file whose row count is not the export's date lines less the
// deleted rows, or a save temporary left over; a sort, filter or zoom that
// does not come back to where it began, a hint that does not show, an export
// or a print that writes no file, or a CSV that reads back other rows.
//
// The Delete key is tried in round 1; a build where it deletes nothing says
// so and expects the rows of the export alone. KELVORA_SOAK_ROUNDS sets
// another number of rounds, for a soak longer than the usual one.

#include <QAction>
#include <QHelpEvent>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPushButton>

#include <malloc.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/form1.h"
#include "grid/cell_grid.h"
#include "support/bench_support.h"
#include "toolkit/application.h"
#include "toolkit/file_dialog.h"
#include "toolkit/hint_window.h"
#include "toolkit/message_box.h"

namespace kelvora::bench {
namespace {

namespace fs = std::filesystem;

int CyclesWanted() {
  const int asked = qEnvironmentVariableIntValue("KELVORA_SOAK_ROUNDS");
  return asked > 0 ? asked : Sized(1000, 4);
}

const int kCycles = CyclesWanted();
// Round 10 is past what the first rounds build once (fonts, caches, the
// edit box); in a short run the second round stands in for it.
const int kBaselineCycle = std::min(Sized(10, 2), kCycles);
const std::uint64_t kExportBytes = Sized<std::uint64_t>(10ull << 20, 200ull << 10);
constexpr int kRowsDeletedPerCycle = 2;
const int kProgressEvery = Sized(100, 1);
const char* const kSavedName = "grid.csv";

// A failed round: the bench says why and ends with a failing status.
class ESoakFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A folder of its own under the data folder, gone when the bench ends.
class TScratchFolder {
 public:
  TScratchFolder() {
    std::string pattern = DataDir() + "/soak-XXXXXX";
    if (!mkdtemp(pattern.data())) throw ESoakFailure("cannot make a folder under " + DataDir());
    root_ = pattern;
    fs::create_directory(SaveFolder());
  }
  ~TScratchFolder() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;

  fs::path ExportPath() const { return root_ / "export.txt"; }
  fs::path SaveFolder() const { return root_ / "saved"; }
  fs::path SavedPath() const { return SaveFolder() / kSavedName; }
  fs::path HtmlPath() const { return root_ / "grid.html"; }
  fs::path PdfPath() const { return root_ / "grid.pdf"; }

 private:
  fs::path root_;
};

// Runs the event loop until the condition holds; false when it never did.
template <typename Condition>
bool WaitFor(Condition condition) {
  QElapsedTimer waited;
  waited.start();
  while (!condition()) {
    if (waited.elapsed() > testing::kPatience) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  return true;
}

void Settle() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
}

// A key pressed and let go where a person's key goes: to the focused widget.
void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
  QWidget* target = QApplication::focusWidget();
  if (!target) throw ESoakFailure("no widget has the keyboard focus");
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QCoreApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QCoreApplication::sendEvent(target, &release);
}

// Lower-case letters and digits, one key each.
void TypeText(const std::string& text) {
  for (const char ch : text) {
    const bool digit = ch >= '0' && ch <= '9';
    const int key = digit ? Qt::Key_0 + (ch - '0') : Qt::Key_A + (ch - 'a');
    PressKey(static_cast<Qt::Key>(key), Qt::NoModifier, QString(QChar(ch)));
  }
}

std::string ReadWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ESoakFailure("cannot read " + path.string());
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The typed cells hold no line break, so each row is one line.
long CsvRowCount(const std::string& csv) { return static_cast<long>(std::count(csv.begin(), csv.end(), '\n')); }

long DateLinesOf(const fs::path& path) {
  return std::stol(CommandOutput("grep -c '^Date:' " + ShellQuoted(path.string())));
}

// Only the saved file may stay in the save folder: the writer's hidden
// temporaries are gone once a save has ended, however it ended.
void CheckSaveFolderClean(const TScratchFolder& folder, int cycle) {
  for (const auto& entry : fs::directory_iterator(folder.SaveFolder()))
    if (entry.path().filename() != kSavedName)
      throw ESoakFailure("after round " + std::to_string(cycle) + " the save folder still holds " + entry.path().filename().string());
}

struct TProcessReading {
  double ResidentMiB = 0;
  int Descriptors = 0;
};

TProcessReading ReadProcess() { return {ResidentMiB(), OpenDescriptorCount()}; }

// The window and the rounds run on it.
class TSoak {
 public:
  explicit TSoak(const TScratchFolder& folder)
      : folder_(folder),
        errors_([this](const std::string&, const std::string& text) { errorBoxes_.push_back(text); }) {
    form_.show();
    QApplication::setActiveWindow(&form_);
    form_.activateWindow();
    if (!WaitFor([this] { return QApplication::focusWidget() == form_.CellGrid1; }))
      throw ESoakFailure("the grid did not get the keyboard focus");
    dateLines_ = DateLinesOf(folder_.ExportPath());
  }

  void RunCycle(int cycle) {
    OpenExport();
    GetData();
    EditCells(cycle);
    DeleteRows(cycle);
    SortAndRestore(cycle);
    FilterAndClear(cycle);
    ZoomInAndOut(cycle);
    ShowHint(cycle);
    SaveGrid();
    CheckSaved(cycle);
    ExportAndPrint(cycle);
    ReadSavedBack(cycle);
  }

  long DateLines() const { return dateLines_; }

 private:
  void CheckNoErrorBox(const char* command) {
    if (errorBoxes_.empty()) return;
    throw ESoakFailure(std::string(command) + " showed an error box: " + errorBoxes_.front());
  }

  // The script of a dialog lives for one command only: it keeps every
  // request it answered, which over a long run would be growth of the
  // bench's own.
  void AnswerDialog(QAction* item, const fs::path& chosen, const char* command) {
    TFileDialogScript dialog;
    dialog.Choose(chosen.string());
    item->trigger();
    Settle();
    CheckNoErrorBox(command);
    if (dialog.AnswersLeft() != 0) throw ESoakFailure(std::string(command) + " asked no file dialog");
  }

  void OpenExport() { AnswerDialog(form_.Open1, folder_.ExportPath(), "File > Open"); }

  void GetData() {
    form_.Button1->click();
    Settle();
    CheckNoErrorBox("Get Data");
    if (form_.CellGrid1->RowCount() != dateLines_ + 1)
      throw ESoakFailure("Get Data gave " + std::to_string(form_.CellGrid1->RowCount()) + " rows for " +
                         std::to_string(dateLines_) + " date lines");
  }

  // Types over a cell, starting the edit with its first character as a
  // person does, and ends it with Enter.
  void TypeOverCell(const std::string& text) {
    TypeText(text);
    PressKey(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    TCellGrid& grid = *form_.CellGrid1;
    if (!WaitFor([&grid] { return QApplication::focusWidget() == &grid; }))
      throw ESoakFailure("the focus did not come back to the grid after Enter");
    if (grid.Cells(grid.Col(), grid.Row()) != text)
      throw ESoakFailure("the typed cell holds \"" + grid.Cells(grid.Col(), grid.Row()) + "\", not \"" + text +
                         "\"");
    typed_.push_back(text);
  }

  // Three cells of rows 1 and 2, which stay when rows 3 and 4 go.
  void EditCells(int cycle) {
    typed_.clear();
    // Longer than any weekday, so that the first column cuts it off.
    const std::string stem = "typed" + std::to_string(cycle) + "x";
    PressKey(Qt::Key_Home, Qt::ControlModifier);
    PressKey(Qt::Key_Down);
    TypeOverCell(stem + "1");
    PressKey(Qt::Key_Right);
    TypeOverCell(stem + "2");
    PressKey(Qt::Key_Down);
    TypeOverCell(stem + "3");
    Settle();
  }

  std::vector<std::string> RowTexts(int row) const {
    std::vector<std::string> texts;
    for (int col = 0; col < form_.CellGrid1->ColCount(); ++col) texts.push_back(form_.CellGrid1->Cells(col, row));
    return texts;
  }

  // Rows 3 and 4 go, so row 5 moves up into the current row's place.
  void DeleteRows(int cycle) {
    TCellGrid& grid = *form_.CellGrid1;
    PressKey(Qt::Key_Down);
    const int before = grid.RowCount();
    const std::vector<std::string> movingUp = RowTexts(grid.Row() + kRowsDeletedPerCycle);
    PressKey(Qt::Key_Delete);
    if (cycle == 1) NoteWhetherDeleteDeletes(grid.RowCount() < before);
    PressKey(Qt::Key_Delete, Qt::ControlModifier);
    Settle();
    CheckNoErrorBox("the Delete key");
    if (deleteDeletes_ && RowTexts(grid.Row()) != movingUp)
      throw ESoakFailure("round " + std::to_string(cycle) + ": the row below the deleted ones did not move up");
  }

  void NoteWhetherDeleteDeletes(bool deleted) {
    deleteDeletes_ = deleted;
    if (!deleted) std::fprintf(stderr, "note: the Delete key deletes no row in this build\n");
  }

  std::string Failure(int cycle, const std::string& what) const {
    return "round " + std::to_string(cycle) + ": " + what;
  }

  // By the year, newest first, and back: the grid must read as before.
  void SortAndRestore(int cycle) {
    TCellGrid& grid = *form_.CellGrid1;
    const std::vector<std::string> first = RowTexts(1);
    grid.SortByColumn(3, sdDescending);
    if (grid.InFileOrder()) throw ESoakFailure(Failure(cycle, "the sort left the grid in file order"));
    grid.RestoreFileOrder();
    if (!grid.InFileOrder() || RowTexts(1) != first)
      throw ESoakFailure(Failure(cycle, "file order did not come back after the sort"));
  }

  // Only the rows of one weekday, then all of them again.
  void FilterAndClear(int cycle) {
    TCellGrid& grid = *form_.CellGrid1;
    const int rows = grid.RowCount();
    grid.Filter().Conditions = {{0, foEqual, "Mon", fjAnd}};
    grid.ApplyFilter();
    const bool hidSome = grid.Filtered() && grid.RowCount() < rows;
    grid.ClearFilter();
    grid.Filter().Conditions.clear();
    if (!hidSome || grid.RowCount() != rows)
      throw ESoakFailure(Failure(cycle, "the filter hid no row, or the rows did not all come back"));
  }

  void ZoomInAndOut(int cycle) {
    TCellGrid& grid = *form_.CellGrid1;
    const int height = grid.DefaultRowHeight();
    grid.Zoom(2);
    grid.Zoom(-2);
    Settle();
    if (grid.DefaultRowHeight() != height) throw ESoakFailure(Failure(cycle, "zooming out did not undo zooming in"));
  }

  // The first typed cell is wider than the weekdays its column was fitted
  // to, so the mouse resting on it asks for its whole text.
  void ShowHint(int cycle) {
    TCellGrid& grid = *form_.CellGrid1;
    grid.SetTopRow(0);
    const TRect cell = grid.CellRect(0, 1);
    const QPoint at((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
    QHelpEvent rest(QEvent::ToolTip, at, grid.viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(grid.viewport(), &rest);
    const bool shown = THintWindow::Showing() && THintWindow::Text() == typed_.front();
    THintWindow::Hide();
    if (!shown) throw ESoakFailure(Failure(cycle, "no hint showed the cut-off cell \"" + typed_.front() + "\""));
  }

  // An export and a print that wrote nothing would pass unseen, so each
  // file is looked at, and removed for the next round.
  void ExportAndPrint(int cycle) {
    TCellGrid& grid = *form_.CellGrid1;
    grid.WriteHtmlFile(folder_.HtmlPath().string());
    CheckNoErrorBox("the HTML export");
    if (ReadWholeFile(folder_.HtmlPath()).find(typed_.back()) == std::string::npos)
      throw ESoakFailure(Failure(cycle, "the HTML export holds no typed cell"));
    grid.PrintSettings().FromPage = 1;
    grid.PrintSettings().ToPage = 1;
    if (!grid.PrintToPdf(folder_.PdfPath().string())) throw ESoakFailure(Failure(cycle, "the print was stopped"));
    CheckNoErrorBox("the print to PDF");
    if (ReadWholeFile(folder_.PdfPath()).rfind("%PDF", 0) != 0) throw ESoakFailure(Failure(cycle, "no PDF was written"));
    fs::remove(folder_.HtmlPath());
    fs::remove(folder_.PdfPath());
  }

  void ReadSavedBack(int cycle) {
    TCellGrid& grid = *form_.CellGrid1;
    const long saved = CsvRowCount(ReadWholeFile(folder_.SavedPath()));
    grid.ReadCsvFile(folder_.SavedPath().string());
    Settle();
    CheckNoErrorBox("reading the CSV");
    if (grid.RowCount() != saved || grid.Cells(0, 1) != typed_.front())
      throw ESoakFailure(Failure(cycle, "the saved CSV read back as " + std::to_string(grid.RowCount()) + " rows, not " +
                                            std::to_string(saved)));
  }

  void SaveGrid() { AnswerDialog(form_.SaveGrid1, folder_.SavedPath(), "File > Save Grid"); }

  // A temporary left by one save would be taken over by the next, so the
  // folder is looked at after every save, not only at the end.
  void CheckSaved(int cycle) {
    CheckSaveFolderClean(folder_, cycle);
    const std::string csv = ReadWholeFile(folder_.SavedPath());
    const long expected = dateLines_ + 1 - (deleteDeletes_ ? kRowsDeletedPerCycle : 0);
    if (CsvRowCount(csv) != expected)
      throw ESoakFailure("round " + std::to_string(cycle) + " saved " + std::to_string(CsvRowCount(csv)) +
                         " rows, not " + std::to_string(expected));
    // Each typed text is unique to its round, so finding it anywhere will do.
    for (const std::string& text : typed_)
      if (csv.find(text) == std::string::npos)
        throw ESoakFailure("round " + std::to_string(cycle) + " saved no cell \"" + text + "\"");
  }

  const TScratchFolder& folder_;
  TMessageSinkGuard errors_;
  std::vector<std::string> errorBoxes_;
  TForm1 form_;
  long dateLines_ = 0;
  bool deleteDeletes_ = false;
  std::vector<std::string> typed_;
};

void ReportReadings(const TProcessReading& baseline, const TProcessReading& last, double seconds) {
  std::fprintf(stderr, "after round %d: %.1f MiB resident, %d descriptors\n", kBaselineCycle,
               baseline.ResidentMiB, baseline.Descriptors);
  std::fprintf(stderr, "after round %d: %.1f MiB resident, %d descriptors\n", kCycles, last.ResidentMiB,
               last.Descriptors);
  std::fprintf(stderr, "%d rounds in %.1f s, %.1f ms a round\n", kCycles, seconds, seconds * 1000 / kCycles);
  const double growth =
      baseline.ResidentMiB > 0 ? (last.ResidentMiB - baseline.ResidentMiB) / baseline.ResidentMiB * 100 : 0;
  PrintFigure("soak_rss_growth", growth, "%");
  PrintFigure("soak_fd_growth", last.Descriptors - baseline.Descriptors, "fds");
}

// A trend is easier to read than two points, and a long run shows it lives.
// The heap in use tells a leak (it climbs) from memory the allocator merely
// keeps (only the resident size climbs).
void ReportProgress(int cycle, std::chrono::steady_clock::time_point start) {
  const TProcessReading now = ReadProcess();
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  const struct mallinfo2 heap = mallinfo2();
  std::fprintf(stderr, "round %d: %.1f MiB resident, %.2f MiB heap in use, %d descriptors, %.0f s\n", cycle,
               now.ResidentMiB, heap.uordblks / 1048576.0, now.Descriptors, took.count());
}

void RunSoak() {
  TScratchFolder folder;
  EnsureMailExport(folder.ExportPath().string(), kExportBytes);
  TSoak soak(folder);
  std::fprintf(stderr, "export of %llu bytes with %ld date lines, %d rounds\n",
               static_cast<unsigned long long>(kExportBytes), soak.DateLines(), kCycles);
  TProcessReading baseline;
  const auto start = std::chrono::steady_clock::now();
  for (int cycle = 1; cycle <= kCycles; ++cycle) {
    soak.RunCycle(cycle);
    if (cycle == kBaselineCycle) baseline = ReadProcess();
    if (cycle % kProgressEvery == 0) ReportProgress(cycle, start);
  }
  const TProcessReading last = ReadProcess();
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  ReportReadings(baseline, last, took.count());
}

}  // namespace
}  // namespace kelvora::bench

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  kelvora::TApplication app(argc, argv);
  app.SetTitle("Kelvora");
  try {
    kelvora::bench::RunSoak();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "soak_bench: %s\n", error.what());
    return 1;
  }
  return 0;
}
