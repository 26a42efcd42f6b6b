// Main of the window-free test programs: every test starts from the state of a freshly started program.
#include <gtest/gtest.h>

#include "support/FreshProgramState.h"
#include "support/TestSupport.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  InstallTestPlatform();
  StartEveryTestFresh();
  return RUN_ALL_TESTS();
}
