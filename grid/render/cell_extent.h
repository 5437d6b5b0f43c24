#pragma once

#include <string_view>

#include "toolkit/canvas.h"
#include "toolkit/geometry.h"

namespace kelvora {

// The grid settings that change how much room a cell's text takes.
struct TCellTextOptions {
  bool EnableHTML = true;
  bool Multilinecells = false;
  bool URLShow = false;
  bool URLFull = false;
  const TImageList* Images = nullptr;  // GridImages, which mark-up may show
};

// Mark-up is measured inside a rectangle this large, which no cell reaches.
inline constexpr int kMarkupMeasureExtent = 65535;

// Width and height of a cell's text as drawn in the canvas's current font.
// Column fitting and painting both come here, so they cannot disagree.
TSize CellTextExtent(TCanvas& canvas, std::string_view text, const TCellTextOptions& options);

// The line of a plain text that is shown: up to the first carriage return,
// with the protocol cut off when links are shown short.
std::string_view FirstDisplayLine(std::string_view text, const TCellTextOptions& options);

}  // namespace kelvora
