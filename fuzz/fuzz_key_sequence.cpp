// Reads a text as a typed key sequence (the batch tool's notation: characters, "{Shift+F5}" and the like)
// and presses every key on the calculation line with the line's commands installed, every question
// answered by the first byte's bits: nothing may crash or read past a text, and after every key the line
// must still be what the whole-text check accepts and its count must match it while it is open (unless it
// holds what was typed in base mode, which follows that mode's own rules), and its length must stay within
// the line's limit (past it, only the closing brackets that finish the line).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzLine.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "platform/Platform.h"
#include "screen/sikiInp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static RecordingPlatform platform;
  SetPlatform(&platform);
  platform.Clear();
  if (size < 1 || size > 400) return 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::vector<KeyPress> presses;
  std::string error;
  if (!ParseKeySequence(text, presses, error)) {
    if (error.empty()) std::abort();  // a refusal always says where
    return 0;
  }
  StartFuzzLine();
  PROCDSP = data[0] & 1;
  KAKERU_ABR = (data[0] >> 1) & 1;
  EQUAL_KAIGYO = (data[0] >> 2) & 1;
  // Questions get Yes or No, input boxes a number or a cancel, by the first byte's high bits.
  platform.defaultAnswer = (data[0] & 0x10) ? MsgAnswer::Yes : MsgAnswer::No;
  // Letters and ">" typed in base mode go onto the line without the checker and uncounted, and a base
  // follows its number as in 101(2; the check at "=" deals with them. From a key typed in base mode until
  // the line is next emptied, the checker's rules do not hold.
  bool baseTyped = false;
  for (const KeyPress& p : presses) {
    platform.inputs.clear();
    if (data[0] & 0x20) platform.inputs.push_back("3");
    const std::string before = LineText;
    KeyToInput(p.key, p.shift);
    if (BaseMode && LineText != before) baseTyped = true;
    if (LineText.empty()) baseTyped = false;
    if (LineText.size() > 4096 || LineCount < 0) std::abort();
    if (!baseTyped && LineOpen && LineCount > LINE_MAX_CHARS) {
      for (size_t i = LINE_MAX_CHARS; i < LineText.size(); ++i)
        if (LineText[i] != ')' && LineText[i] != ']') std::abort();
    }
    if (!baseTyped && !TextAccepted(LineText, KAKERU_ABR)) std::abort();
    if (!baseTyped && LineOpen && static_cast<size_t>(LineCount) != LineText.size()) std::abort();
    if (platform.log.size() > 200) platform.Clear();
  }
  return 0;
}
