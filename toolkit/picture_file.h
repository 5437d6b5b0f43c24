#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "toolkit/bitmap.h"
#include "toolkit/geometry.h"

namespace kelvora {

// Pictures that a cell's text names: any path a user or a file put there.
// They are read only from regular files (never a FIFO, a device or a folder,
// which could block the window or never end), only up to a file size, and
// only up to a pixel count, so that a small file claiming huge dimensions
// cannot make the program allocate them.
inline constexpr std::uint64_t kMaxPictureFileBytes = std::uint64_t{16} << 20;
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{2048} * 2048;

// The size a picture file or resource declares, read from its header only.
// None when it is not a picture within the bounds.
std::optional<TSize> PictureFileSize(const std::string& path);
std::optional<TSize> PictureResourceSize(const std::string& name);  // ":/name" or "name"

// The whole picture; empty when it is not one within the bounds.
TBitmap ReadPictureFile(const std::string& path);
TBitmap ReadPictureResource(const std::string& name);

// A copy of the part of the bitmap inside `part` (bitmap pixels); empty
// when they do not meet.
TBitmap PicturePart(const TBitmap& bitmap, const TRect& part);

// The desktop's icon for a file, folder or file type (".txt", "*.txt"). An
// existing path that is neither a regular file nor a folder gives none, as
// asking for its icon could read from a device.
TIcon DesktopIconFor(const std::string& pathOrType);

}  // namespace kelvora
