#include "toolkit/bitmap.h"

#include <QApplication>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QMimeDatabase>
#include <QStyle>

#include <array>
#include <optional>

namespace kelvora {
namespace {

const QImage& EmptyImage() {
  static const QImage empty;
  return empty;
}

const QIcon& EmptyIcon() {
  static const QIcon empty;
  return empty;
}

QString LocalPath(const std::string& path) { return QFile::decodeName(QByteArray(path.data(), path.size())); }

std::shared_ptr<const QImage> ReadImage(const QString& path) {
  QImageReader reader(path);
  QImage image = reader.read();
  if (image.isNull()) return nullptr;
  return std::make_shared<const QImage>(std::move(image));
}

// The desktop's own icons by the index a mark-up text names them with:
// files and folders first, then drives, then the machine itself.
constexpr std::array kSystemIcons{
    QStyle::SP_FileIcon,       // 0: a file of unknown type
    QStyle::SP_FileIcon,       // 1: a document
    QStyle::SP_DesktopIcon,    // 2: a program
    QStyle::SP_DirClosedIcon,  // 3: a folder
    QStyle::SP_DirOpenIcon,    // 4: an open folder
    QStyle::SP_DriveFDIcon,    // 5: a floppy drive
    QStyle::SP_DriveFDIcon,    // 6: a small floppy drive
    QStyle::SP_DriveFDIcon,    // 7: a removable drive
    QStyle::SP_DriveHDIcon,    // 8: a hard disk
    QStyle::SP_DriveNetIcon,   // 9: a network drive
    QStyle::SP_DriveNetIcon,   // 10: a disconnected network drive
    QStyle::SP_DriveCDIcon,    // 11: an optical drive
    QStyle::SP_DriveHDIcon,    // 12: a memory drive
    QStyle::SP_DriveNetIcon,   // 13: the whole network
    QStyle::SP_DriveNetIcon,   // 14: a network place
    QStyle::SP_ComputerIcon,   // 15: this computer
};

// ".txt" or "*.txt" names a file type rather than a file.
std::optional<QString> FileTypeSuffix(const QString& pathOrType) {
  QString type = pathOrType;
  if (type.startsWith(u'*')) type.remove(0, 1);
  if (type.size() < 2 || !type.startsWith(u'.') || type.contains(u'/')) return std::nullopt;
  return type.mid(1);
}

// Styles and icon providers need the widget application object.
bool HasWidgets() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

QIcon GenericFileIcon() { return QFileIconProvider().icon(QAbstractFileIconProvider::File); }

QIcon IconForSuffix(const QString& suffix) {
  const QMimeType mime = QMimeDatabase().mimeTypeForFile(QStringLiteral("file.") + suffix, QMimeDatabase::MatchExtension);
  QIcon icon = QIcon::fromTheme(mime.iconName());
  if (icon.isNull()) icon = QIcon::fromTheme(mime.genericIconName());
  return icon.isNull() ? GenericFileIcon() : icon;
}

}  // namespace

TBitmap::TBitmap() = default;
TBitmap::TBitmap(const QImage& image)
    : image_(image.isNull() ? nullptr : std::make_shared<const QImage>(image)) {}
TBitmap::~TBitmap() = default;
TBitmap::TBitmap(const TBitmap&) = default;
TBitmap& TBitmap::operator=(const TBitmap&) = default;

bool TBitmap::Empty() const { return !image_; }
int TBitmap::Width() const { return Image().width(); }
int TBitmap::Height() const { return Image().height(); }
const QImage& TBitmap::Image() const { return image_ ? *image_ : EmptyImage(); }

bool TBitmap::LoadFromFile(const std::string& path) {
  image_ = path.empty() ? nullptr : ReadImage(LocalPath(path));
  return image_ != nullptr;
}

bool TBitmap::LoadFromResource(const std::string& name) {
  QString resource = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  if (!resource.startsWith(u":/")) resource.prepend(u":/");
  image_ = name.empty() ? nullptr : ReadImage(resource);
  return image_ != nullptr;
}

TIcon::TIcon() = default;
TIcon::TIcon(const QIcon& icon) : icon_(icon.isNull() ? nullptr : std::make_shared<const QIcon>(icon)) {}
TIcon::~TIcon() = default;
TIcon::TIcon(const TIcon&) = default;
TIcon& TIcon::operator=(const TIcon&) = default;

bool TIcon::Empty() const { return !icon_; }
const QIcon& TIcon::Icon() const { return icon_ ? *icon_ : EmptyIcon(); }

TIcon TIcon::System(int index) {
  if (index < 0 || index >= static_cast<int>(kSystemIcons.size()) || !HasWidgets()) return TIcon();
  return TIcon(QApplication::style()->standardIcon(kSystemIcons[static_cast<std::size_t>(index)]));
}

TIcon TIcon::ForPath(const std::string& pathOrType) {
  if (pathOrType.empty() || !HasWidgets()) return TIcon();
  const QString path = LocalPath(pathOrType);
  const QFileInfo info(path);
  if (info.exists()) return TIcon(QFileIconProvider().icon(info));
  if (const auto suffix = FileTypeSuffix(path)) return TIcon(IconForSuffix(*suffix));
  // A file that is not there still shows the icon of its type, as a listing
  // of a removed file would.
  if (!info.suffix().isEmpty()) return TIcon(IconForSuffix(info.suffix()));
  return TIcon();
}

}  // namespace kelvora
