#include <gtest/gtest.h>

#include <QKeyEvent>

#include <string>

#include "toolkit/keys.h"

namespace kelvora {
namespace {

struct TKeyCase {
  const char* name;
  int qtKey;
  Qt::KeyboardModifiers modifiers;
  QString text;
  TKeyStroke expected;
};

const Qt::KeyboardModifiers kNone = Qt::NoModifier;
const Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
const Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
const Qt::KeyboardModifiers kAlt = Qt::AltModifier;
const Qt::KeyboardModifiers kKeypad = Qt::KeypadModifier;

TEST(KeyTranslation, GivesTheClassicCodeShiftStateAndCharacter) {
  const TKeyCase cases[] = {
      {"letter", Qt::Key_A, kNone, "a", {'A', {}, U'a'}},
      {"shifted letter", Qt::Key_A, kShift, "A", {'A', {ssShift}, U'A'}},
      {"digit", Qt::Key_7, kNone, "7", {'7', {}, U'7'}},
      {"accented letter", Qt::Key_Eacute, kNone, QString::fromUtf8("é"), {0, {}, U'é'}},
      {"character beyond 16 bits", Qt::Key_unknown, kNone, QString::fromUtf8("😀"), {0, {}, U'😀'}},
      {"space", Qt::Key_Space, kNone, " ", {VK_SPACE, {}, U' '}},
      {"backspace", Qt::Key_Backspace, kNone, "\b", {VK_BACK, {}, 8}},
      {"enter", Qt::Key_Return, kNone, "\r", {VK_RETURN, {}, 13}},
      {"keypad enter", Qt::Key_Enter, kKeypad, "\r", {VK_RETURN, {}, 13}},
      {"escape", Qt::Key_Escape, kNone, "\x1b", {VK_ESCAPE, {}, 27}},
      {"tab", Qt::Key_Tab, kNone, "\t", {VK_TAB, {}, 9}},
      {"shift tab", Qt::Key_Backtab, kShift, "", {VK_TAB, {ssShift}, 9}},
      {"delete types nothing", Qt::Key_Delete, kNone, "\x7f", {VK_DELETE, {}, 0}},
      {"arrow", Qt::Key_Up, kNone, "", {VK_UP, {}, 0}},
      {"page down", Qt::Key_PageDown, kCtrl, "", {VK_NEXT, {ssCtrl}, 0}},
      {"home", Qt::Key_Home, kNone, "", {VK_HOME, {}, 0}},
      {"end", Qt::Key_End, kShift, "", {VK_END, {ssShift}, 0}},
      {"insert", Qt::Key_Insert, kNone, "", {VK_INSERT, {}, 0}},
      {"F2", Qt::Key_F2, kNone, "", {VK_F2, {}, 0}},
      {"F12", Qt::Key_F12, kNone, "", {VK_F12, {}, 0}},
      {"ctrl letter types its control character", Qt::Key_C, kCtrl, "c", {'C', {ssCtrl}, 3}},
      {"ctrl digit types nothing", Qt::Key_5, kCtrl, "5", {'5', {ssCtrl}, 0}},
      {"alt letter types nothing", Qt::Key_F, kAlt, "f", {'F', {ssAlt}, 0}},
      {"ctrl alt is AltGr", Qt::Key_E, kCtrl | kAlt, QString::fromUtf8("€"), {'E', {ssCtrl, ssAlt}, U'€'}},
      {"keypad digit", Qt::Key_4, kKeypad, "4", {VK_NUMPAD0 + 4, {}, U'4'}},
      {"keypad plus", Qt::Key_Plus, kKeypad, "+", {VK_ADD, {}, U'+'}},
      {"keypad navigation", Qt::Key_Home, kKeypad, "", {VK_HOME, {}, 0}},
      {"punctuation", Qt::Key_Comma, kNone, ",", {VK_OEM_COMMA, {}, U','}},
      {"shifted digit", Qt::Key_Exclam, kShift, "!", {'1', {ssShift}, U'!'}},
  };
  for (const TKeyCase& c : cases) {
    EXPECT_EQ(TranslateKey(c.qtKey, c.modifiers, c.text), c.expected) << c.name;
  }
}

TEST(KeyTranslation, ReadsTheSamePiecesFromAnEvent) {
  const QKeyEvent event(QEvent::KeyPress, Qt::Key_Z, Qt::ShiftModifier, "Z");
  EXPECT_EQ(TranslateKey(event), (TKeyStroke{'Z', {ssShift}, U'Z'}));
}

TEST(KeyTranslation, AddsMouseButtonsToTheShiftState) {
  const TShiftState shift = ShiftFromMouse(Qt::ControlModifier, Qt::LeftButton | Qt::MiddleButton);
  EXPECT_EQ(shift, (TShiftState{ssCtrl, ssLeft, ssMiddle}));
}

}  // namespace
}  // namespace kelvora
