#pragma once

#include <optional>
#include <string_view>

#include "toolkit/bitmap.h"
#include "toolkit/geometry.h"

namespace kelvora {

// A picture that an <IMG> or a <BODY background> names, as the layout places
// it: its size, and its pixels when it is to be painted.
struct TMarkupPicture {
  TSize Size;
  TBitmap Bitmap;  // the whole source; a picture drawn stretched keeps its own size here
  TIcon Icon;      // for the desktop's icons, drawn Size.cx pixels square
  bool IsIcon = false;
};

// What a picture is asked for.
struct TMarkupPictureRequest {
  std::string_view Source;        // "idx:2", "ssys:3", "lsys:/home", "res://name", "file:///x.png"
  const TImageList* Images = nullptr;  // for "idx:"
  TSize Stretch;                  // a file picture drawn this size when both are 1 or more
  bool Pixels = false;            // false: only the size is wanted (measuring)
};

// None when the source names nothing that can be shown: an unknown prefix,
// an index beyond the list, a file or resource that is missing, is no
// picture, or is beyond the bounds pictures are read within.
std::optional<TMarkupPicture> ResolveMarkupPicture(const TMarkupPictureRequest& request);

}  // namespace kelvora
