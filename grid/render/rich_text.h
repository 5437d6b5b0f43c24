#pragma once

#include <string>
#include <string_view>

#include "grid/render/markup.h"
#include "toolkit/canvas.h"

namespace kelvora {

// A rich-text cell ("{\rtf1 ...") is read by one reader (rich_text_reader.h)
// into the words and looks that the mark-up layout places, so that what is
// painted, what column fitting measures, what is printed and what a screen
// reader speaks all come from the same reading.

// The plain text, as a rich-text box would give it: paragraph and line
// marks become CR LF (the one ending the document is dropped), tabs and
// table cells are tabs. It is UTF-8, whatever the document's code page.
std::string RichTextToPlainText(std::string_view document);

// Lays the document out and, unless only measuring, paints it, the way
// DrawMarkup does with mark-up: from the surface's font and brush, which
// are as they were when it returns. The document names its own fonts,
// sizes and colours; where it names none, the surface's stand. Character
// styles (bold and so on) are the document's alone. Lines wrap at the
// rectangle's width, and an empty paragraph is a line of its font high.
TMarkupResult DrawRichText(TCanvas& canvas, const TMarkupInput& input);

}  // namespace kelvora
