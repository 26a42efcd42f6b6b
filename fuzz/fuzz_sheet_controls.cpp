// Feeds arbitrary texts to the readers of the practice sheet's controls (the batch tool's options and
// the dialog's fields) and makes a small sheet from what they accepted: nothing may crash, a refusal
// always names a control, and every problem made is accepted by the whole-text check.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "platform/Platform.h"
#include "sheets/Sheet.h"
#include "tools/ProgramState.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static RecordingPlatform platform;
  SetPlatform(&platform);
  platform.Clear();
  ResetProgramState();
  if (size > 512) return 0;
  // One field a line: skill, count, largest denominator, terms, reduce, largest answer, mixed, seed,
  // version.
  std::vector<std::string> f(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == '\n')
      f.emplace_back();
    else
      f.back() += static_cast<char>(data[i]);
  }
  f.resize(9);
  SheetControls c;
  const std::vector<std::string> why = {
      ParseSheetCount(f[1], c.count),         ParseSheetMaxDen(f[2], c.maxDen),
      ParseSheetTerms(f[3], c.terms),         ParseSheetReduce(f[4], c.reduce),
      ParseSheetMaxAnswer(f[5], c.maxAnswer), ParseSheetMixed(f[6], c.mixedAnswers),
      ParseSheetSeed(f[7], c.seed),           ParseSheetVersion(f[8], c.version)};
  for (const std::string& w : why)
    if (!w.empty() && w.find("「") == std::string::npos) std::abort();
  c.skill = f[0];
  if (c.count > 5) c.count = 5;  // the making is bounded; a few problems show every path
  const Sheet s = MakeSheet(c);
  if (s.problems.empty() && s.message.empty()) std::abort();
  for (const SheetProblem& p : s.problems)
    if (CheckText(p.expr, {.collectText = true}) != 0) std::abort();
  if (!platform.Shown().empty()) std::abort();  // making a sheet never shows a message itself
  return 0;
}
