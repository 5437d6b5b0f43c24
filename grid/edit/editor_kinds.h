#pragma once

namespace kelvora {

// The editor OnGetEditorType chooses for a cell. The in-place edit box
// edits 0, 11-16, 18 and 19 itself; every other kind is a special editor
// laid over the cell in its place.
using TEditorType = int;

inline constexpr TEditorType ekText = 0;
inline constexpr TEditorType ekSpinInteger = 1;
inline constexpr TEditorType ekComboText = 2;  // free text, or a pick from the list
inline constexpr TEditorType ekComboList = 3;  // a pick from the list only
inline constexpr TEditorType ekEllipsis = 4;   // an edit box with a "..." button
inline constexpr TEditorType ekCheckBox = 5;
inline constexpr TEditorType ekDatePicker = 6;  // a calendar drops down
inline constexpr TEditorType ekDateUpDown = 7;
inline constexpr TEditorType ekTimePicker = 8;
inline constexpr TEditorType ekButton = 9;
inline constexpr TEditorType ekSignedInteger = 11;    // digits and one leading minus
inline constexpr TEditorType ekUnsignedInteger = 12;  // digits only
inline constexpr TEditorType ekDecimal = 13;          // digits, one separator, one leading minus
inline constexpr TEditorType ekUpperTyped = 14;       // typed characters upper-cased
inline constexpr TEditorType ekCapitalised = 15;      // the whole text re-capitalised
inline constexpr TEditorType ekPassword = 16;         // a single-line masked box
inline constexpr TEditorType ekUnit = 17;             // a value and a unit button
inline constexpr TEditorType ekLowerCase = 18;        // typed and pasted text lower-cased
inline constexpr TEditorType ekUpperCase = 19;        // typed and pasted text upper-cased
inline constexpr TEditorType ekSpinDecimal = 20;
inline constexpr TEditorType ekSpinTime = 21;
inline constexpr TEditorType ekSpinDate = 22;
inline constexpr TEditorType ekEllipsisNumber = 23;  // the ellipsis box taking a number
inline constexpr TEditorType ekEllipsisLeft = 24;    // the ellipsis button on the left
inline constexpr TEditorType ekExternal = 25;        // a program's own widget through TEditLink

// Whether the in-place edit box edits this kind itself.
constexpr bool IsTextBoxKind(TEditorType kind) {
  return kind == ekText || (kind >= ekSignedInteger && kind <= ekPassword) || kind == ekLowerCase ||
         kind == ekUpperCase;
}

}  // namespace kelvora
