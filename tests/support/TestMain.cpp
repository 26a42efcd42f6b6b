// Main of the window-free test programs.
#include <gtest/gtest.h>

#include "support/TestSupport.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  InstallTestPlatform();
  return RUN_ALL_TESTS();
}
