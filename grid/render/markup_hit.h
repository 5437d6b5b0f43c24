#pragma once

#include <string_view>

#include "grid/render/markup_layout.h"
#include "toolkit/geometry.h"

namespace kelvora {

struct TMarkupHit {
  bool OnLink = false;
  int Link = -1;
  TRect Box;               // of the word or image hit
  std::string_view Target;  // the link's href
};

// A point is on a link when it lies strictly inside a linked word's box
// (not on its edges) or anywhere inside a linked image.
TMarkupHit HitTestMarkup(const TMarkupLayout& layout, TPoint point);

}  // namespace kelvora
