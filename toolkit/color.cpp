#include "toolkit/color.h"

#include <QApplication>
#include <QColor>
#include <QPalette>

#include <array>
#include <cstdio>

#include "toolkit/ascii_case.h"

namespace kelvora {
namespace {

struct NamedColor {
  TColor color;
  const char* name;
};

constexpr std::array kNamedColors{
    NamedColor{clBlack, "clBlack"},         NamedColor{clMaroon, "clMaroon"},
    NamedColor{clGreen, "clGreen"},         NamedColor{clOlive, "clOlive"},
    NamedColor{clNavy, "clNavy"},           NamedColor{clPurple, "clPurple"},
    NamedColor{clTeal, "clTeal"},           NamedColor{clGray, "clGray"},
    NamedColor{clSilver, "clSilver"},       NamedColor{clRed, "clRed"},
    NamedColor{clLime, "clLime"},           NamedColor{clYellow, "clYellow"},
    NamedColor{clBlue, "clBlue"},           NamedColor{clFuchsia, "clFuchsia"},
    NamedColor{clAqua, "clAqua"},           NamedColor{clWhite, "clWhite"},
    NamedColor{clScrollBar, "clScrollBar"}, NamedColor{clBackground, "clBackground"},
    NamedColor{clActiveCaption, "clActiveCaption"},
    NamedColor{clInactiveCaption, "clInactiveCaption"},
    NamedColor{clMenu, "clMenu"},           NamedColor{clWindow, "clWindow"},
    NamedColor{clWindowFrame, "clWindowFrame"},
    NamedColor{clMenuText, "clMenuText"},   NamedColor{clWindowText, "clWindowText"},
    NamedColor{clCaptionText, "clCaptionText"},
    NamedColor{clActiveBorder, "clActiveBorder"},
    NamedColor{clInactiveBorder, "clInactiveBorder"},
    NamedColor{clAppWorkSpace, "clAppWorkSpace"},
    NamedColor{clHighlight, "clHighlight"},
    NamedColor{clHighlightText, "clHighlightText"},
    NamedColor{clBtnFace, "clBtnFace"},     NamedColor{clBtnShadow, "clBtnShadow"},
    NamedColor{clGrayText, "clGrayText"},   NamedColor{clBtnText, "clBtnText"},
    NamedColor{clInactiveCaptionText, "clInactiveCaptionText"},
    NamedColor{clBtnHighlight, "clBtnHighlight"},
    NamedColor{cl3DDkShadow, "cl3DDkShadow"},
    NamedColor{cl3DLight, "cl3DLight"},     NamedColor{clInfoText, "clInfoText"},
    NamedColor{clInfoBk, "clInfoBk"},       NamedColor{clNone, "clNone"},
    NamedColor{clDefault, "clDefault"},
};

struct PaletteRole {
  QPalette::ColorGroup group;
  QPalette::ColorRole role;
};

// The one place where a system colour index meets the Qt palette. Qt has no
// caption, menu or desktop roles of its own, so those borrow the nearest.
constexpr std::array<PaletteRole, kSystemColorCount> kSystemRoles{{
    {QPalette::Active, QPalette::Button},           // clScrollBar
    {QPalette::Active, QPalette::Dark},             // clBackground
    {QPalette::Active, QPalette::Highlight},        // clActiveCaption
    {QPalette::Inactive, QPalette::Mid},            // clInactiveCaption
    {QPalette::Active, QPalette::Window},           // clMenu
    {QPalette::Active, QPalette::Base},             // clWindow
    {QPalette::Active, QPalette::Shadow},           // clWindowFrame
    {QPalette::Active, QPalette::WindowText},       // clMenuText
    {QPalette::Active, QPalette::Text},             // clWindowText
    {QPalette::Active, QPalette::HighlightedText},  // clCaptionText
    {QPalette::Active, QPalette::Window},           // clActiveBorder
    {QPalette::Inactive, QPalette::Window},         // clInactiveBorder
    {QPalette::Active, QPalette::Mid},              // clAppWorkSpace
    {QPalette::Active, QPalette::Highlight},        // clHighlight
    {QPalette::Active, QPalette::HighlightedText},  // clHighlightText
    {QPalette::Active, QPalette::Button},           // clBtnFace
    {QPalette::Active, QPalette::Dark},             // clBtnShadow
    {QPalette::Disabled, QPalette::Text},           // clGrayText
    {QPalette::Active, QPalette::ButtonText},       // clBtnText
    {QPalette::Inactive, QPalette::WindowText},     // clInactiveCaptionText
    {QPalette::Active, QPalette::Light},            // clBtnHighlight
    {QPalette::Active, QPalette::Shadow},           // cl3DDkShadow
    {QPalette::Active, QPalette::Midlight},         // cl3DLight
    {QPalette::Active, QPalette::ToolTipText},      // clInfoText
    {QPalette::Active, QPalette::ToolTipBase},      // clInfoBk
}};

QColor FromRGB(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

TColor FromQColor(const QColor& q) { return RGB(q.red(), q.green(), q.blue()); }

}  // namespace

QColor ToQColor(TColor color, const QPalette& palette) {
  if (color == clNone || color == clDefault) return QColor(0, 0, 0);
  if (!IsSystemColor(color)) return FromRGB(color);
  const int index = color & 0xFF;
  if (index >= kSystemColorCount) return QColor(0, 0, 0);
  const PaletteRole& r = kSystemRoles[static_cast<std::size_t>(index)];
  return palette.color(r.group, r.role);
}

QColor ToQColor(TColor color) {
  if (!IsSystemColor(color)) return color == clNone || color == clDefault ? QColor(0, 0, 0) : FromRGB(color);
  return ToQColor(color, QApplication::palette());
}

TColor ColorToRGB(TColor color) { return FromQColor(ToQColor(color)); }

std::string ColorToString(TColor color) {
  for (const NamedColor& n : kNamedColors)
    if (n.color == color) return n.name;
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "$%08X", static_cast<unsigned>(color));
  return buffer;
}

std::optional<TColor> ColorFromString(std::string_view name) {
  for (const NamedColor& n : kNamedColors)
    if (EqualsIgnoringAsciiCase(n.name, name)) return n.color;
  return std::nullopt;
}

}  // namespace kelvora
