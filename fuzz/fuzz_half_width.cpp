// Fuzz target for the full-width to half-width taking of typed text: any bytes give a text no longer than
// the input, taking it twice changes nothing more, and a text without full-width forms comes back as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/HalfWidth.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string typed(reinterpret_cast<const char*>(data), size);
  const std::string taken = HalfWidthInput(typed);
  if (taken.size() > typed.size()) std::abort();
  if (HalfWidthInput(taken) != taken) std::abort();
  bool ascii = true;
  for (unsigned char c : typed) ascii = ascii && c < 0x80;
  if (ascii && taken != typed) std::abort();
  return 0;
}
