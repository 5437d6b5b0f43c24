#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <string>

#include "toolkit/clipboard.h"

namespace kelvora {
namespace {

class Clipboard : public ::testing::Test {
 protected:
  void TearDown() override { QGuiApplication::clipboard()->clear(); }
};

TEST_F(Clipboard, GivesBackTheTextPutOnIt) {
  const std::string texts[] = {"Mon", "line one\r\nline two\twith a tab",
                               "na\xC3\xAFve \xE2\x82\xAC 5"};
  for (const std::string& text : texts) {
    SetClipboardText(text);
    EXPECT_TRUE(ClipboardHasText());
    EXPECT_EQ(ClipboardText(), text);
  }
}

// A cell read from an old export holds Windows-1252 bytes; another program
// must paste the characters the grid showed.
TEST_F(Clipboard, PutsNonUtf8BytesOnAsTheCharactersShown) {
  SetClipboardText("caf\xE9 \x80");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC"));
  EXPECT_EQ(ClipboardText(), "caf\xC3\xA9 \xE2\x82\xAC");
}

TEST_F(Clipboard, TakesTextPutOnByOthersAsUtf8) {
  QGuiApplication::clipboard()->setText(QString::fromUtf8("\xC3\x9C" "ber"));
  EXPECT_TRUE(ClipboardHasText());
  EXPECT_EQ(ClipboardText(), "\xC3\x9C" "ber");
}

TEST_F(Clipboard, HasNoTextWhenEmptyOrHoldingOtherData) {
  QGuiApplication::clipboard()->clear();
  EXPECT_FALSE(ClipboardHasText());
  EXPECT_EQ(ClipboardText(), "");

  auto* image_only = new QMimeData;
  image_only->setData("image/png", QByteArray("\x89PNG", 4));
  QGuiApplication::clipboard()->setMimeData(image_only);
  EXPECT_FALSE(ClipboardHasText());
  EXPECT_EQ(ClipboardText(), "");
}

}  // namespace
}  // namespace kelvora
