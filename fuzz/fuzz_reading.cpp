// Feeds arbitrary texts to the reading aloud: nothing may crash or read past a text, and both forms stay
// valid UTF-8 whatever bytes came in (a stray byte is passed over, never copied into the reading).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tools/ProgramState.h"
#include "typeset/Reading.h"

namespace {
bool ValidUtf8(const std::string& s) {
  size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
    i += n;
  }
  return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ResetProgramState();
  if (size > 1024) return 0;  // the calculation line holds 256 characters; far longer adds nothing
  std::string text(reinterpret_cast<const char*>(data), size);
  LineReading r = ReadLineAloud(text);
  if (!ValidUtf8(r.display) || !ValidUtf8(r.kana)) std::abort();
  std::string digits;
  for (char c : text)
    if (c >= '0' && c <= '9') digits += c;
  if (!ValidUtf8(NumberKana(digits))) std::abort();
  return 0;
}
