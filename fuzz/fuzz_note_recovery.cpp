// Fuzz target for reading the notebook's recovery copy: any bytes must read without crashing into a page
// that fits the notebook, holds valid text, and survives being restored and written again unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "notebook/NotePage.h"
#include "notebook/NoteRecovery.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  RecoveredPage page;
  if (!ParseNoteRecovery(bytes, page)) return 0;
  if (page.lines.size() > static_cast<std::size_t>(NOTE_MAX_LINES)) std::abort();
  if (page.selected < 0 || static_cast<std::size_t>(page.selected) > page.lines.size()) std::abort();
  for (const std::string& l : page.lines)
    if (l.find('\0') != std::string::npos) std::abort();
  ResetNotePage();
  RestoreRecoveredPage(page);
  NoteRecoveryQuestion(page);
  // What was read is written again and reads back as the same, sound page.
  const std::string again = ComposeNoteRecovery(NotePage);
  RecoveredPage back;
  if (!ParseNoteRecovery(again, back) || back.damaged) std::abort();
  if (back.lines != page.lines || back.title != page.title || back.fileName != page.fileName ||
      back.selected != page.selected)
    std::abort();
  return 0;
}
