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

  // 0 file, 1 document, 2 program, 3 folder, 4 open folder, 5-7 removable
  // drives, 8 hard disk, 9-10 network drive, 11 optical drive, 12 memory
  // drive, 13-14 network, 15 computer; any other index gives an empty icon.
  static TIcon System(int index);
  // An existing file or folder, or a file type as ".txt" or "*.txt".
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
