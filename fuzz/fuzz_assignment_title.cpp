// Fuzz target for the teacher's title of an assignment (typed in 「課題として配る」 or given to the batch tool):
// any bytes as a title either are refused with a message and no code, or make a code within the code's
// length that reads back as the same title; the first byte picks the final form and the feedback mode.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "classroom/Assignment.h"
#include "platform/Platform.h"
#include "tools/ProgramState.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static RecordingPlatform platform;
  SetPlatform(&platform);
  platform.Clear();
  ResetProgramState();
  if (size == 0 || size > 1000) return 0;
  Assignment a;
  a.controls.skill = "sum-unlike";
  a.controls.count = 5;
  a.controls.seed = 42;
  a.finalForm = static_cast<AssignmentFinal>(data[0] % 3);
  a.feedback = static_cast<AssignmentFeedback>((data[0] / 3) % 3);
  a.title.assign(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string code;
  const std::string why = EncodeAssignment(a, code);
  if (!why.empty()) {
    if (!code.empty()) std::abort();
    return 0;
  }
  if (code.empty() || code.size() > ASSIGNMENT_CODE_MAX) std::abort();
  Assignment b;
  if (!DecodeAssignment(code, b).empty() || b.title != a.title || b.finalForm != a.finalForm ||
      b.feedback != a.feedback)
    std::abort();
  return 0;
}
