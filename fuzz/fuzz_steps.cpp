// Feeds chains of working to the step checker and a notebook page of lines to the page check: nothing
// may crash, hang or wrap; every step gets one verdict, a mistake id exactly with the mistake verdict; the
// checker shows no message and leaves the screen's checker and process as they were; a piece followed
// by itself is a right step.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/Bunsuuh.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "notebook/NoteSteps.h"
#include "platform/Platform.h"
#include "process/CalcProcManage.h"
#include "steps/StepCheck.h"
#include "tools/ProgramState.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static RecordingPlatform platform;
  SetPlatform(&platform);
  platform.Clear();
  ResetProgramState();
  if (size == 0 || size > 600) return 0;
  // The first byte chooses the final form, the hints and whether the text is a page of lines.
  StepOptions options;
  options.finalForm = (data[0] & 1) ? StepFinalForm::Improper : StepFinalForm::Mixed;
  options.hints = (data[0] & 2) != 0;
  const bool page = (data[0] & 4) != 0;
  std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

  // Something for the guard to keep: a process on the screen and a line half typed.
  MakeProcess("2b1+3b1", true);
  CheckKey('1', '$', CheckState::LineStart, false);
  const std::string process = ProcessState.processText;
  const CheckState state = CheckerState.state;

  if (page) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at <= text.size() && lines.size() < 50) {
      size_t nl = text.find('\n', at);
      lines.push_back(text.substr(at, nl == std::string::npos ? std::string::npos : nl - at));
      if (nl == std::string::npos) break;
      at = nl + 1;
    }
    NotePageCheck check = CheckNoteLines(lines, options);
    int steps = 0;
    for (const NoteProblemCheck& p : check.problems) {
      if (p.stepLines.size() != p.result.steps.size()) std::abort();
      steps += static_cast<int>(p.result.steps.size());
    }
    if (steps != check.summary.steps || check.summary.stepsRight > steps) std::abort();
  } else {
    ChainResult r = CheckChain(text, options);
    for (const StepResult& s : r.steps) {
      if ((s.verdict == StepVerdict::Mistake) != !s.mistake.empty()) std::abort();
      if (!s.finalNote.empty() && !IsRightVerdict(s.verdict)) std::abort();
      if (s.advice.empty()) std::abort();
    }
    if (r.allRight && r.steps.empty()) std::abort();
    // The problem followed by itself keeps its value in no step at all.
    std::string problem = text.substr(0, text.find('='));
    if (!problem.empty() && problem.size() < 250) {
      ChainResult same = CheckChain(problem + "=" + problem, options);
      if (same.steps.size() != 1) std::abort();
      const StepResult& s = same.steps[0];
      if (s.verdict != StepVerdict::Ok && s.verdict != StepVerdict::Unreadable &&
          !(s.verdict == StepVerdict::Wrong))
        std::abort();
    }
  }
  if (!platform.Shown().empty()) std::abort();
  if (ProcessState.processText != process || CheckerState.state != state) std::abort();
  return 0;
}
