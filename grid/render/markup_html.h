#pragma once

#include <string>
#include <string_view>

namespace kelvora {

// A mark-up cell as the HTML that shows the same: bold, italic, underline,
// strike-out, sub- and superscript, line breaks, rules, paragraphs, lists and
// fonts (face, size, colours) become their HTML tags, links their anchors.
// Only that comes out, so a cell cannot smuggle anything into the page: a
// tag the mark-up does not know is left out, every attribute is rebuilt from
// its parsed value (a colour as "#rrggbb", a size as a number, a face of
// plain letters), a link's target only when it is an http, https or mailto
// address, and every word escaped. Hidden text and pictures are left out.
// The elements are always closed in order, whatever the cell's nesting.
std::string MarkupToHtml(std::string_view markup);

}  // namespace kelvora
