// Feeds arbitrary texts and bases to the number-base conversions, and the same texts to the
// factorisation and the divisor list: nothing may crash or read past a text, and a conversion that
// succeeds must come back unchanged through the opposite one.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/Buntakousiki.h"
#include "engine/Settings.h"
#include "platform/Platform.h"
#include "tools/ProgramState.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static RecordingPlatform platform;
  SetPlatform(&platform);
  platform.Clear();
  ResetProgramState();
  if (size < 2 || size > 512) return 0;
  // Two bytes choose the bases (a few outside 2..16 on purpose); the rest is the text.
  const int64_t from = data[0] % 20 - 1, to = data[1] % 20 - 1;
  std::string text(reinterpret_cast<const char*>(data) + 2, size - 2);

  std::string decimal = BaseToDecimal(text, from);
  if (decimal != "n") {
    if (from < 2 || from > 16) std::abort();
    // Back in the same base: the text without its leading zeros.
    std::string back = DecimalToBase(decimal, from);
    size_t first = text.find_first_not_of('0');
    std::string trimmed = first == std::string::npos ? "0" : text.substr(first);
    if (back != trimmed) std::abort();
  }
  std::string converted = ConvertBase(text, from, to);
  if (converted != "n" && BaseToDecimal(converted, to) != decimal) std::abort();
  std::string inBase = DecimalToBase(text, to);
  if (inBase != "n" && BaseToDecimal(inBase, to) == "n") std::abort();

  // The same text as a number to factorise and as a factorisation to list divisors of.
  std::string f = PrimeFactorisation(text);
  if (f != "n" && f.empty()) std::abort();
  DivisorsPerLine = data[0] % 12;
  std::string d = DivisorList(text, data[1] & 1);
  if (d != "n" && (d.rfind("   1", 0) != 0 || d.find("|=") == std::string::npos || DivisorCount < 1))
    std::abort();
  return 0;
}
