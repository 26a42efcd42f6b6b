// Feeds arbitrary texts to the number reader and the text operations, and the numbers read to the
// arithmetic: nothing may crash, and every result is either a valid record or the error value.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/Bunio.h"
#include "engine/Bunsuu.h"
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
  std::string text(reinterpret_cast<const char*>(data), size);
  size_t split = text.find('|');
  std::string left = text.substr(0, split);
  std::string right = split == std::string::npos ? std::string("3b2") : text.substr(split + 1);

  Bunsuu a = ParseNumber(left);
  Bunsuu b = ParseNumber(right);
  FormatBunsuu(a, 1);
  DecimalText(a);
  NumberKind(left);
  IsSingleNumber(left);
  IsReducibleText(left);
  DivideWithRemainder(text, static_cast<int>(size % 23) - 2);
  StripParentheses(text, static_cast<int>(size % 4));
  LastAnswerPiece(text);
  CutForSolver(text, 1);
  FirstOperator(text);
  FindLast(text, '+', static_cast<int>(size % 2));
  FirstInSet(left, right);
  FirstNotInSet(left, right);
  CountOccurrences(left, right);

  if (a.den != 0 && a.den > 0 && a.whole >= 0 && a.num >= 0 && b.den > 0 && b.whole >= 0 && b.num >= 0) {
    CheckRecord(Add(a, b));
    CheckRecord(Subtract(a, b));
    CheckRecord(Multiply(a, b));
    if (b.sign != 0) CheckRecord(Divide(a, b));
    CheckRecord(Power(a, static_cast<int32_t>(size % 70) - 35));
    CompareMagnitude(a, b);
  }
  return 0;
}
