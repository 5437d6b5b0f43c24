#include <QLineEdit>

#include <climits>

#include "app/date_line.h"
#include "app/form1.h"
#include "grid/cell_grid.h"
#include "toolkit/assistive_tools.h"
#include "toolkit/byte_text.h"
#include "toolkit/exceptions.h"
#include "toolkit/paths.h"
#include "toolkit/screen_cursor.h"
#include "toolkit/text_file.h"

namespace kelvora {

namespace {

// The room a date column gets beside its widest text.
constexpr int kFitExtraWidth = 2;

constexpr const char* kNoFileChosen = "No file chosen: choose one with File > Open first";

// Writes the date rows from row 0 on and grows the row count by one for
// each. Nothing runs between two rows of one command, so the count is grown
// once when the rows are done, or when the command fails half-way, which no
// one can tell from growing it row by row; except an assistive tool, which
// is told of each cell as it is written, and so meets every row counted.
class TDateRowWriter {
 public:
  explicit TDateRowWriter(TCellGrid& grid)
      : grid_(grid), count_(grid.RowCount()), rowByRow_(AssistiveToolListening()) {}

  void Write(const TDateFields& fields) {
    if (count_ == INT_MAX) throw Exception("The file has too many date lines for the grid");
    if (fields.HasWeekday) grid_.SetCells(0, row_, fields.Pieces[0]);
    for (int col = 1; col < kDateColumnCount; ++col) grid_.SetCells(col, row_, fields.Pieces[col]);
    ++row_;
    ++count_;
    if (rowByRow_) Count();
  }
  // The row count that growing it row by row would have reached; a run
  // without date lines leaves the count alone, as one that never grew it.
  void Count() {
    if (count_ != grid_.RowCount()) grid_.SetRowCount(count_);
  }

 private:
  TCellGrid& grid_;
  int row_ = 0;
  int count_;
  bool rowByRow_;
};

}  // namespace

// File > Open. The grid is emptied only when a file was chosen.
void TForm1::Button3Click(QObject*) {
  OpenDialog1.SetInitialDir(ExtractFileDir(ExecutablePath()));
  TCursorGuard hourglass(crHourGlass);
  if (!OpenDialog1.Execute()) return;
  CurrentFileName = OpenDialog1.FileName();
  Edit1->setText(DisplayText(ExtractFileName(CurrentFileName)));
  CellGrid1->EraseAllCells();
  CellGrid1->SetRowCount(1);
}

// File > Save Grid, under the name exactly as chosen.
void TForm1::Button5Click(QObject*) {
  if (SaveDialog1.Execute()) CellGrid1->WriteCsvFile(SaveDialog1.FileName());
}

// File > Exit.
void TForm1::Button2Click(QObject*) { close(); }

// "Get Data": every line that begins with "Date:" becomes the next row. The
// rows are written from row 0 on while the row count only grows, so the grid
// keeps one empty last row after a run on a freshly opened file. On any
// failure the cursor comes back and the file is closed all the same.
void TForm1::ReadOld(QObject*) {
  TCursorGuard hourglass(crHourGlass);
  // An empty name would stand for standard input, which a windowed program
  // does not have: it could only wait or fail obscurely.
  if (CurrentFileName.empty()) throw EInOutError(ioNoFileName, kNoFileChosen);
  TTextReader file;
  file.AssignFile(CurrentFileName);
  file.Reset();
  CellGrid1->SetColCount(kDateColumnCount);
  TDateRowWriter rows(*CellGrid1);
  try {
    std::string_view line;
    while (file.ReadLineStartingWith(kDateLinePrefix, line)) rows.Write(CutDateLine(line));
  } catch (...) {
    rows.Count();  // the rows written so far stay, counted
    throw;
  }
  rows.Count();
  CellGrid1->FitColumnsToText(true, kFitExtraWidth);
  file.Close();
}

}  // namespace kelvora
