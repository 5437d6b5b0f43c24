// The content of a cell: selection colours, the text to show, the background
// and the selection's frame, then the text by its kind.
#include <algorithm>
#include <cstdint>

#include "grid/render/cell_painter.h"
#include "toolkit/byte_text.h"

namespace kelvora {
namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Characters as the text is shown: UTF-8 when it is valid UTF-8, else one a
// byte. Counting stops at `limit`, where a text of any kind has as many.
std::int64_t ShownCharacters(std::string_view text, std::int64_t limit) {
  const auto bytes = static_cast<std::int64_t>(text.size());
  if (bytes / 4 >= limit || !IsValidUtf8(text)) return std::min(bytes, limit);
  const auto count = std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuationByte(c); });
  return std::min<std::int64_t>(count, limit);
}

}  // namespace

void TCellPainter::PaintContent() {
  ApplySelectionColours();
  TakeText();
  KeepDisjunctRows();
  PaintBackground();
  PaintSelectionRectangle();
  switch (kind_) {
    case ckMarkup: PaintMarkup(); break;
    case ckRichText: PaintRichText(); break;
    case ckPlain:
    case ckFormula:
      if (!settings_.EnableGraphics || !host_.CellGraphicFillsCell(cell_.DataCol, cell_.Row)) PaintPlainText();
      break;
  }
}

// A cell of a row in the disjoint row selection counts as selected as well.
// The focused cell keeps its own colours unless goDrawFocusSelected asks
// otherwise. A link takes the selection's text colour only when there is
// one: clNone would draw it black.
void TCellPainter::ApplySelectionColours() {
  const TGridOptions options = settings_.Options;
  selected_ = state_.contains(gdSelected) || (options.contains(goRowSelect) && host_.RowSelect(cell_.Row) &&
                                              cell_.DataCol >= settings_.Areas.FixedCols);
  highlighted_ = selected_ && (!state_.contains(gdFocused) || options.contains(goDrawFocusSelected));
  if (!highlighted_) return;
  if (settings_.SelectionColor != clNone) canvas_.Brush().Color = settings_.SelectionColor;
  if (settings_.SelectionTextColor != clNone) {
    canvas_.Font().Color = settings_.SelectionTextColor;
    linkColor_ = settings_.SelectionTextColor;
  }
  if (!settings_.GridFocused && !settings_.ShowSelection) UndoSelectionColours();
}

// Back to the colours the cell has without the selection: the text in the
// font's colour in every case, as the selection's text colour must not stay.
void TCellPainter::UndoSelectionColours() {
  highlighted_ = false;
  linkColor_ = settings_.URLColor;
  canvas_.Brush().Color = settings_.Color;
  canvas_.Font().Color = settings_.Font->Color;
  if (settings_.Bands.Active) host_.ApplyCellColours(cell_.DataCol, cell_.Row, {}, canvas_.Brush(), canvas_.Font());
}

// A formula is shown as the text its hook makes of it; a password as that
// many password characters, which nothing else can read into, so it is
// plain text whatever it held.
void TCellPainter::TakeText() {
  text_.assign(host_.StoredText(cell_.DataCol, cell_.Row));
  kind_ = CellContentKind(text_, settings_.EnableHTML);
  if (kind_ == ckFormula) {
    host_.CalcFormula(cell_.DataCol, cell_.Row, text_);
    kind_ = ckPlain;
  }
  if (host_.IsPasswordCell(cell_.DataCol, cell_.Row)) {
    MaskPassword();
    kind_ = ckPlain;
  }
}

// Past what the cell can show at a pixel a character, more characters would
// change nothing on the screen but the time it takes.
void TCellPainter::MaskPassword() {
  const std::int64_t visible =
      (std::int64_t{std::max(rect_.Width(), 0)} + 1) * (std::int64_t{std::max(rect_.Height(), 0)} + 1);
  text_.assign(static_cast<std::size_t>(ShownCharacters(text_, visible)), settings_.PasswordChar);
}

void TCellPainter::KeepDisjunctRows() {
  if (!settings_.DisjunctRowSelect || IsFixedCell() || host_.RowSelect(cell_.Row)) return;
  highlighted_ = false;
  linkColor_ = settings_.URLColor;
  canvas_.Brush().Color = settings_.Color;
  canvas_.Font().Color = settings_.Font->Color;
  host_.ApplyCellColours(cell_.DataCol, cell_.Row, state_, canvas_.Brush(), canvas_.Font());
}

// The picture is laid in tiles from the surface's origin, so that it runs on
// unbroken from cell to cell, or once at its place. The cell is filled first,
// so that what the picture leaves uncovered has the cell's colour.
void TCellPainter::PaintBackground() {
  canvas_.FillRect(rect_);
  const TBackgroundPicture& picture = settings_.BackGround;
  if (!picture.Bitmap || picture.Bitmap->Empty()) return;
  if ((picture.Cells == bcFixed) != IsFixedCell()) return;
  if (highlighted_ && settings_.ShowSelection) return;
  if (picture.Display == bdTile) {
    canvas_.DrawTiled(rect_, *picture.Bitmap, {0, 0});
    return;
  }
  // Wide, as the picture may stand anywhere.
  const std::int64_t left = picture.Left, top = picture.Top;
  if (left + picture.Bitmap->Width() <= rect_.Left || left >= rect_.Right ||
      top + picture.Bitmap->Height() <= rect_.Top || top >= rect_.Bottom)
    return;
  const TCellClip clip(canvas_, rect_, context_.PaintArea);
  canvas_.Draw(picture.Left, picture.Top, *picture.Bitmap);
}

// A 2-pixel frame along the selection's outer edge, drawn cell by cell.
void TCellPainter::PaintSelectionRectangle() {
  const TGridRect& selection = settings_.Selection;
  if (!settings_.SelectionRectangle || !selection.Contains(cell_.Col, cell_.Row)) return;
  TPen& pen = canvas_.Pen();
  pen.Color = clBlack;
  pen.Width = 2;
  const int left = rect_.Left + 1, right = rect_.Right - 1, top = rect_.Top + 1, bottom = rect_.Bottom - 1;
  const auto line = [this](int x0, int y0, int x1, int y1) {
    canvas_.MoveTo(x0, y0);
    canvas_.LineTo(x1, y1);
  };
  if (cell_.Col == selection.Left) line(left, top, left, bottom);
  if (cell_.Col == selection.Right) line(right, top, right, bottom);
  if (cell_.Row == selection.Top) line(left, top, right, top);
  if (cell_.Row == selection.Bottom) line(left, bottom, right, bottom);
  pen.Width = 1;
}

}  // namespace kelvora
