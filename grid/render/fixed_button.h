#pragma once

#include "toolkit/canvas.h"

namespace kelvora {

// A fixed cell drawn as a push button: lit on the upper left and shaded on
// the lower right, the shade two pixels deep; pressed, the light and the
// shade change sides and the shade is one pixel, as a pushed button looks.
// Header cells of any kind (a sort header too) draw their frame with it.
void PaintFixedButton(TCanvas& canvas, const TRect& rect, bool pressed);

}  // namespace kelvora
