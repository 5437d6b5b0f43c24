#pragma once

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
