#include "app/form1.h"
#include "toolkit/application.h"

// The program takes no command line; argc and argv only feed the toolkit.
int main(int argc, char** argv) {
  kelvora::TApplication app(argc, argv);
  app.SetTitle("Kelvora");
  kelvora::TForm1 form;
  form.show();
  return app.Run();
}
