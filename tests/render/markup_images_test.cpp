#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "grid/render/markup_images.h"
#include "markup_test_support.h"
#include "toolkit/picture_file.h"

namespace kelvora {
namespace {

using testing::Drawn;
using testing::kPlain;
using testing::MarkupSurface;

class MarkupPictures : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder.isValid()); }

  std::string Path(const char* name) const { return QDir(folder.path()).filePath(name).toStdString(); }

  std::string WritePicture(const char* name, int width, int height, const char* format = "PNG") const {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    const std::string path = Path(name);
    EXPECT_TRUE(image.save(QString::fromStdString(path), format));
    return path;
  }

  std::string Calls(const std::string& text, TRect rect = {0, 0, 200, 100}) {
    surface.Draw(text, rect);
    return surface.Calls();
  }

  QTemporaryDir folder;
  MarkupSurface surface;
};

TEST_F(MarkupPictures, DrawsAFileAtItsSizeOrStretched) {
  const std::string png = WritePicture("p.png", 6, 4);
  EXPECT_EQ(Calls("a<IMG src=\"file://" + png + "\">b"),
            Drawn("a", 0, 0, 10, 22, kPlain) + "\n" + Drawn("b", 16, 0, 26, 22, kPlain) + "\nDraw 10,18 bitmap=6x4");
  EXPECT_EQ(Calls("<IMG src=\"FILE://" + png + "\" width=\"30\" height=\"10\">"), "StretchDraw 0,0,30,10 bitmap=6x4");
  // Stretching takes both sizes.
  EXPECT_EQ(Calls("<IMG src=\"file://" + png + "\" width=\"30\">"), "Draw 0,0 bitmap=6x4");
  EXPECT_EQ(Calls("<IMG src=\"file://" + WritePicture("p.bmp", 3, 5, "BMP") + "\">"), "Draw 0,0 bitmap=3x5");
  EXPECT_EQ(surface.Measure("<IMG src=\"file://" + png + "\" width=\"30\" height=\"40\">").Width, 30);
  EXPECT_EQ(surface.Measure("<IMG src=\"file://" + png + "\" width=\"30\" height=\"40\">").Height, 40);
}

TEST_F(MarkupPictures, DrawsAResourceOfTheProgram) {
  EXPECT_EQ(Calls("<IMG src=\"res://markup_test/dot.png\">"), "Draw 0,0 bitmap=4x3");
  EXPECT_EQ(Calls("<IMG src=\"RES://:/markup_test/dot.png\">"), "Draw 0,0 bitmap=4x3");
  EXPECT_EQ(surface.Measure("x<IMG src=\"res://markup_test/dot.png\">").Width, 14);
  EXPECT_EQ(Calls("<IMG src=\"res://markup_test/none.png\">x"), Drawn("x", 0, 0, 10, 22, kPlain));
  EXPECT_EQ(Calls("<IMG src=\"res://" + std::string(5000, 'n') + "\">x"), Drawn("x", 0, 0, 10, 22, kPlain));
}

TEST_F(MarkupPictures, DrawsTheDesktopsIcons) {
  EXPECT_EQ(Calls("<IMG src=\"ssys:3\">"), "DrawIcon 0,0 size=16");
  EXPECT_EQ(Calls("<IMG src=\"LSYS:" + folder.path().toStdString() + "\">"), "DrawIcon 0,0 size=32");
  EXPECT_EQ(Calls("<IMG src=\"ssys:.txt\">"), "DrawIcon 0,0 size=16");
  EXPECT_EQ(surface.Measure("<IMG src=\"lsys:0\">").Width, 32);
  // No icon 99, and a device is asked nothing.
  EXPECT_EQ(Calls("<IMG src=\"ssys:99\"><IMG src=\"ssys:/dev/zero\"><IMG src=\"ssys:\">x"), Drawn("x", 0, 0, 10, 22, kPlain));
}

TEST_F(MarkupPictures, TilesTheBodysPictureWithinTheRectangle) {
  const std::string png = WritePicture("tile.png", 8, 8);
  EXPECT_EQ(Calls("<BODY background=\"file://" + png + "\">", {0, 0, 20, 10}),
            "SetClipRect 0,0,20,10\nDraw 0,0 bitmap=8x8\nDraw 8,0 bitmap=8x8\nDraw 16,0 bitmap=8x8\n"
            "Draw 0,8 bitmap=8x8\nDraw 8,8 bitmap=8x8\nDraw 16,8 bitmap=8x8\nResetClip");
}

