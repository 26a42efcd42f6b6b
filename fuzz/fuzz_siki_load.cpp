// Fuzz target for reading a .siki file: any bytes (broken CP932, NUL bytes, huge lines, no line end,
// thousands of lines) must load without crashing into a consistent page that saves again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "notebook/NotePage.h"
#include "platform/Platform.h"
#include "tools/ProgramState.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (auto* recording = dynamic_cast<RecordingPlatform*>(&CurrentPlatform())) recording->Clear();
  ResetProgramState();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const int bad = LoadSikiBytes(bytes);
  if (bad < 0 || bad > NotePage.lineCount) std::abort();
  if (NotePage.lineCount < 0 || NotePage.lineCount > NOTE_MAX_LINES || NotePage.selected != 0) std::abort();
  if (NotePage.modified) std::abort();
  for (int i = 0; i < NotePage.lineCount; ++i) {
    const std::string& line = NotePage.lines[static_cast<std::size_t>(i)];
    // Lines are trimmed, hold no line end and no NUL, and are valid UTF-8 text (the page draws them).
    if (!line.empty() &&
        (static_cast<unsigned char>(line.front()) <= 0x20 || static_cast<unsigned char>(line.back()) <= 0x20))
      std::abort();
    if (line.find('\n') != std::string::npos || line.find('\0') != std::string::npos) std::abort();
  }
  ReportSikiLoadProblems();
  // What was read is written again and reads back as the same page.
  std::string again;
  if (SikiFileBytes(again)) {
    const auto lines = NotePage.lines;
    const int count = NotePage.lineCount;
    LoadSikiBytes(again);
    // Empty lines are not read back, and a line starting with "#" comes back as the title.
    int k = 0;
    for (int i = 0; i < count; ++i) {
      // A CR inside a line is written as a blank, since a record holds no line end.
      std::string l = lines[static_cast<std::size_t>(i)];
      for (char& c : l)
        if (c == '\r') c = ' ';
      if (l.empty() || l.front() == '#') continue;
      if (k >= NotePage.lineCount || NotePage.lines[static_cast<std::size_t>(k)] != l) std::abort();
      ++k;
    }
    if (k != NotePage.lineCount) std::abort();
  }
  return 0;
}
