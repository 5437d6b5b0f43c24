#include "toolkit/picture_file.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace kelvora {
namespace {

// Resource names are ours; anything longer than this names none of them.
constexpr std::size_t kLongestResourceName = 1024;

bool IsRegularFile(const struct stat& info) { return S_ISREG(info.st_mode); }

// Closes the descriptor on every path out.
class TFileDescriptor {
 public:
  explicit TFileDescriptor(int fd) : fd_(fd) {}
  ~TFileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  TFileDescriptor(const TFileDescriptor&) = delete;
  TFileDescriptor& operator=(const TFileDescriptor&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

// The bytes of a regular file no larger than the cap. The type is looked at
// before the file is opened (opening some devices has effects of its own)
// and again on the open descriptor, in case the path changed in between;
// the descriptor never blocks, so a FIFO put there meanwhile cannot hang.
std::optional<QByteArray> ReadBoundedFile(const std::string& path) {
  struct stat info {};
  // A NUL would end the path early and name another file.
  if (path.empty() || path.find('\0') != std::string::npos) return std::nullopt;
  if (::stat(path.c_str(), &info) != 0 || !IsRegularFile(info)) return std::nullopt;
  TFileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.Get() < 0 || ::fstat(fd.Get(), &info) != 0 || !IsRegularFile(info)) return std::nullopt;
  if (info.st_size < 0 || static_cast<std::uint64_t>(info.st_size) > kMaxPictureFileBytes) return std::nullopt;
  QByteArray bytes;
  bytes.resize(static_cast<qsizetype>(info.st_size));
  qsizetype filled = 0;
  while (filled < bytes.size()) {
    const ssize_t got = ::read(fd.Get(), bytes.data() + filled, static_cast<std::size_t>(bytes.size() - filled));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;  // the file shrank, or cannot be read
    filled += got;
  }
  bytes.truncate(filled);
  return bytes;
}

bool WithinPixelBound(const QSize& size) {
  return size.isValid() && !size.isEmpty() &&
         std::int64_t{size.width()} * size.height() <= kMaxPicturePixels;
}

// A reader that refuses to decode past the pixel bound even where the
// header lied about the size.
void Bound(QImageReader& reader) {
  constexpr int kBytesPerPixel = 4;
  constexpr std::int64_t kMiB = std::int64_t{1} << 20;
  reader.setAllocationLimit(static_cast<int>(kMaxPicturePixels * kBytesPerPixel / kMiB) + 1);
}

std::optional<TSize> DeclaredSize(QImageReader& reader) {
  Bound(reader);
  const QSize size = reader.size();
  if (!WithinPixelBound(size)) return std::nullopt;
  return TSize{size.width(), size.height()};
}

TBitmap Decode(QImageReader& reader) {
  Bound(reader);
  const QSize declared = reader.size();
  if (declared.isValid() && !WithinPixelBound(declared)) return TBitmap();
  const QImage image = reader.read();
  if (image.isNull() || !WithinPixelBound(image.size())) return TBitmap();
  return TBitmap(image);
}

std::optional<QString> ResourcePath(const std::string& name) {
  if (name.empty() || name.size() > kLongestResourceName) return std::nullopt;
  QString path = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  if (!path.startsWith(u":/")) path.prepend(u":/");
  return path;
}

}  // namespace

std::optional<TSize> PictureFileSize(const std::string& path) {
  std::optional<QByteArray> bytes = ReadBoundedFile(path);
  if (!bytes) return std::nullopt;
  QBuffer buffer(&*bytes);
  QImageReader reader(&buffer);
  return DeclaredSize(reader);
}

TBitmap ReadPictureFile(const std::string& path) {
  std::optional<QByteArray> bytes = ReadBoundedFile(path);
  if (!bytes) return TBitmap();
  QBuffer buffer(&*bytes);
  QImageReader reader(&buffer);
  return Decode(reader);
}

std::optional<TSize> PictureResourceSize(const std::string& name) {
  const std::optional<QString> path = ResourcePath(name);
  if (!path || !QFile::exists(*path)) return std::nullopt;
  QImageReader reader(*path);
  return DeclaredSize(reader);
}

TBitmap ReadPictureResource(const std::string& name) {
  const std::optional<QString> path = ResourcePath(name);
  if (!path || !QFile::exists(*path)) return TBitmap();
  QImageReader reader(*path);
  return Decode(reader);
}

TBitmap PicturePart(const TBitmap& bitmap, const TRect& part) {
  const QRect wanted = QRect(part.Left, part.Top, part.Width(), part.Height()).intersected(bitmap.Image().rect());
  if (bitmap.Empty() || wanted.isEmpty()) return TBitmap();
  if (wanted == bitmap.Image().rect()) return bitmap;
  return TBitmap(bitmap.Image().copy(wanted));
}

TIcon DesktopIconFor(const std::string& pathOrType) {
  struct stat info {};
  if (pathOrType.find('\0') != std::string::npos) return TIcon();
  if (!pathOrType.empty() && ::stat(pathOrType.c_str(), &info) == 0 && !S_ISREG(info.st_mode) &&
      !S_ISDIR(info.st_mode))
    return TIcon();
  return TIcon::ForPath(pathOrType);
}

}  // namespace kelvora
