#include "toolkit/file_dialog_icons.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStyle>

namespace kelvora {
namespace {

QIcon Standard(QStyle::StandardPixmap which) { return QApplication::style()->standardIcon(which); }

bool IsRoot(const QFileInfo& info) { return info.isDir() && QDir(info.absoluteFilePath()).isRoot(); }

}  // namespace

TNameOnlyIconProvider::TNameOnlyIconProvider()
    : file_(Standard(QStyle::SP_FileIcon)),
      folder_(Standard(QStyle::SP_DirIcon)),
      drive_(Standard(QStyle::SP_DriveHDIcon)),
      computer_(Standard(QStyle::SP_ComputerIcon)),
      desktop_(Standard(QStyle::SP_DesktopIcon)),
      trash_(Standard(QStyle::SP_TrashIcon)),
      network_(Standard(QStyle::SP_DriveNetIcon)) {}

QIcon TNameOnlyIconProvider::icon(IconType type) const {
  switch (type) {
    case Computer: return computer_;
    case Desktop: return desktop_;
    case Trashcan: return trash_;
    case Network: return network_;
    case Drive: return drive_;
    case Folder: return folder_;
    case File: break;
  }
  return file_;
}

QIcon TNameOnlyIconProvider::icon(const QFileInfo& info) const {
  if (IsRoot(info)) return drive_;
  return info.isDir() ? folder_ : file_;
}

// The kind comes from the file's status, which the dialog has read anyway;
// the type of a plain file from its extension only.
QString TNameOnlyIconProvider::type(const QFileInfo& info) const {
  if (IsRoot(info)) return QStringLiteral("Drive");
  if (info.isDir()) return QStringLiteral("Folder");
  if (!info.isFile()) return QStringLiteral("Special file");
  static const QMimeDatabase names;
  const QMimeType mime = names.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
  if (mime.isDefault()) return QStringLiteral("File");
  return mime.comment().isEmpty() ? mime.name() : mime.comment();
}

TNameOnlyIconProvider* TNameOnlyIconProvider::Shared() {
  static TNameOnlyIconProvider* shared = new TNameOnlyIconProvider;  // outlives every dialog
  return shared;
}

}  // namespace kelvora
