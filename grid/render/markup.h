#pragma once

#include <string>
#include <string_view>

#include "toolkit/bitmap.h"
#include "toolkit/canvas.h"
#include "toolkit/color.h"
#include "toolkit/geometry.h"

namespace kelvora {

// What one call of the mark-up renderer is given besides the surface, whose
// font and brush are the starting style.
struct TMarkupInput {
  std::string_view Text;
  TRect Rect;
  const TImageList* Images = nullptr;  // GridImages; none when null
  TPoint HitPoint{-1, -1};             // outside every rectangle: nothing is hit
  TColor LinkColor = clBlue;
  TColor HoverLinkColor = clNone;  // background of a hovered link; clNone: none
  TColor HoverTextColor = clNone;  // text of a hovered link; clNone: none
  int HoverLink = -1;              // the link the hover colours are for; -1: none
  bool BlinkPhase = true;
  TColor ShadowColor = clGray;
  int ShadowOffset = 1;
  bool MeasureOnly = false;
  bool Printing = false;
  double PrintScale = 1.0;
};

// What it gives back.
struct TMarkupResult {
  bool OnLink = false;  // the hit point lies on a link
  std::string Anchor;   // that link's href
  TRect LinkRect;
  int LinkIndex = -1;  // links count from 0
  int Width = 0;       // the widest line
  int Height = 0;      // all the lines
  std::string PlainText;
};

// The rectangle a cell's mark-up is drawn in: the cell's, with its left and
// top moved in by 2 pixels. Painting and hit testing both take it from here.
inline TRect MarkupTextRect(const TRect& cell) { return {cell.Left + 2, cell.Top + 2, cell.Right, cell.Bottom}; }

// Lays the text out and, unless only measuring, paints it. Only the lines
// that start inside the rectangle are laid out, so PlainText holds the text
// of those; measure into a rectangle of 65535 x 65535 for a cell's whole
// text. The surface's
// font and brush are as they were when it returns.
TMarkupResult DrawMarkup(TCanvas& canvas, const TMarkupInput& input);

class TMarkupFlow;

// The same for any flow of formatted text, whose entry font was the
// surface's when the flow was made; the input's Text is not read.
TMarkupResult DrawFlow(TCanvas& canvas, const TMarkupInput& input, TMarkupFlow& flow);

}  // namespace kelvora
