// Feeds arbitrary texts to the π field's check and to the goals editor's line splitting: nothing may
// crash or read past a text, an accepted π text is digits with at most one inner point, a refusal always
// carries its message, and the goal lines joined again give back the text without its caret line.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/Settings.h"
#include "platform/Platform.h"
#include "platform/ShiftJis.h"
#include "tools/Mokuhyou.h"
#include "tools/ProgramState.h"
#include "tools/kihonSet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static RecordingPlatform platform;
  SetPlatform(&platform);
  platform.Clear();
  ResetProgramState();
  if (size > 4096) return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);

  PaiCheckResult r = PaiStrCheck(text);
  if (PaiText != text) std::abort();
  if (r.ok != (r.message == nullptr)) std::abort();
  if (r.ok) {
    if (text.empty() || SjisLength(text) > PAI_MAX_BYTES) std::abort();
    if (text.front() == '.' || text.back() == '.') std::abort();
    if (text.find_first_not_of("0123456789.") != std::string::npos) std::abort();
    if (text.find('.') != text.rfind('.')) std::abort();
  }
  if (r.pos < 0 || static_cast<size_t>(r.pos) > text.size()) std::abort();

  std::string noCr;
  for (char c : text)
    if (c != '\r') noCr += c;
  const std::vector<std::string> lines = SplitGoalLines(text);
  std::string joined = JoinGoalLines(lines);
  if (!noCr.empty() && noCr.back() == '\n') joined += '\n';
  if (joined != noCr) std::abort();
  StoreGoals(lines);
  if (MOKU_SOUSUU > MOKUHYOU_MAX || StoredGoals().size() != static_cast<size_t>(MOKU_SOUSUU)) std::abort();
  return 0;
}
