// Prints a short fingerprint of what a part of a window shows, so that the
// end-to-end tests can wait until the grid has moved, and until it has
// stopped moving. Usage: window_picture WINDOW X Y WIDTH HEIGHT

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 6) {
    std::fprintf(stderr, "usage: window_picture WINDOW X Y WIDTH HEIGHT\n");
    return 2;
  }
  const auto window = static_cast<WId>(std::strtoull(argv[1], nullptr, 0));
  const QImage image = QGuiApplication::primaryScreen()
                           ->grabWindow(window, std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                                        std::atoi(argv[5]))
                           .toImage();
  if (image.isNull()) return 1;
  const QByteArray bytes(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
  std::printf("%zx\n", static_cast<std::size_t>(qHash(bytes)));
  return 0;
}
