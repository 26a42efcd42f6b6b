// Every test starts from the state of a freshly started program: the test programs' mains (window-free,
// Qt and desktop) append this listener, so no state leaks from one test into the next.
#pragma once

#include <gtest/gtest.h>

#include "tools/ProgramState.h"

class FreshProgramState : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { ResetProgramState(); }
};

inline void StartEveryTestFresh() {
  ::testing::UnitTest::GetInstance()->listeners().Append(new FreshProgramState);
}
