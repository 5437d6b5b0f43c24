#include "toolkit/keys.h"

#include <QKeyEvent>

namespace kelvora {
namespace {

struct TKeyPair {
  int QtKey;
  int Code;
};

// Keys whose code does not follow from a range of Qt's key numbers.
constexpr TKeyPair kNamedKeys[] = {
    {Qt::Key_Backspace, VK_BACK},   {Qt::Key_Tab, VK_TAB},         {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},    {Qt::Key_Enter, VK_RETURN},    {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},  {Qt::Key_Alt, VK_MENU},        {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_Escape, VK_ESCAPE},   {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},     {Qt::Key_PageDown, VK_NEXT},   {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},        {Qt::Key_Left, VK_LEFT},       {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},      {Qt::Key_Down, VK_DOWN},       {Qt::Key_Print, VK_PRINT},
    {Qt::Key_Insert, VK_INSERT},    {Qt::Key_Delete, VK_DELETE},   {Qt::Key_NumLock, VK_NUMLOCK},
    {Qt::Key_ScrollLock, VK_SCROLL},
};

// Punctuation, and the shifted digits, as they lie on a US keyboard. Qt names
// the character rather than the key, so another layout maps its characters
// to the key that types them there.
constexpr TKeyPair kPunctuationKeys[] = {
    {Qt::Key_Semicolon, VK_OEM_1},      {Qt::Key_Colon, VK_OEM_1},
    {Qt::Key_Equal, VK_OEM_PLUS},       {Qt::Key_Plus, VK_OEM_PLUS},
    {Qt::Key_Comma, VK_OEM_COMMA},      {Qt::Key_Less, VK_OEM_COMMA},
    {Qt::Key_Minus, VK_OEM_MINUS},      {Qt::Key_Underscore, VK_OEM_MINUS},
    {Qt::Key_Period, VK_OEM_PERIOD},    {Qt::Key_Greater, VK_OEM_PERIOD},
    {Qt::Key_Slash, VK_OEM_2},          {Qt::Key_Question, VK_OEM_2},
    {Qt::Key_QuoteLeft, VK_OEM_3},      {Qt::Key_AsciiTilde, VK_OEM_3},
    {Qt::Key_BracketLeft, VK_OEM_4},    {Qt::Key_BraceLeft, VK_OEM_4},
    {Qt::Key_Backslash, VK_OEM_5},      {Qt::Key_Bar, VK_OEM_5},
    {Qt::Key_BracketRight, VK_OEM_6},   {Qt::Key_BraceRight, VK_OEM_6},
    {Qt::Key_Apostrophe, VK_OEM_7},     {Qt::Key_QuoteDbl, VK_OEM_7},
    {Qt::Key_Exclam, '1'},              {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},          {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},             {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},           {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},           {Qt::Key_ParenRight, '0'},
};

constexpr TKeyPair kKeypadKeys[] = {
    {Qt::Key_Asterisk, VK_MULTIPLY}, {Qt::Key_Plus, VK_ADD},     {Qt::Key_Minus, VK_SUBTRACT},
    {Qt::Key_Period, VK_DECIMAL},    {Qt::Key_Comma, VK_DECIMAL}, {Qt::Key_Slash, VK_DIVIDE},
};

template <std::size_t N>
int Lookup(const TKeyPair (&table)[N], int qtKey) {
  for (const TKeyPair& pair : table)
    if (pair.QtKey == qtKey) return pair.Code;
  return 0;
}

int KeypadCode(int qtKey) {
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return VK_NUMPAD0 + (qtKey - Qt::Key_0);
  return Lookup(kKeypadKeys, qtKey);
}

int KeyCode(int qtKey, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::KeypadModifier) {
    // With Num Lock off the keypad sends the navigation keys; those keep
    // their own codes.
    if (const int code = KeypadCode(qtKey)) return code;
  }
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return VK_F1 + (qtKey - Qt::Key_F1);
  if (const int code = Lookup(kNamedKeys, qtKey)) return code;
  return Lookup(kPunctuationKeys, qtKey);
}

char32_t FirstCodePoint(const QString& text) {
  if (text.isEmpty()) return 0;
  const QChar first = text.at(0);
  if (first.isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate())
    return QChar::surrogateToUcs4(first, text.at(1));
  return first.unicode();
}

// What the key types. Alt alone turns a key into a menu accelerator, which
// types nothing; Ctrl with a letter types that letter's control character.
// Ctrl and Alt together are AltGr on some systems and type what the text says.
char32_t KeyChar(int qtKey, TShiftState shift, const QString& text) {
  const bool alt = shift.contains(ssAlt);
  const bool ctrl = shift.contains(ssCtrl);
  if (alt && !ctrl) return 0;
  switch (qtKey) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Delete: return 0;
    default: break;
  }
  if (ctrl && !alt) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return static_cast<char32_t>(1 + qtKey - Qt::Key_A);
    return 0;
  }
  const char32_t c = FirstCodePoint(text);
  return c == 127 ? 0 : c;
}

}  // namespace

TShiftState ShiftFromModifiers(Qt::KeyboardModifiers modifiers) {
  TShiftState shift;
  if (modifiers & Qt::ShiftModifier) shift.insert(ssShift);
  if (modifiers & Qt::ControlModifier) shift.insert(ssCtrl);
  if (modifiers & Qt::AltModifier) shift.insert(ssAlt);
  return shift;
}

TShiftState ShiftFromMouse(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TShiftState shift = ShiftFromModifiers(modifiers);
  if (buttons & Qt::LeftButton) shift.insert(ssLeft);
  if (buttons & Qt::RightButton) shift.insert(ssRight);
  if (buttons & Qt::MiddleButton) shift.insert(ssMiddle);
  return shift;
}

TKeyStroke TranslateKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text) {
  TKeyStroke stroke;
  stroke.Key = KeyCode(qtKey, modifiers);
  stroke.Shift = ShiftFromModifiers(modifiers);
  // Shift+Tab arrives as a key of its own; to the grid it is Tab with Shift.
  if (qtKey == Qt::Key_Backtab) stroke.Shift.insert(ssShift);
  stroke.Char = KeyChar(qtKey, stroke.Shift, text);
  return stroke;
}

TKeyStroke TranslateKey(const QKeyEvent& event) {
  return TranslateKey(event.key(), event.modifiers(), event.text());
}

}  // namespace kelvora
