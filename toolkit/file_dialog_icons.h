#pragma once

#include <QAbstractFileIconProvider>
#include <QIcon>

namespace kelvora {

// The icons and type names of the file dialogs, told from a file's name and
// kind alone. The dialog's usual provider reads a file's first bytes to
// guess its type, and a read of a pseudo file (a kernel log in /proc) or a
// pipe can block for good. Nothing here ever opens a file.
//
// The dialog asks from a thread of its own; the icons are made once, on
// the thread that made the provider, and only copied afterwards.
class TNameOnlyIconProvider : public QAbstractFileIconProvider {
 public:
  TNameOnlyIconProvider();

  QIcon icon(IconType type) const override;
  QIcon icon(const QFileInfo& info) const override;
  QString type(const QFileInfo& info) const override;

  // The one provider all file dialogs share; made on first use.
  static TNameOnlyIconProvider* Shared();

 private:
  QIcon file_;
  QIcon folder_;
  QIcon drive_;
  QIcon computer_;
  QIcon desktop_;
  QIcon trash_;
  QIcon network_;
};

}  // namespace kelvora
