// Fuzz target for the assignment code: any text (a code or a link, typed or pasted) is read without
// crashing; a code that reads is made again within the code's length and reads back as the same
// assignment; a refused one always says why.
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
  if (size > 2000) return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);
  Assignment a;
  const std::string why = DecodeAssignment(text, a);
  if (!why.empty()) return 0;
  std::string code;
  if (!EncodeAssignment(a, code).empty() || code.empty() || code.size() > ASSIGNMENT_CODE_MAX) std::abort();
  Assignment b;
  if (!DecodeAssignment(AssignmentLink("https://example.org/", code), b).empty()) std::abort();
  const SheetControls &x = a.controls, &y = b.controls;
  if (x.skill != y.skill || x.count != y.count || x.maxDen != y.maxDen || x.terms != y.terms ||
      x.reduce != y.reduce || x.maxAnswer != y.maxAnswer || x.mixedAnswers != y.mixedAnswers ||
      x.seed != y.seed || x.version != y.version || a.title != b.title || a.finalForm != b.finalForm ||
      a.feedback != b.feedback)
    std::abort();
  return 0;
}
