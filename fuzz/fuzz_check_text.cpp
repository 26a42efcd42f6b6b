// Fuzz target for the whole-text check: any bytes, every combination of its switches; it must neither
// crash nor read past the text, and its answer must be a position inside the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/InpCheck.h"
#include "platform/Platform.h"
#include "tools/ProgramState.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte chooses the switches; the rest is the text.
  const uint8_t flags = data[0];
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  // Message boxes and notices are recorded by the default platform; keep its log from growing.
  if (auto* recording = dynamic_cast<RecordingPlatform*>(&CurrentPlatform())) recording->Clear();
  ResetProgramState();
  RelaxedSigns = (flags & 16) != 0;
  const int position = CheckText(text, {.cutAtEquals = (flags & 1) != 0,
                                        .collectText = (flags & 2) != 0,
                                        .omitMul = (flags & 4) != 0,
                                        .showMessage = (flags & 8) != 0});
  if (position < 0 || static_cast<size_t>(position) > text.size()) std::abort();
  if (position > 0 && CheckMessage(ErrorNo).size() > 200) std::abort();
  // An accepted text is accepted again in its normalised form, which is also its own normal form.
  if (position == 0 && (flags & 2)) {
    const std::string normal = CheckedText;
    if (CheckText(normal, {.collectText = true, .omitMul = (flags & 4) != 0}) != 0) std::abort();
    if (CheckedText != normal) std::abort();
  }
  return 0;
}
