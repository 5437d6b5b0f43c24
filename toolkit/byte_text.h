#pragma once

#include <string>
#include <string_view>

class QString;

namespace kelvora {

// Cells and file lines are byte strings. To show or measure one, it is read as
// UTF-8 when it is valid UTF-8 and as Windows-1252 otherwise.
QString DisplayText(std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);

// Text from a Qt widget (typed or pasted) is stored as UTF-8.
std::string StoredText(const QString& text);

// The text in code page 850 (the console code page of western systems): read
// by the display rule, each character mapped to its 850 byte, "?" where 850
// has no place for it.
std::string ToOemCodePage(std::string_view bytes);

// The character a byte stands for in a code page: 850 as its table has it,
// every other code page read as Windows-1252, the system's own.
char32_t CodePageCharacter(int codePage, unsigned char byte);

// Appends a character as UTF-8; a surrogate or a value past U+10FFFF, which
// UTF-8 cannot hold, becomes U+FFFD.
void AppendUtf8(std::string& out, char32_t character);

}  // namespace kelvora
