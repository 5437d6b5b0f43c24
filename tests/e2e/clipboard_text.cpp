// Prints the text on the X clipboard, so that the end-to-end tests can read
// what a message box said: a box copies its text when it gets Ctrl+C. With
// --clear it empties the clipboard instead, so that an old text cannot pass
// for a new one.

#include <QClipboard>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc > 1 && std::strcmp(argv[1], "--clear") == 0) {
    QGuiApplication::clipboard()->clear();
    return 0;
  }
  const QByteArray text = QGuiApplication::clipboard()->text().toUtf8();
  std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
  return 0;
}
