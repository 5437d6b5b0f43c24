#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "grid/textio/message_pacer.h"

namespace kelvora {

// The grid settings that shape a CSV file.
struct TCsvSettings {
  char FieldDelimiter = '\0';  // byte 0: a comma
  bool IncludeFixedCells = true;
  bool IncludeHiddenColumns = false;
  bool CaretTildeEncoding = false;
  bool OemConvert = false;
  bool Multilinecells = false;
};

// What the writer needs of a grid. The writer asks for the counts again
// before every row: progress handlers and the messages processed during a
// long write may change the grid between two rows. Reading a cell or mapping
// a column must not change the grid.
class TCsvCellSource {
 public:
  virtual ~TCsvCellSource() = default;

  virtual int RowCount() const = 0;
  virtual int ColCount() const = 0;
  virtual int FixedRows() const = 0;
  virtual int FixedCols() const = 0;
  virtual int FixedFooters() const = 0;
  virtual int FixedRightCols() const = 0;
  virtual int HiddenColumnCount() const = 0;
  // Asked only while columns are hidden: without them every displayed
  // column is the stored column of the same index.
  virtual int DisplayToDataColumn(int displayCol) const = 0;

  // The text of a stored cell. The view stays valid until the next call on
  // the source.
  virtual std::string_view CellText(int col, int row) = 0;
  // The texts of stored columns first..last of one row, into `out` (room for
  // last - first + 1 views, at most kRowChunk): a grid looks the row up once.
  // The views stay valid until the next call on the source. By default each
  // text is asked for on its own and kept here.
  static constexpr int kRowChunk = 64;
  virtual void RowTexts(int row, int first, int last, std::string_view* out);
  // The same texts in their packed form (TPackedText), one word each, when
  // every one of them is short. A store that keeps short texts so hands them
  // over without making views, and the writer tests and stores each with a
  // few word operations. Answers false when a text does not fit (the writer
  // then asks for RowTexts); by default always.
  virtual bool RowPackedTexts(int row, int first, int last, std::uint64_t* out);

  // Whether anyone listens to progress; when no one does, none is computed.
  virtual bool WantsProgress() const = 0;
  virtual void ReportProgress(short percent) = 0;
  // Lets the window repaint and handle input in the middle of a long write.
  virtual void ProcessMessages() = 0;

 private:
  std::string rowTexts_[kRowChunk];
};

// Writes the grid's cells as delimited text, one grid row per line, each line
// ended by CR LF. Without append the file is created or replaced; the
// replacement happens only once everything is written, so a failure part-way
// leaves an existing file as it was. With append the lines follow the end of
// an existing file, which is created when missing.
//
// A file that cannot be created raises ECellGridError("Cannot create file "
// + fileName); a failure while writing or closing raises the text-file
// layer's EInOutError, its message after "Cannot write file " + fileName +
// ": ".
void WriteCsvFile(TCsvCellSource& source, const TCsvSettings& settings,
                  const std::string& fileName, bool append);

// The same, with the caller's pacer deciding when messages are processed.
void WriteCsvFile(TCsvCellSource& source, const TCsvSettings& settings,
                  const std::string& fileName, bool append, TMessagePacer& pacer);

// The progress reported after writing the row with the absolute index row:
// row / (rowCount - 1) x 100, rounded to the nearest integer with halves to
// the even neighbour. A grid of one row is done after its first row: 100.
short CsvProgressPercent(std::int64_t row, std::int64_t rowCount);

}  // namespace kelvora
