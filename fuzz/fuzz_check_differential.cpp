// Fuzz target: the rule-table checker and the switch-based one must agree on every key: verdict,
// message number, every field of the state record and the normalised text.
#include <cstdint>
#include <cstdlib>
#include <cstdio>

#include "CheckerDifferential.h"
#include "platform/Platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (auto* recording = dynamic_cast<RecordingPlatform*>(&CurrentPlatform())) recording->Clear();
  const std::string d = differential::Compare(data, size);
  if (!d.empty()) {
    std::fprintf(stderr, "checkers differ: %s\n", d.c_str());
    std::abort();
  }
  return 0;
}
