#include <gtest/gtest.h>

#include <QApplication>

#include <string>

#include "toolkit/application.h"
#include "toolkit/file_dialog.h"
#include "toolkit/message_box.h"

// Every test program runs inside one application object on the offscreen
// platform, so widget tests need no display.
//
// No test may wait on a real modal box or dialog: an error box that no
// test asked for fails the running test, and a file dialog that no test
// scripted raises an error instead of opening. A test that expects either
// installs its own sink or script, which stands in front of these.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  kelvora::TApplication app(argc, argv);
  kelvora::TMessageSinkGuard unexpected_error_boxes(
      [](const std::string& caption, const std::string& text) {
        ADD_FAILURE() << "Unexpected error box \"" << caption << "\": " << text;
      });
  kelvora::TFileDialogScript no_real_file_dialogs;
  return RUN_ALL_TESTS();
}
