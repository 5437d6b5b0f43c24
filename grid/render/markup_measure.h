#pragma once

#include <string_view>

#include "toolkit/canvas.h"
#include "toolkit/geometry.h"

namespace kelvora {

// STAND-IN: column fitting measures a mark-up cell through this until the
// mark-up renderer's own measuring pass takes its place. It measures the
// cell's plain text (StripMarkup) in the canvas's current font: the widest
// line, and as many lines as the text has times the height of "gh". It knows
// nothing of font tags, images or word wrapping, so bold or enlarged mark-up
// comes out a little narrow. The result never exceeds maxWidth x maxHeight.
TSize MeasureMarkup(TCanvas& canvas, std::string_view text, int maxWidth, int maxHeight);

}  // namespace kelvora
