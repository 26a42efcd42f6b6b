// Feeds arbitrary texts to the ratio simplification: nothing may crash or read past a text; a failure
// is "n", and a success ends in two integers in lowest terms joined by ":".
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/BunMath.h"
#include "engine/Bunsuuh.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "platform/Platform.h"
#include "tools/ProgramState.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static RecordingPlatform platform;
  SetPlatform(&platform);
  platform.Clear();
  ResetProgramState();
  if (size > 1024) return 0;  // the calculation line holds 256 characters; far longer adds nothing
  // The first byte chooses the echo; the rest is the ratio.
  const int echo = size > 0 ? data[0] & 1 : 0;
  std::string text(reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0), size > 0 ? size - 1 : 0);

  std::string r = SimplifyRatio(text, echo);
  if (r == "n") return 0;
  if (r.empty()) std::abort();
  // The echo repeats the ratio itself; whatever followed its "=" is replaced by the simplified one.
  if (echo && r.rfind(text.substr(0, text.find('=')) + "=", 0) != 0) std::abort();
  return 0;
}
