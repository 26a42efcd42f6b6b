// Feeds arbitrary texts to the evaluator and the expression-fraction replacement: nothing may crash,
// hang or read past a text, a failure returns the input unchanged, and a success leaves a valid answer.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/BunMath.h"
#include "engine/Bunsuuh.h"
#include "engine/InpCheck.h"
#include "platform/Platform.h"
#include "tools/ProgramState.h"

namespace {

void CheckRecord(const Bunsuu& b) {
  if (b.den == 0) return;
  if (b.den < 0 || b.whole < 0 || b.num < 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static RecordingPlatform platform;
  SetPlatform(&platform);
  platform.Clear();
  ResetProgramState();
  if (size > 4096) return 0;  // the calculation line holds 256 characters; far longer adds nothing
  // The first byte chooses the answer mode and echo; the rest is the text.
  const int mode = size > 0 ? data[0] % 8 : 0;
  const int echo = size > 0 ? (data[0] >> 3) & 1 : 0;
  std::string text(reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0), size > 0 ? size - 1 : 0);

  std::string answer = EvaluateExpression(text, EvalOptions::FromCode(mode, echo == 1));
  if (EvalStatus < 0) {
    if (answer != text) std::abort();
  } else {
    if (EvalStatus != 1 || answer.empty()) std::abort();
    CheckRecord(AnswerValueMixed);
    CheckRecord(AnswerValueImproper);
    if (AnswerValueMixed.den == 0 || AnswerValueMixed.num >= AnswerValueMixed.den) std::abort();
  }

  ReplaceExpressionFractions(text);
  int verdict = 0;
  RemoveSimpleBrackets(text, (mode & 1) != 0 ? OtherGroups::PassOver : OtherGroups::Stop, verdict);
  SimplifyRatio(text, echo);
  return 0;
}
