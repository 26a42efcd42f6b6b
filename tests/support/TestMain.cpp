// Main of the window-free test programs: every test starts from the state of a freshly started program.
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "tools/ProgramState.h"

namespace {

class FreshProgramState : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { ResetProgramState(); }
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  InstallTestPlatform();
  ::testing::UnitTest::GetInstance()->listeners().Append(new FreshProgramState);
  return RUN_ALL_TESTS();
}
