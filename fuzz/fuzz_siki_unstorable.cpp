// Fuzz target for saving a page whose texts hold characters the file cannot store: any bytes as the
// title and a line (emoji, broken UTF-8, lone continuation bytes) are named, replaced, and the page
// then always saves; a text that needed nothing is left as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "notebook/NotePage.h"
#include "platform/Platform.h"
#include "tools/ProgramState.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (auto* recording = dynamic_cast<RecordingPlatform*>(&CurrentPlatform())) recording->Clear();
  if (size > 4096) return 0;
  ResetProgramState();
  const std::string text(reinterpret_cast<const char*>(data), size);
  // The first half is the title, the rest one line.
  NotePage.title = text.substr(0, size / 2);
  NotePage.lines[0] = text.substr(size / 2);
  NotePage.lineCount = 1;
  const auto found = FindUnstorableCharacters();
  if (!found.empty() && UnstorableQuestion(found).empty()) std::abort();
  std::string bytes;
  const bool storable = SikiFileBytes(bytes);
  if (storable != found.empty()) std::abort();
  const std::string title = NotePage.title, line = NotePage.lines[0];
  const int replaced = ReplaceUnstorableCharacters();
  if (replaced != static_cast<int>(found.size())) std::abort();
  if (replaced == 0 && (NotePage.title != title || NotePage.lines[0] != line)) std::abort();
  if (!FindUnstorableCharacters().empty() || !SikiFileBytes(bytes)) std::abort();
  return 0;
}
