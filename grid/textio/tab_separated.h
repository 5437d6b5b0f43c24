#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvora {

// Cells as the text spreadsheets put on the clipboard: cells of a row
// separated by tabs, rows by line breaks. A cell that holds a tab, a line
// break or a double quote is written in double quotes with its quotes
// doubled.

// Appends one cell, quoted when it needs to be.
void AppendTabField(std::string& out, std::string_view cell);

// One cell read back; Text stays valid until the next call of Next.
struct TTabField {
  std::int64_t Row = 0;
  std::int64_t Col = 0;
  std::string_view Text;
};

// Reads the cells of a text one by one, in row order, without holding them
// all: a clipboard of fifty megabytes is read in place.
//
// A line break is CR LF, LF or CR alone. A line break at the very end ends
// the last row and starts no new one, and an empty text has no rows. A
// quoted cell may hold tabs and line breaks; text after its closing quote
// up to the next tab or line break belongs to it as written. A quote that
// is never closed is taken as a plain character, so that a stray quote
// keeps the rest of the text in its rows and cells. Any other byte, NUL
// included, is cell text.
class TTabReader {
 public:
  explicit TTabReader(std::string_view text) : text_(text), fieldAhead_(!text.empty()) {}
  bool Next(TTabField& field);

 private:
  void ReadPlain(std::size_t start);
  bool ReadQuoted(std::size_t start);
  void EndField();

  std::string_view text_;
  std::size_t pos_ = 0;
  std::int64_t row_ = 0;
  std::int64_t col_ = 0;
  bool fieldAhead_;  // a cell starts at pos_, even an empty one at the end
  std::string buffer_;
  std::string_view current_;
};

// How many rows the text has, and how many cells its widest row.
struct TTabShape {
  std::int64_t Rows = 0;
  std::int64_t Cols = 0;
};
TTabShape MeasureTabText(std::string_view text);

}  // namespace kelvora
