#pragma once

#include <string>
#include <string_view>

class QMimeData;

namespace kelvora {

// The system clipboard as text. Texts are byte strings like cells: what is
// put on the clipboard is read by the display rule (UTF-8 when valid,
// Windows-1252 otherwise), and what is taken from it comes back as UTF-8,
// so another program pastes the characters the user saw.
bool ClipboardHasText();
std::string ClipboardText();  // empty when the clipboard holds no text
void SetClipboardText(std::string_view text);
// The text beside an HTML document (UTF-8), so that a program that reads
// HTML pastes a table and any other the text.
void SetClipboardTextAndHtml(std::string_view text, std::string_view html);
// The same pair as the data of a drag, without HTML when it is empty; the
// caller owns it.
QMimeData* TextAndHtmlMimeData(std::string_view text, std::string_view html);

}  // namespace kelvora
