#pragma once

#include <memory>
#include <string>
#include <vector>

class QImage;
class QIcon;

namespace kelvora {

// A picture in memory. Copies share the pixels; an empty bitmap draws nothing.
class TBitmap {
 public:
  TBitmap();
  explicit TBitmap(const QImage& image);
  ~TBitmap();
  TBitmap(const TBitmap&);
  TBitmap& operator=(const TBitmap&);

  bool Empty() const;
  int Width() const;
  int Height() const;

  // Both answer false and leave the bitmap empty when nothing could be read.
  bool LoadFromFile(const std::string& path);
  bool LoadFromResource(const std::string& name);  // a Qt resource ":/name"

  const QImage& Image() const;

 private:
  std::shared_ptr<const QImage> image_;
};

// Images of one size, picked by index.
class TImageList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  void Add(const TBitmap& bitmap) { items_.push_back(bitmap); }
  const TBitmap& Item(int index) const { return items_[static_cast<std::size_t>(index)]; }

 private:
  std::vector<TBitmap> items_;
};

// An icon of the desktop's own set: by index, or the icon shown for a file,
// folder or file type.
class TIcon {
 public:
  TIcon();
  explicit TIcon(const QIcon& icon);
  ~TIcon();
  TIcon(const TIcon&);
  TIcon& operator=(const TIcon&);

  static TIcon System(int index);
  static TIcon ForPath(const std::string& pathOrType);

  bool Empty() const;
  const QIcon& Icon() const;

 private:
  std::shared_ptr<const QIcon> icon_;
};

// Pixel size of the small and large system icons.
inline constexpr int kSmallIconSize = 16;
inline constexpr int kLargeIconSize = 32;

}  // namespace kelvora
