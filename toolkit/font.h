#pragma once

#include <climits>
#include <string>

#include "toolkit/color.h"
#include "toolkit/set.h"

namespace kelvora {

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

// Sizes in points are turned into pixel heights at this resolution, so that a
// font looks the same on every screen and in every test.
inline constexpr int kPixelsPerInch = 96;

// A font as the forms describe it. A negative Height is the character height in
// pixels; a positive one is the cell height, which we treat the same way.
struct TFont {
  std::string Name = "MS Sans Serif";
  int Height = -11;
  TColor Color = clWindowText;
  TFontStyles Style;
  int Orientation = 0;  // tenths of a degree, counter-clockwise

  // The most negative height has no positive twin; it saturates.
  int PixelHeight() const { return Height >= 0 ? Height : Height == INT_MIN ? INT_MAX : -Height; }
  int Size() const;  // points, rounded
  void SetSize(int points);

  bool operator==(const TFont&) const = default;
};

enum TBrushStyle { bsSolid, bsClear };

struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = bsSolid;
  bool operator==(const TBrush&) const = default;
};

enum TPenStyle { psSolid, psDash, psDot, psClear };

struct TPen {
  TColor Color = clBlack;
  int Width = 1;
  TPenStyle Style = psSolid;
  bool operator==(const TPen&) const = default;
};

}  // namespace kelvora
