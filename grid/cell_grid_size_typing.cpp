// Growing the edited cell with what is typed (SizeWhileTyping): the column
// as wide as the text's widest line, the row as tall as its lines, measured
// in the font the cell is painted in and with the margin column fitting
// leaves. A cell only grows while it is edited, and keeps what it grew.
#include <algorithm>
#include <cstddef>
#include <functional>
#include <string_view>

#include "grid/cell_grid.h"
#include "grid/render/cell_font.h"
#include "toolkit/canvas_keeper.h"

namespace kelvora {
namespace {

// A character is at least a pixel wide and takes at most four bytes, so no
// more of a line than this can matter to a width that stops at `pixels`.
// A cell of ten megabytes is then measured in a few thousand bytes.
std::size_t BytesForWidth(int pixels) { return (static_cast<std::size_t>(std::max(pixels, 0)) + 1) * 4; }

// The front of a text up to `bytes`, never cutting a UTF-8 character, which
// would make the display rule read the whole piece as Windows-1252.
std::string_view WholeCharacters(std::string_view text, std::size_t bytes) {
  if (bytes >= text.size()) return text;
  while (bytes > 0 && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80) --bytes;
  return text.substr(0, bytes);
}

int MostLines(int height, int lineHeight) { return height / std::max(lineHeight, 1) + 1; }

// The lines as the edit box shows them without wrapping: each ends at a
// carriage return (the box writes CR LF). Only the lines a box of `cap`
// shows are measured, each as far as `cap` is wide.
TSize LinesExtent(TCanvas& canvas, std::string_view text, TSize cap) {
  const int lineHeight = canvas.TextHeight("gh");
  const int mostLines = MostLines(cap.cy, lineHeight);
  int width = 0;
  int lines = 0;
  for (std::string_view rest = text;;) {
    const std::size_t cr = rest.find('\r');
    const std::string_view line = rest.substr(0, cr);
    if (width < cap.cx) width = std::max(width, canvas.TextWidth(WholeCharacters(line, BytesForWidth(cap.cx))));
    if (++lines >= mostLines || cr == std::string_view::npos) break;
    rest.remove_prefix(cr + (cr + 1 < rest.size() && rest[cr + 1] == '\n' ? 2 : 1));
  }
  return {width, lines * lineHeight};
}

// With word wrap the text breaks at the column's text width, as painting
// breaks it; each line holds a character at least, which bounds the part of
// the text that a box of `cap` can show.
TSize WrappedExtent(TCanvas& canvas, std::string_view text, int wrapWidth, TSize cap) {
  const int mostLines = MostLines(cap.cy, canvas.TextHeight("gh"));
  const std::string_view shown = WholeCharacters(text, static_cast<std::size_t>(mostLines) * BytesForWidth(wrapWidth));
  TRect box{0, 0, std::max(wrapWidth, 1), 0};
  canvas.DrawText(shown, box, TTextFlags{tfNoPrefix, tfExpandTabs, tfWordBreak, tfEditControl, tfCalcRect});
  return {box.Width(), box.Height()};
}

// The pixels the fixed columns (rows) take, grid lines included.
int FixedExtent(int count, int lineWidth, const std::function<int(int)>& size) {
  int extent = 0;
  for (int i = 0; i < count; ++i) extent += size(i) + lineWidth;
  return extent;
}

}  // namespace

// Runs after every change in the edit box, once the cell holds the change.
// The grown column and row keep the edited cell in view.
void TCellGrid::GrowToTypedText() {
  const TGridCoord cell = EditorCell();
  if ((!sizeWhileTyping_.Width && !sizeWhileTyping_.Height) || cell.X < 0 || cell.Y < 0) return;
  const int dataCol = DisplayToDataColumn(cell.X);
  TCanvas& canvas = Canvas();
  const TCanvasKeeper keeper(canvas, {cpFont});
  TBrush brush;
  TFont font;
  ApplyCellFont(*this, {&Font(), &fixedFont_, fontSizeOffset_}, dataCol, cell.Y, false, TGridDrawState{}, brush,
                font);
  canvas.SetFont(font);
  const std::string_view text = store_.TextView(dataCol, cell.Y);
  const TSize cap = TypedGrowthCap();
  TSize need = TypedTextExtent(canvas, text, cell.X, cap);
  bool grown = false;
  const int width = std::min(need.cx + kTextFitMargin, cap.cx);
  if (sizeWhileTyping_.Width && width > ColWidths(cell.X)) {
    SetColWidths(cell.X, width);
    grown = true;
    if (WordWrap()) need = TypedTextExtent(canvas, text, cell.X, cap);
  }
  const int height = std::min(need.cy + kTextFitMargin, cap.cy);
  if (sizeWhileTyping_.Height && height > RowHeights(cell.Y)) {
    SetRowHeights(cell.Y, height);
    grown = true;
  }
  if (grown) ScrollIntoView(cell.X, cell.Y);
}

TSize TCellGrid::TypedTextExtent(TCanvas& canvas, std::string_view text, int col, TSize cap) {
  if (!WordWrap()) return LinesExtent(canvas, text, cap);
  return WrappedExtent(canvas, text, ColWidths(col) - kTextFitMargin, cap);
}

// A cell grows no further than the view beside the fixed columns and below
// the fixed rows can show, nor past what an axis holds.
TSize TCellGrid::TypedGrowthCap() const {
  const int lineWidth = GridLineWidth();
  const int fixedWidth = FixedExtent(TCustomGrid::FixedCols(), lineWidth, [this](int i) { return ColWidths(i); });
  const int fixedHeight = FixedExtent(TCustomGrid::FixedRows(), lineWidth, [this](int i) { return RowHeights(i); });
  return {std::clamp(viewport()->width() - fixedWidth - lineWidth, 0, TGridAxis::kMaxSize),
          std::clamp(viewport()->height() - fixedHeight - lineWidth, 0, TGridAxis::kMaxSize)};
}

}  // namespace kelvora
