#include <QIcon>

#include "app/form1.h"
#include "toolkit/application.h"

namespace {

// The icon of the installed theme, so that the window and the desktop's
// menu show the same one; the one built in when run from a build folder.
QIcon ProgramIcon() {
  QIcon builtIn;
  for (const int size : {16, 32, 48, 64, 128, 256})
    builtIn.addFile(QStringLiteral(":/kelvora/kelvora-%1.png").arg(size), QSize(size, size));
  return QIcon::fromTheme(QStringLiteral("kelvora"), builtIn);
}

}  // namespace

// The program takes no command line; argc and argv only feed the toolkit.
int main(int argc, char** argv) {
  kelvora::TApplication app(argc, argv);
  app.SetTitle("Kelvora");
  // Ties the window to its desktop entry, kelvora.desktop.
  QGuiApplication::setDesktopFileName(QStringLiteral("kelvora"));
  QApplication::setWindowIcon(ProgramIcon());
  kelvora::TForm1 form;
  form.show();
  return app.Run();
}
