#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

#include "grid/edit/editor_kinds.h"

namespace kelvora {

// Kinds whose typing is checked against the whole text it makes (11-13).
bool IsNumericKind(TEditorType kind);
// Kinds that check or change the whole text a paste makes (11-13, 15, 18, 19).
bool KindShapesPaste(TEditorType kind);

// The edit box's texts are UTF-8 with line breaks as CR LF, and its
// positions count code points, so a line break counts two.
int CodePointCount(std::string_view text);
// The byte offset of code point `pos` (the end when the text is shorter).
std::size_t CodePointOffset(std::string_view text, int pos);
// Line breaks of any kind as CR LF; a single-line box keeps the first line.
std::string EditBoxForm(std::string_view text, bool multiLine);

// The box's text with the `length` code points from `start` replaced.
std::string ReplaceRange(std::string_view text, int start, int length, std::string_view with);

// Whether a box of this kind takes the printable character typed, given the
// text it would then hold. Numeric kinds take only what can still become a
// number; control characters (Backspace, Enter, Escape, shortcuts) are not
// text and are never refused here.
bool KindTakesTyped(TEditorType kind, const QString& resulting);
// The character a typed one becomes in a box of this kind.
char32_t KindTypedChar(TEditorType kind, char32_t ch);
// The text a box of this kind takes from a paste that would leave
// `resulting` in it; nothing when the kind refuses it.
std::optional<std::string> KindPastedText(TEditorType kind, const std::string& resulting);

// Each word starting with a capital and going on in small letters.
QString Capitalised(const QString& text);

// The typed-character rule of a length limit: at `limit` characters (0: no
// limit) and with nothing selected, a character that would add to the text
// is dropped. Backspace, Escape and the shortcuts add nothing; Enter adds a
// line break only when it stays in the box (`enterTypes`), and then it is
// still let through while AdvanceOnEnter is on.
bool DroppedAtLimit(char32_t ch, int limit, int length, int selLength, bool enterTypes,
                    bool advanceOnEnter);

}  // namespace kelvora