// Whatever a path names, nothing blocks, nothing big is read and the
// picture takes no room.
TEST_F(MarkupPictures, SkipsWhatIsNoPictureOrTooBig) {
  const std::string fifo = Path("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string huge = Path("huge.png");
  {
    const int fd = ::open(huge.c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, std::int64_t{200} << 20), 0);  // sparse: costs no disk
    ::close(fd);
  }
  QFile text(QString::fromStdString(Path("notes.png")));
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("not a picture");
  text.close();
  for (const std::string& path : {fifo, huge, Path("notes.png"), Path("missing.png"), folder.path().toStdString(),
                                  std::string("/dev/zero"), std::string("/dev/null"), std::string(""),
                                  std::string("/") + std::string(10000, 'x')}) {
    EXPECT_EQ(Calls("<IMG src=\"file://" + path + "\" width=\"9\" height=\"9\">x"), Drawn("x", 0, 0, 10, 22, kPlain)) << path;
    EXPECT_EQ(surface.Measure("<IMG src=\"file://" + path + "\">x").Width, 10) << path;
  }
}

// The PNG checksum (CRC-32) of a chunk's type and data.
std::uint32_t PngCrc(const char* bytes, int length) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (int i = 0; i < length; ++i) {
    crc ^= static_cast<unsigned char>(bytes[i]);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return crc ^ 0xFFFFFFFFu;
}

// The header of a picture claiming 100,000 x 100,000 pixels: the size is
// read, the pixels are never asked for.
TEST_F(MarkupPictures, SkipsAPictureClaimingMorePixelsThanTheBound) {
  QImage small(4, 4, QImage::Format_RGB32);
  small.fill(Qt::blue);
  QByteArray bytes;
  {
    const std::string path = Path("small.png");
    ASSERT_TRUE(small.save(QString::fromStdString(path), "PNG"));
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    bytes = file.readAll();
  }
  // IHDR's width and height sit at bytes 16..23, its checksum at 29..32
  // over the type and data from byte 12 on.
  for (int i = 16; i < 24; ++i) bytes[i] = 0;
  bytes[17] = bytes[21] = static_cast<char>(0x01);
  bytes[18] = bytes[22] = static_cast<char>(0x86);
  bytes[19] = bytes[23] = static_cast<char>(0xA0);
  const std::uint32_t crc = PngCrc(bytes.constData() + 12, 17);
  for (int i = 0; i < 4; ++i) bytes[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
  QBuffer buffer(&bytes);
  EXPECT_EQ(QImageReader(&buffer).size(), QSize(100000, 100000));
  const std::string path = Path("claims.png");
  QFile file(QString::fromStdString(path));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  file.close();
  EXPECT_FALSE(PictureFileSize(path).has_value());
  EXPECT_TRUE(ReadPictureFile(path).Empty());
  EXPECT_EQ(Calls("<IMG src=\"file://" + path + "\">x"), Drawn("x", 0, 0, 10, 22, kPlain));
}

// Stretched to two billion pixels a side, a picture still draws no more
// than the rectangle, from no more source pixels than it has.
TEST_F(MarkupPictures, AHugeStretchDrawsOnlyWhatShows) {
  const std::string png = WritePicture("p.png", 6, 4);
  EXPECT_EQ(Calls("<IMG src=\"file://" + png + "\" width=\"2147483647\" height=\"2147483647\">", {0, 0, 120, 21}),
            "StretchDraw 0,0,120,21 bitmap=1x1");
  const TMarkupResult measured = surface.Measure("<IMG src=\"file://" + png + "\" width=\"2147483647\" height=\"2147483647\">");
  EXPECT_GT(measured.Width, 65535);
  EXPECT_GT(measured.Height, 65535);
}

TEST(MarkupPictureSources, ResolveByPrefixWithoutRegardToCase) {
  QImage image(2, 3, QImage::Format_RGB32);
  image.fill(Qt::green);
  TImageList list;
  list.Add(TBitmap(image));
  EXPECT_EQ(ResolveMarkupPicture({"IdX:0", &list, {}, false})->Size, (TSize{2, 3}));
  EXPECT_FALSE(ResolveMarkupPicture({"idx:1", &list, {}, false}).has_value());
  EXPECT_FALSE(ResolveMarkupPicture({"idx:0", nullptr, {}, false}).has_value());
  EXPECT_FALSE(ResolveMarkupPicture({"http://x/y.png", &list, {}, true}).has_value());
  EXPECT_FALSE(ResolveMarkupPicture({"", &list, {}, true}).has_value());
  EXPECT_TRUE(ResolveMarkupPicture({"Ssys:15", nullptr, {}, true})->IsIcon);
}

}  // namespace
}  // namespace kelvora
