#include "grid/render/markup_colour.h"

#include <array>
#include <string>

#include "toolkit/ascii_case.h"

namespace kelvora {
namespace {

struct TNamedColour {
  std::string_view name;
  TColor colour;
};

constexpr std::array kColourNames{
    TNamedColour{"clblack", clBlack},
    TNamedColour{"clmaroon", clMaroon},
    TNamedColour{"clgreen", clGreen},
    TNamedColour{"clolive", clOlive},
    TNamedColour{"clnavy", clNavy},
    TNamedColour{"clpurple", clPurple},
    TNamedColour{"clteal", clTeal},
    TNamedColour{"clgray", clGray},
    TNamedColour{"clsilver", clSilver},
    TNamedColour{"clred", clRed},
    TNamedColour{"cllime", clLime},
    TNamedColour{"clyellow", clYellow},
    TNamedColour{"clblue", clBlue},
    TNamedColour{"clfuchsia", clFuchsia},
    TNamedColour{"claqua", clAqua},
    TNamedColour{"clwhite", clWhite},
    TNamedColour{"clbackground", clBackground},
    TNamedColour{"clactivecaption", clActiveCaption},
    TNamedColour{"clinactivecaption", clInactiveCaption},
    TNamedColour{"clmenu", clMenu},
    TNamedColour{"clwindow", clWindow},
    TNamedColour{"clwindowframe", clWindowFrame},
    TNamedColour{"clmenutext", clMenuText},
    TNamedColour{"clwindowtext", clWindowText},
    TNamedColour{"clcaptiontext", clCaptionText},
    TNamedColour{"clactiveborder", clActiveBorder},
    TNamedColour{"clinactiveborder", clInactiveBorder},
    TNamedColour{"clappworkspace", clAppWorkSpace},
    TNamedColour{"clhighlight", clHighlight},
    TNamedColour{"clhighlighttext", clHighlightText},
    TNamedColour{"clbtnface", clBtnFace},
    TNamedColour{"clbtnshadow", clBtnShadow},
    TNamedColour{"clgraytext", clGrayText},
    TNamedColour{"clbtntext", clBtnText},
    TNamedColour{"clinactivecaptiontext", clInactiveCaptionText},
    TNamedColour{"clbtnhighlight", clBtnHighlight},
    TNamedColour{"cl3ddkshadow", cl3DDkShadow},
    TNamedColour{"cl3dlight", cl3DLight},
    TNamedColour{"clinfotext", clInfoText},
    TNamedColour{"clinfobk", clInfoBk},
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  const char lower = AsciiLower(c);
  if (lower >= 'a' && lower <= 'f') return lower - 'a' + 10;
  return -1;
}

}  // namespace

std::optional<TColor> MarkupColour(std::string_view value) {
  if (value.find("cl") != std::string_view::npos) return ColourFromName(value);
  if (value.find('#') != std::string_view::npos) return ColourFromHex(value);
  return std::nullopt;
}

TColor ColourFromName(std::string_view name) {
  // No name in the table is longer; a longer value is unknown without copying it.
  constexpr std::size_t kLongestName = 21;
  if (name.size() > kLongestName) return clBlack;
  std::string lower(name);
  for (char& c : lower) c = AsciiLower(c);
  for (const TNamedColour& entry : kColourNames)
    if (entry.name == lower) return entry.colour;
  return clBlack;
}

TColor ColourFromHex(std::string_view value) {
  if (value.size() < 7) return clBlack;
  int channels[3] = {};
  for (int channel = 0; channel < 3; ++channel) {
    const int high = HexDigit(value[1 + 2 * channel]);
    const int low = HexDigit(value[2 + 2 * channel]);
    if (high < 0 || low < 0) return clBlack;
    channels[channel] = high * 16 + low;
  }
  return RGB(channels[0], channels[1], channels[2]);
}

}  // namespace kelvora
