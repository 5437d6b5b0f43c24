#pragma once

#include <string>
#include <string_view>

#include "grid/render/cell_content.h"
#include "grid/render/cell_font.h"
#include "grid/render/cell_paint.h"
#include "toolkit/canvas_keeper.h"

namespace kelvora {

// Painting one cell, step by step. It lives for one cell: the font, brush
// and state it changes are that cell's alone, and the surface's pen, clip
// and text background are as they were when it ends, whichever way it ends.
class TCellPainter {
 public:
  TCellPainter(const TCellPaintContext& context, const TCellToPaint& cell);
  TCellPainter(const TCellPainter&) = delete;
  TCellPainter& operator=(const TCellPainter&) = delete;

  void Paint();

 private:
  // cell_paint.cpp: choosing the font and colours, the row indicator, and
  // the steps after the content.
  void MarkExtraFixed();
  void ApplyFontAndColours();
  void DrawRowIndicator();
  void DrawGraphic();
  void FireDrawCell();
  void CancelFocusRect();

  // cell_paint_content.cpp: selection, the text to show, the background.
  void PaintContent();
  void ApplySelectionColours();
  void UndoSelectionColours();
  void TakeText();
  void MaskPassword();
  void KeepDisjunctRows();
  void PaintBackground();
  void PaintSelectionRectangle();

  // cell_paint_text.cpp: the three kinds of text.
  void PaintMarkup();
  void PaintRichText();
  void PaintPlainText();
  std::string_view ShownLine(int width);
  TTextFlags PlainTextFlags(TAlignment alignment, bool severalLines) const;
  void DrawSortGlyph();
  int SortGlyphLeft();
  std::string SortRankText() const;

  // cell_paint_frame.cpp: borders and the edges of extra fixed cells.
  void PaintBorders();
  void PaintFixedEdges();
  void PaintFlatEdges(bool vertical, bool horizontal);

  bool IsFixedCell() const { return state_.contains(gdFixed); }
  bool IsLink() const;

  TCanvas& canvas_;
  const TCellPaintSettings& settings_;
  TCellPaintHost& host_;
  const TCellPaintContext& context_;
  const TCellToPaint& cell_;

  TRect rect_;  // the cell, less the row indicator
  TGridDrawState state_;
  bool extraFixed_ = false;
  bool selected_ = false;     // counts as selected
  bool highlighted_ = false;  // shows the selection colours
  TColor linkColor_;
  std::string& text_;  // the text to show, in the context's buffer
  TCellContentKind kind_ = ckPlain;

  // The pen and the text background are the surface's, not the cell's: the
  // next cell must find them as this one did.
  const TCanvasKeeper surfaceKeeper_;
};

// Clips the surface to a cell while a step that could reach past it draws,
// and gives the paint area back afterwards.
class TCellClip {
 public:
  TCellClip(TCanvas& canvas, const TRect& cell, const TRect& paintArea);
  ~TCellClip();
  TCellClip(const TCellClip&) = delete;
  TCellClip& operator=(const TCellClip&) = delete;

 private:
  TCanvas& canvas_;
  TRect paintArea_;
};

}  // namespace kelvora
