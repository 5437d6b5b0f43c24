#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class QColor;
class QPalette;

namespace kelvora {

// The toolkit's 32-bit colour: 0x00BBGGRR for an RGB value; a system colour
// has the top bit set and its index in the low byte, and is looked up in the
// Qt palette only when something is drawn with it.
using TColor = std::int32_t;

inline constexpr TColor kSystemColorFlag = static_cast<TColor>(0x80000000u);

constexpr TColor RGB(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr TColor SystemColor(int index) { return kSystemColorFlag | index; }
constexpr bool IsSystemColor(TColor c) { return (c & kSystemColorFlag) != 0; }

inline constexpr TColor clBlack = RGB(0, 0, 0);
inline constexpr TColor clMaroon = RGB(128, 0, 0);
inline constexpr TColor clGreen = RGB(0, 128, 0);
inline constexpr TColor clOlive = RGB(128, 128, 0);
inline constexpr TColor clNavy = RGB(0, 0, 128);
inline constexpr TColor clPurple = RGB(128, 0, 128);
inline constexpr TColor clTeal = RGB(0, 128, 128);
inline constexpr TColor clGray = RGB(128, 128, 128);
inline constexpr TColor clSilver = RGB(192, 192, 192);
inline constexpr TColor clRed = RGB(255, 0, 0);
inline constexpr TColor clLime = RGB(0, 255, 0);
inline constexpr TColor clYellow = RGB(255, 255, 0);
inline constexpr TColor clBlue = RGB(0, 0, 255);
inline constexpr TColor clFuchsia = RGB(255, 0, 255);
inline constexpr TColor clAqua = RGB(0, 255, 255);
inline constexpr TColor clWhite = RGB(255, 255, 255);

inline constexpr TColor clScrollBar = SystemColor(0);
inline constexpr TColor clBackground = SystemColor(1);
inline constexpr TColor clActiveCaption = SystemColor(2);
inline constexpr TColor clInactiveCaption = SystemColor(3);
inline constexpr TColor clMenu = SystemColor(4);
inline constexpr TColor clWindow = SystemColor(5);
inline constexpr TColor clWindowFrame = SystemColor(6);
inline constexpr TColor clMenuText = SystemColor(7);
inline constexpr TColor clWindowText = SystemColor(8);
inline constexpr TColor clCaptionText = SystemColor(9);
inline constexpr TColor clActiveBorder = SystemColor(10);
inline constexpr TColor clInactiveBorder = SystemColor(11);
inline constexpr TColor clAppWorkSpace = SystemColor(12);
inline constexpr TColor clHighlight = SystemColor(13);
inline constexpr TColor clHighlightText = SystemColor(14);
inline constexpr TColor clBtnFace = SystemColor(15);
inline constexpr TColor clBtnShadow = SystemColor(16);
inline constexpr TColor clGrayText = SystemColor(17);
inline constexpr TColor clBtnText = SystemColor(18);
inline constexpr TColor clInactiveCaptionText = SystemColor(19);
inline constexpr TColor clBtnHighlight = SystemColor(20);
inline constexpr TColor cl3DDkShadow = SystemColor(21);
inline constexpr TColor cl3DLight = SystemColor(22);
inline constexpr TColor clInfoText = SystemColor(23);
inline constexpr TColor clInfoBk = SystemColor(24);
inline constexpr int kSystemColorCount = 25;

inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

// The colour as an RGB value; system colours through the given palette (the
// application's palette when none is given). clNone and clDefault have no RGB
// value and give black.
TColor ColorToRGB(TColor color);
QColor ToQColor(TColor color);
QColor ToQColor(TColor color, const QPalette& palette);

// "clRed", "clHighlight", ... for a named colour; "$00BBGGRR" for any other.
std::string ColorToString(TColor color);
// The reverse of ColorToString for the names, matched without regard to case.
std::optional<TColor> ColorFromString(std::string_view name);

}  // namespace kelvora
