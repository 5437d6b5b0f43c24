#pragma once

#include <string>
#include <string_view>

namespace kelvora {

// The plain text of a rich-text cell ("{\rtf1 ..."), as a rich-text box would
// show it without its formatting. Paragraph and line marks become CR LF (the
// one ending the document is dropped), tabs stay tabs, and tables, styles,
// pictures, document information and other destination groups are left out.
//
// Characters keep the document's own 8-bit code page: "\'e9" gives the byte
// 0xE9. A "\uN" Unicode character is read through the fallback the writer put
// after it for readers without Unicode, except that a character in the ASCII
// range, or one with no fallback at all (\uc0), is written directly (the
// latter as UTF-8).
//
// Any input is safe: truncated or unbalanced documents give what could be read.
std::string RichTextToPlainText(std::string_view document);

}  // namespace kelvora
