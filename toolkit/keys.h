#pragma once

#include <QString>
#include <Qt>

#include "toolkit/grid_types.h"

class QKeyEvent;

namespace kelvora {

// Virtual-key codes, numbered as the classic desktop toolkits number them, so
// that key handlers read the same as their descriptions. Letters and digits
// are their upper-case ASCII codes ('A', '7').
inline constexpr int VK_BACK = 8;
inline constexpr int VK_TAB = 9;
inline constexpr int VK_RETURN = 13;
inline constexpr int VK_SHIFT = 16;
inline constexpr int VK_CONTROL = 17;
inline constexpr int VK_MENU = 18;  // Alt
inline constexpr int VK_PAUSE = 19;
inline constexpr int VK_CAPITAL = 20;
inline constexpr int VK_ESCAPE = 27;
inline constexpr int VK_SPACE = 32;
inline constexpr int VK_PRIOR = 33;  // Page Up
inline constexpr int VK_NEXT = 34;   // Page Down
inline constexpr int VK_END = 35;
inline constexpr int VK_HOME = 36;
inline constexpr int VK_LEFT = 37;
inline constexpr int VK_UP = 38;
inline constexpr int VK_RIGHT = 39;
inline constexpr int VK_DOWN = 40;
inline constexpr int VK_PRINT = 44;
inline constexpr int VK_INSERT = 45;
inline constexpr int VK_DELETE = 46;
inline constexpr int VK_NUMPAD0 = 96;  // up to VK_NUMPAD0 + 9
inline constexpr int VK_MULTIPLY = 106;
inline constexpr int VK_ADD = 107;
inline constexpr int VK_SUBTRACT = 109;
inline constexpr int VK_DECIMAL = 110;
inline constexpr int VK_DIVIDE = 111;
inline constexpr int VK_F1 = 112;  // up to VK_F1 + 23
inline constexpr int VK_F2 = 113;
inline constexpr int VK_F3 = 114;
inline constexpr int VK_F4 = 115;
inline constexpr int VK_F5 = 116;
inline constexpr int VK_F6 = 117;
inline constexpr int VK_F7 = 118;
inline constexpr int VK_F8 = 119;
inline constexpr int VK_F9 = 120;
inline constexpr int VK_F10 = 121;
inline constexpr int VK_F11 = 122;
inline constexpr int VK_F12 = 123;
inline constexpr int VK_NUMLOCK = 144;
inline constexpr int VK_SCROLL = 145;
// Punctuation keys of a US keyboard.
inline constexpr int VK_OEM_1 = 0xBA;       // ;
inline constexpr int VK_OEM_PLUS = 0xBB;    // =
inline constexpr int VK_OEM_COMMA = 0xBC;   // ,
inline constexpr int VK_OEM_MINUS = 0xBD;   // -
inline constexpr int VK_OEM_PERIOD = 0xBE;  // .
inline constexpr int VK_OEM_2 = 0xBF;       // /
inline constexpr int VK_OEM_3 = 0xC0;       // `
inline constexpr int VK_OEM_4 = 0xDB;       // [
inline constexpr int VK_OEM_5 = 0xDC;       // backslash
inline constexpr int VK_OEM_6 = 0xDD;       // ]
inline constexpr int VK_OEM_7 = 0xDE;       // '

// One key press as the grid's handlers see it: the key code (0 for a key
// that has none), the modifiers, and the character the key types (0 when it
// types none; 8 for Backspace, 9 for Tab, 13 for Enter, 27 for Escape).
struct TKeyStroke {
  int Key = 0;
  TShiftState Shift;
  char32_t Char = 0;
  bool operator==(const TKeyStroke&) const = default;
};

TShiftState ShiftFromModifiers(Qt::KeyboardModifiers modifiers);
TShiftState ShiftFromMouse(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);

// The pieces of a QKeyEvent, kept apart so that the mapping can be checked
// without building events.
TKeyStroke TranslateKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);
TKeyStroke TranslateKey(const QKeyEvent& event);

}  // namespace kelvora
