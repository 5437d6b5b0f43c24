#pragma once

#include <string>
#include <string_view>

#include "toolkit/color.h"

namespace kelvora {

// Appends a byte text as the text of an HTML document in UTF-8: read by the
// display rule, with "&", "<", ">" and both quotes as character references
// (so it is safe inside an attribute value too), and the control characters
// that HTML forbids left out. With lineBreaks, each CR LF, CR or LF becomes
// "<br/>"; without, it becomes a space. Void elements are closed, so the
// page is well-formed XML as well as HTML.
void AppendHtmlText(std::string& out, std::string_view bytes, bool lineBreaks);

// "#rrggbb" for a colour, system colours through the application's palette.
std::string HtmlColor(TColor color);

}  // namespace kelvora
