#include <QLineEdit>

#include <climits>

#include "app/date_line.h"
#include "app/form1.h"
#include "grid/cell_grid.h"
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

void WriteDateRow(TCellGrid& grid, int row, const TDateFields& fields) {
  if (fields.HasWeekday) grid.SetCells(0, row, fields.Pieces[0]);
  for (int col = 1; col < kDateColumnCount; ++col) grid.SetCells(col, row, fields.Pieces[col]);
}

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
  int row = 0;
  while (!file.Eof()) {
    const std::string_view line = file.ReadLineView();
    if (!IsDateLine(line)) continue;
    if (CellGrid1->RowCount() == INT_MAX) throw Exception("The file has too many date lines for the grid");
    WriteDateRow(*CellGrid1, row, CutDateLine(line));
    ++row;
    CellGrid1->SetRowCount(CellGrid1->RowCount() + 1);
  }
  CellGrid1->FitColumnsToText(true, kFitExtraWidth);
  file.Close();
}

}  // namespace kelvora
