#include <QWidget>

#include "toolkit/application.h"

// The program takes no command line; argc and argv only feed the toolkit.
int main(int argc, char** argv) {
  kelvora::TApplication app(argc, argv);
  app.SetTitle("Kelvora");
  QWidget window;
  window.setWindowTitle("Kelvora");
  window.show();
  return app.Run();
}
