// Feeds texts that pass the whole-text check to the process driver (sums, two-term sums, products and
// quotients) and number texts to the conversion processes: nothing may crash, hang or wrap, and every line
// of a stored process (figure lines excepted) must have the value of the expression typed.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/Bunsuuh.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "platform/Platform.h"
#include "process/CalcProcManage.h"
#include "process/MainDspManage.h"
#include "tools/ProgramState.h"

namespace {

// The improper answer of a text, or "" when it cannot be calculated ("+0" gives a single number an
// operator, which the evaluator asks for).
std::string ImproperValue(const std::string& text) {
  std::string a = EvaluateExpression(text + "+0", {.forms = AnswerForms::Improper});
  if (EvalStatus < 0) return "";
  return AnswerImproperText;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static RecordingPlatform platform;
  SetPlatform(&platform);
  platform.Clear();
  ResetProgramState();
  if (size == 0 || size > 300) return 0;  // the calculation line holds 256 characters
  // The first byte chooses the method switch, the final form and the conversion switch.
  ProcessState.alternativeMethod = data[0] & 1;
  PROCLASTANS = (data[0] >> 1) & 1;
  ReduceOnConvert = (data[0] >> 2) & 1;
  std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (CheckText(text, {.cutAtEquals = true, .collectText = true}) != 0) return 0;
  std::string line = CheckedText;

  int made = MakeProcess(line, true);
  if (made != 0 && made != 1) std::abort();
  if (made == 1) {
    const int type = ProcessTypeNumber(ProcessState.processType);
    if (type < 1 || type > 18) std::abort();
    std::string stored = ProcessState.processText;
    std::string want = ImproperValue(line.substr(0, line.find('=')));
    if (!want.empty() && !stored.empty()) {
      for (const ProcessLine& l : SplitProcessText(stored)) {
        if (l.style == 'Z') continue;
        // A line the evaluator cannot compute (64-bit limits of its own steps) is not compared.
        std::string got = ImproperValue(l.expr);
        if (!got.empty() && got != want) {
          std::fprintf(stderr, "line %s of %s: %s\n", l.expr.c_str(), line.c_str(), stored.c_str());
          std::abort();
        }
      }
      const auto lines = SplitProcessText(stored);
      if (lines.back().advice != 20 && type != 0) std::abort();
    }
  } else if (!ProcessState.processText.empty()) {
    std::abort();
  }

  if (IsSingleNumber(line)) {
    Bunsuu v = ParseNumber(line);
    if (v.den != 0) {
      NormalizeProcessText(ImproperToMixedProcess(ToImproper(v), line));
      NormalizeProcessText(MixedToImproperProcess(v, line));
    }
  }
  NormalizeProcessText(text);
  SplitProcessText(text);
  return 0;
}
