#include "grid/render/markup_images.h"

#include <string>

#include "grid/render/markup_parse.h"
#include "toolkit/ascii_case.h"
#include "toolkit/picture_file.h"

namespace kelvora {
namespace {

// Strips a prefix matched without regard to case.
bool TakePrefix(std::string_view& text, std::string_view prefix) {
  if (!StartsWithIgnoringAsciiCase(text, prefix)) return false;
  text.remove_prefix(prefix.size());
  return true;
}

bool IsNumber(std::string_view text) {
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

std::optional<TMarkupPicture> FromList(std::string_view index, const TImageList* images) {
  const int n = MarkupNumber(index);
  if (!images || n < 0 || n >= images->Count()) return std::nullopt;
  const TBitmap& bitmap = images->Item(n);
  if (bitmap.Empty()) return std::nullopt;
  return TMarkupPicture{{bitmap.Width(), bitmap.Height()}, bitmap, {}, false};
}

std::optional<TMarkupPicture> FromDesktop(std::string_view rest, int size) {
  const TIcon icon = IsNumber(rest) ? TIcon::System(MarkupNumber(rest)) : DesktopIconFor(std::string(rest));
  if (icon.Empty()) return std::nullopt;
  return TMarkupPicture{{size, size}, {}, icon, true};
}

std::optional<TMarkupPicture> FromBitmap(const TBitmap& bitmap) {
  if (bitmap.Empty()) return std::nullopt;
  return TMarkupPicture{{bitmap.Width(), bitmap.Height()}, bitmap, {}, false};
}

std::optional<TMarkupPicture> FromSize(const std::optional<TSize>& size) {
  if (!size) return std::nullopt;
  return TMarkupPicture{*size, {}, {}, false};
}

std::optional<TMarkupPicture> FromResource(std::string_view name, bool pixels) {
  const std::string resource(name);
  return pixels ? FromBitmap(ReadPictureResource(resource)) : FromSize(PictureResourceSize(resource));
}

std::optional<TMarkupPicture> FromFile(std::string_view path, TSize stretch, bool pixels) {
  const std::string file(path);
  std::optional<TMarkupPicture> picture =
      pixels ? FromBitmap(ReadPictureFile(file)) : FromSize(PictureFileSize(file));
  if (picture && stretch.cx >= 1 && stretch.cy >= 1) picture->Size = stretch;
  return picture;
}

}  // namespace

std::optional<TMarkupPicture> ResolveMarkupPicture(const TMarkupPictureRequest& request) {
  std::string_view rest = request.Source;
  if (TakePrefix(rest, "idx:")) return FromList(rest, request.Images);
  if (TakePrefix(rest, "ssys:")) return FromDesktop(rest, kSmallIconSize);
  if (TakePrefix(rest, "lsys:")) return FromDesktop(rest, kLargeIconSize);
  if (TakePrefix(rest, "res://")) return FromResource(rest, request.Pixels);
  if (TakePrefix(rest, "file://")) return FromFile(rest, request.Stretch, request.Pixels);
  return std::nullopt;
}

}  // namespace kelvora
