#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "grid/render/markup.h"
#include "grid/render/markup_images.h"
#include "grid/render/markup_style.h"
#include "toolkit/canvas.h"
#include "toolkit/geometry.h"

namespace kelvora {

// The second stage of the mark-up renderer: where every piece of a text
// stands. Measuring and painting both come here, so what column fitting
// measures is what a cell shows. All positions are the surface's.

// A stretch of text drawn in one style: the words of a line that follow each
// other with nothing between them that changes their look.
struct TMarkupRun {
  int Style = 0;  // into TMarkupLayout::Styles
  int Link = -1;  // the link it belongs to, -1 for none
  TRect Box;      // its advance and its text height, bottom on the line's text bottom
  std::size_t Start = 0;  // into TMarkupLayout::PlainText
  std::size_t Length = 0;
  std::string_view Glyph;  // a list bullet's character, drawn instead of text
};

struct TMarkupImage {
  TRect Box;  // as placed, stretched when it is
  int Link = -1;
  TMarkupPicture Picture;
};

struct TMarkupLine {
  int Top = 0;
  int Height = 0;
  int Left = 0;   // where the line starts once aligned
  int Width = 0;  // without a trailing space
  TColor Fill = clNone;  // a paragraph's background across the rectangle
  bool Rule = false;     // a horizontal rule under it
};

struct TMarkupLayout {
  std::vector<TMarkupStyle> Styles;
  std::vector<TMarkupRun> Runs;
  std::vector<TMarkupImage> Images;
  std::vector<TMarkupLine> Lines;
  // The targets of the links that have something laid out, by link index.
  std::vector<std::pair<int, std::string_view>> Links;  // into the input text
  std::string PlainText;  // the words decoded, hidden ones too, and a CR for each <BR>
  TColor BodyColor = clNone;
  std::optional<TMarkupPicture> BodyPicture;
  int Width = 0;   // of the widest line
  int Height = 0;  // of all lines; the height of "gh" when they have none

  std::string_view RunText(const TMarkupRun& run) const {
    return run.Glyph.empty() ? std::string_view(PlainText).substr(run.Start, run.Length) : run.Glyph;
  }
};

// Lays the text out from the surface's current font in the input's
// rectangle, line by line, until the text ends or the next line would start
// at or below the rectangle's bottom: a huge text costs what it shows. The
// surface is used to measure; its font is left changed. Measuring alone,
// with no hit point inside the rectangle, keeps only the lines: column
// fitting measures a million cells this way.
TMarkupLayout LayoutMarkup(TCanvas& canvas, const TMarkupInput& input);

class TMarkupFlow;

// The same for any flow of formatted text (rich text comes this way); the
// input's Text is not read, the flow stands for it.
TMarkupLayout LayoutFlow(TCanvas& canvas, const TMarkupInput& input, TMarkupFlow& flow);

// The link colours a mark-up input asks for.
TMarkupLinkColours MarkupLinkColours(const TMarkupInput& input);

}  // namespace kelvora
