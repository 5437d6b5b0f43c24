#pragma once

#include <optional>
#include <string_view>

#include "toolkit/color.h"

namespace kelvora {

// The colour of a "color" or "bgcolor" value: a value holding "cl" (in lower
// case, exactly) is a name, one holding "#" a hexadecimal triple; any other
// value, an empty one too, names no colour and changes nothing.
std::optional<TColor> MarkupColour(std::string_view value);

// The name lower-cased and looked up among the sixteen RGB colours and the
// twenty-four system colours; an unknown name gives black.
TColor ColourFromName(std::string_view name);

// "#RRGGBB": two hexadecimal digits each for red, green and blue from the
// second character on, in either letter case. Digits that cannot be read
// give black.
TColor ColourFromHex(std::string_view value);

}  // namespace kelvora
