// The window tests run without a display, with their settings in a folder
// of their own, inside one QApplication.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "tests/support/temp_dir.h"

int main(int argc, char** argv) {
  testsupport::TempDir config;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  setenv("XDG_RUNTIME_DIR", config.path().c_str(), 1);
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
