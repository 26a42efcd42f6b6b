// Fuzz target for the CP932 tables: any bytes read as CP932 and as UTF-8 must convert or stop at a bad
// sequence inside the input; text read from CP932 writes back to CP932 and reads again as the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/ShiftJis.h"
#include "tools/ProgramState.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ResetProgramState();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::string utf8 = "unchanged";
  std::size_t bad = 0;
  if (Cp932ToUtf8(bytes, utf8, &bad)) {
    std::string back, again;
    if (!Utf8ToCp932(utf8, back) || !Cp932ToUtf8(back, again) || again != utf8) std::abort();
  } else if (bad >= size || utf8 != "unchanged") {
    std::abort();
  }
  std::string cp932 = "unchanged";
  if (!Utf8ToCp932(bytes, cp932, &bad) && (bad >= size || cp932 != "unchanged")) std::abort();
  if (SjisLength(bytes) > size) std::abort();
  return 0;
}
