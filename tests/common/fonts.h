#pragma once

#include <string>

#include "toolkit/font.h"

namespace kelvora::testing {

inline TFont FontOf(const std::string& name, int height, TColor color) {
  TFont font;
  font.Name = name;
  font.Height = height;
  font.Color = color;
  return font;
}

}  // namespace kelvora::testing
