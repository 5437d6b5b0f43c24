#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>

#include <string>

#include "toolkit/bitmap.h"
#include "toolkit/qt_canvas.h"

namespace kelvora {
namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kRed = qRgb(255, 0, 0);

class BitmapFiles : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder.isValid()); }

  std::string Path(const char* name) const { return QDir(folder.path()).filePath(name).toStdString(); }

  // A picture that is red on the left half and blue on the right.
  std::string WritePng(const char* name, int width, int height) const {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width / 2; ++x) image.setPixel(x, y, kRed);
    const std::string path = Path(name);
    EXPECT_TRUE(image.save(QString::fromStdString(path), "PNG"));
    return path;
  }

  QTemporaryDir folder;
};

TEST_F(BitmapFiles, LoadsAPngWithItsSizeAndPixels) {
  TBitmap bitmap;
  EXPECT_TRUE(bitmap.Empty());
  ASSERT_TRUE(bitmap.LoadFromFile(WritePng("picture.png", 6, 4)));
  EXPECT_FALSE(bitmap.Empty());
  EXPECT_EQ(bitmap.Width(), 6);
  EXPECT_EQ(bitmap.Height(), 4);
  EXPECT_EQ(bitmap.Image().pixel(0, 0), kRed);
  EXPECT_EQ(bitmap.Image().pixel(5, 3), qRgb(0, 0, 255));
}

TEST_F(BitmapFiles, ReadsByContentNotByName) {
  const std::string png = WritePng("picture.png", 2, 2);
  const std::string renamed = Path("picture.dat");
  ASSERT_TRUE(QFile::copy(QString::fromStdString(png), QString::fromStdString(renamed)));
  TBitmap bitmap;
  EXPECT_TRUE(bitmap.LoadFromFile(renamed));
}

TEST_F(BitmapFiles, WhatCannotBeReadAnswersFalseAndLeavesItEmpty) {
  QFile text(QString::fromStdString(Path("notes.png")));
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("this is not a picture");
  text.close();
  const std::string cases[] = {Path("missing.png"), Path("notes.png"), folder.path().toStdString(), "",
                               std::string("bad\0name.png", 12)};
  for (const std::string& path : cases) {
    TBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadFromFile(WritePng("good.png", 3, 3)));
    EXPECT_FALSE(bitmap.LoadFromFile(path)) << path;
    EXPECT_TRUE(bitmap.Empty()) << path;
    EXPECT_EQ(bitmap.Width(), 0);
  }
}

TEST_F(BitmapFiles, AMissingResourceAnswersFalse) {
  TBitmap bitmap;
  EXPECT_FALSE(bitmap.LoadFromResource("no_such_picture"));
  EXPECT_FALSE(bitmap.LoadFromResource(":/no_such_picture"));
  EXPECT_FALSE(bitmap.LoadFromResource(""));
  EXPECT_TRUE(bitmap.Empty());
}

TEST(Bitmap, CopiesSharePixels) {
  QImage image(4, 4, QImage::Format_RGB32);
  image.fill(Qt::green);
  const TBitmap first(image);
  const TBitmap second = first;
  EXPECT_EQ(&first.Image(), &second.Image());
  EXPECT_TRUE(TBitmap(QImage()).Empty());
}

class BitmapDrawing : public ::testing::Test {
 protected:
  BitmapDrawing() : target(60, 40, QImage::Format_RGB32) { target.fill(kWhite); }

  static TBitmap RedSquare(int side) {
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(kRed);
    return TBitmap(image);
  }

  int CountOutside(const QRect& area) const {
    int count = 0;
    for (int y = 0; y < target.height(); ++y)
      for (int x = 0; x < target.width(); ++x)
        if (!area.contains(x, y) && target.pixel(x, y) != kWhite) ++count;
    return count;
  }

  QImage target;
};

TEST_F(BitmapDrawing, DrawPutsThePictureAtItsPlace) {
  {
    TQtCanvas canvas(target);
    canvas.Draw(5, 6, RedSquare(2));
    canvas.Draw(0, 0, TBitmap());
  }
  EXPECT_EQ(target.pixel(5, 6), kRed);
  EXPECT_EQ(target.pixel(6, 7), kRed);
  EXPECT_EQ(CountOutside(QRect(5, 6, 2, 2)), 0);
}

TEST_F(BitmapDrawing, StretchDrawFillsTheTargetRectangle) {
  {
    TQtCanvas canvas(target);
    canvas.StretchDraw({10, 10, 50, 30}, RedSquare(2));
  }
  for (int y = 10; y < 30; ++y)
    for (int x = 10; x < 50; ++x) ASSERT_EQ(target.pixel(x, y), kRed) << x << "," << y;
  EXPECT_EQ(CountOutside(QRect(10, 10, 40, 20)), 0);
}

TEST_F(BitmapDrawing, ImageListDrawsOnlyIndexesItHas) {
  TImageList list;
  list.Add(RedSquare(3));
  {
    TQtCanvas canvas(target);
    canvas.DrawImage(list, 0, 1, 1);
    canvas.DrawImage(list, 1, 20, 20);
    canvas.DrawImage(list, -1, 20, 20);
  }
  EXPECT_EQ(target.pixel(3, 3), kRed);
  EXPECT_EQ(CountOutside(QRect(1, 1, 3, 3)), 0);
}

TEST(Icon, SystemIndexesInTheTableGiveIconsAndOthersNone) {
  for (int index = 0; index <= 15; ++index) EXPECT_FALSE(TIcon::System(index).Empty()) << index;
  EXPECT_TRUE(TIcon::System(-1).Empty());
  EXPECT_TRUE(TIcon::System(16).Empty());
  EXPECT_TRUE(TIcon::System(1000000).Empty());
}

TEST(Icon, PathsAndFileTypesGiveIcons) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString file = QDir(folder.path()).filePath("notes.txt");
  QFile(file).open(QIODevice::WriteOnly);
  EXPECT_FALSE(TIcon::ForPath(folder.path().toStdString()).Empty());
  EXPECT_FALSE(TIcon::ForPath(file.toStdString()).Empty());
  EXPECT_FALSE(TIcon::ForPath(".txt").Empty());
  EXPECT_FALSE(TIcon::ForPath("*.csv").Empty());
  EXPECT_FALSE(TIcon::ForPath(".no-such-type-anywhere").Empty());  // the plain file icon
  EXPECT_TRUE(TIcon::ForPath("").Empty());
  EXPECT_TRUE(TIcon::ForPath("/no/such/folder/and/no/type").Empty());
}

TEST(Icon, DrawIconPaintsInsideItsSquare) {
  QImage target(40, 40, QImage::Format_RGB32);
  target.fill(kWhite);
  {
    TQtCanvas canvas(target);
    canvas.DrawIcon(8, 8, TIcon::System(3), kSmallIconSize);
    canvas.DrawIcon(0, 0, TIcon(), kSmallIconSize);
  }
  int inside = 0, outside = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x)
      if (target.pixel(x, y) != kWhite) ++(QRect(8, 8, 16, 16).contains(x, y) ? inside : outside);
  EXPECT_GT(inside, 10);
  EXPECT_EQ(outside, 0);
}

}  // namespace
}  // namespace kelvora
