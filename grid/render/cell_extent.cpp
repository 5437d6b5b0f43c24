#include "grid/render/cell_extent.h"

#include <algorithm>
#include <string>

#include "grid/render/cell_content.h"
#include "grid/render/markup.h"
#include "grid/render/rich_text.h"

namespace kelvora {
namespace {

// Cuts the next line off the front of text: up to a carriage return, which
// takes a line feed right after it along. Answers through `more` whether a
// line follows, which it does after every carriage return, even the last.
std::string_view NextLine(std::string_view& text, bool& more) {
  const std::size_t cr = text.find('\r');
  more = cr != std::string_view::npos;
  if (!more) {
    const std::string_view line = text;
    text = {};
    return line;
  }
  const std::string_view line = text.substr(0, cr);
  const std::size_t skip = (cr + 1 < text.size() && text[cr + 1] == '\n') ? cr + 2 : cr + 1;
  text.remove_prefix(skip);
  return line;
}

// Links shown short lose everything up to "://", or failing that "mailto:".
std::string_view WithoutProtocol(std::string_view line, const TCellTextOptions& options) {
  if (!options.URLShow || options.URLFull) return line;
  for (std::string_view marker : {std::string_view("://"), std::string_view("mailto:")}) {
    const std::size_t at = line.find(marker);
    if (at != std::string_view::npos) return line.substr(at + marker.size());
  }
  return line;
}

TSize PlainTextExtent(TCanvas& canvas, std::string_view text, const TCellTextOptions& options) {
  int width = 0;
  int lines = 0;
  std::string_view rest = text;
  bool more = false;
  do {
    const std::string_view line = WithoutProtocol(NextLine(rest, more), options);
    width = std::max(width, canvas.TextWidth(line));
    ++lines;
  } while (options.Multilinecells && more);
  return {width, canvas.TextHeight("gh") * lines};
}

// The renderer's own measuring pass, in a rectangle no cell reaches, so that
// a column is as wide as its mark-up or rich text shows.
TSize FormattedExtent(TCanvas& canvas, std::string_view text, const TCellTextOptions& options,
                      TMarkupResult (*render)(TCanvas&, const TMarkupInput&)) {
  TMarkupInput input;
  input.Text = text;
  input.Rect = {0, 0, kMarkupMeasureExtent, kMarkupMeasureExtent};
  input.Images = options.Images;
  input.MeasureOnly = true;
  const TMarkupResult result = render(canvas, input);
  return {result.Width, result.Height};
}

}  // namespace

std::string_view FirstDisplayLine(std::string_view text, const TCellTextOptions& options) {
  bool more = false;
  return WithoutProtocol(NextLine(text, more), options);
}

TSize CellTextExtent(TCanvas& canvas, std::string_view text, const TCellTextOptions& options) {
  switch (MeasuredContentKind(text, options.EnableHTML)) {
    case ckMarkup: return FormattedExtent(canvas, text, options, &DrawMarkup);
    case ckRichText: return FormattedExtent(canvas, text, options, &DrawRichText);
    default:
      return PlainTextExtent(canvas, text, options);
  }
}

}  // namespace kelvora
