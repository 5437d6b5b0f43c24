#pragma once

#include <cstdint>
#include <string>

#include "toolkit/color.h"
#include "toolkit/font.h"

namespace kelvora {

enum THtmlAlign { haLeft, haRight, haCenter };

// One cell as the table shows it. Body is HTML already: escaped text, or a
// mark-up cell's sanitised HTML. Colours clNone leave the table's own.
struct THtmlCell {
  std::string Body;
  TColor Background = clNone;
  TColor FontColor = clNone;
  TFontStyles Style;
  THtmlAlign Align = haLeft;
  bool Header = false;
};

// What the export needs of a grid: the cells of a block, column and row as
// displayed, asked for in row order.
class THtmlCellSource {
 public:
  virtual ~THtmlCellSource() = default;
  virtual void Cell(int col, int row, THtmlCell& cell) = 0;
  // The packed texts (TPackedText) of columns first..last of one row (room
  // for last - first + 1 words, at most kRowChunk), when each of those cells
  // is a body cell with the table's own look, so that only its text is
  // written. False when one is not; by default always.
  static constexpr int kRowChunk = 64;
  virtual bool RowPlainTexts(int row, int first, int last, std::uint64_t* out);
};

// The block of cells and the table's own look: the colours that a cell
// without colours of its own has, given once in the page's style sheet.
struct THtmlTable {
  int FirstCol = 0;
  int FirstRow = 0;
  int LastCol = -1;
  int LastRow = -1;
  int WidthPercent = 100;
  TColor CellBackground = clWhite;
  TColor CellColor = clBlack;
  TColor HeaderBackground = clBtnFace;
  TColor HeaderColor = clBlack;
  // Cells closed by their end tags. HTML lets a table leave them out, which
  // makes a big file nearly half the size; a page kept whole is well-formed
  // XML too, for programs that read it so. Rows keep theirs either way, so
  // that the line break after a row is no cell's text.
  bool EndTags = true;
};

// A whole HTML5 document in UTF-8 holding the block as one table; header
// cells are "th", the others "td".
std::string HtmlDocument(THtmlCellSource& source, const THtmlTable& table);

// The same document into a file, written as the CSV is: into a temporary
// file that replaces the old one only once it is complete. Raises
// ECellGridError("Cannot create file " + fileName) when it cannot be made,
// EInOutError when a write fails.
void WriteHtmlFile(THtmlCellSource& source, const THtmlTable& table, const std::string& fileName);

}  // namespace kelvora
