#include <gtest/gtest.h>

#include <QApplication>

#include "toolkit/application.h"

// Every test program runs inside one application object on the offscreen
// platform, so widget tests need no display.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  kelvora::TApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
