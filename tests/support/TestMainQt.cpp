// Main of the window tests: a QApplication on the offscreen platform (also when a test lister such as
// gtest_discover_tests starts the program without the test's environment), with a temporary
// configuration folder so that no test touches the user's settings.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "support/TestSupport.h"

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  setenv("XDG_CONFIG_HOME", TempDir().c_str(), 1);
  QApplication app(argc, argv);
  InstallTestPlatform();
  return RUN_ALL_TESTS();
}
