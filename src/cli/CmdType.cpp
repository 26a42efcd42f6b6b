// kazoru-cli type: a fresh calculation screen receives the argument as key presses through the line's
// key map, exactly as a pupil typing; the result is the line afterwards.
#include "cli/Cli.h"
#include "engine/Settings.h"
#include "process/CalcProcManage.h"
#include "screen/sikiInp.h"
#include "screen/sikiInpCommands.h"
#include "typeset/bunCanvasDsp.h"

namespace {

std::string ValidateType(const CliOptions& opts) {
  bool ok = true;
  long long mode = opts.GetInt("--mode", 0, ok);
  if (!ok || mode < 0 || mode > 7) return "--mode takes 0 to 7 (answer form + 4 for the decimal)";
  long long wari = opts.GetInt("--wari", 0, ok);
  if (!ok || wari < 0 || wari > 18) return "--wari takes the decimal places 0 to 18";
  if (opts.Has("--final")) {
    std::string f = opts.Get("--final");
    if (f != "mixed" && f != "improper") return "--final takes mixed or improper";
  }
  return "";
}

CliRun RunType(const std::string& input, const CliOptions& opts) {
  bool ok = true;
  const int mode = static_cast<int>(opts.GetInt("--mode", ANSSYU + 4 * SYOUDSP, ok));
  ANSSYU = mode % 4;
  SYOUDSP = mode / 4;
  if (opts.Has("--procdsp")) PROCDSP = 1;
  if (opts.Has("--omit-mul")) KAKERU_ABR = 1;
  if (opts.Has("--final")) PROCLASTANS = opts.Get("--final") == "improper" ? 1 : 0;
  if (opts.Has("--detail")) PROCTEIDO = 1;
  if (opts.Has("--wari")) {
    WARI_TYPE = 1;
    WARI_PNT = static_cast<int>(opts.GetInt("--wari", WARI_PNT, ok));
  }
  InstallLineCommands();
  ResetSikiInp();

  CliRun r;
  std::vector<KeyPress> presses;
  std::string error;
  if (!ParseKeySequence(input, presses, error)) {
    ShowMessage(error, "kazoru-cli");
    r.result = "";
    r.status = -1;
    r.ok = false;
    return r;
  }
  nlohmann::json refused = nlohmann::json::array();
  size_t pos = 1;
  for (const KeyPress& p : presses) {
    int before = RefusalCount;
    KeyToInput(p.key, p.shift);
    if (RefusalCount != before)
      refused.push_back({{"pos", pos}, {"key", p.source}, {"errorNo", LastRefusalNo}});
    pos += p.source.size();
  }
  r.result = LineText;
  r.status = LineOpen ? 0 : 1;
  r.fields["statusLine"] = StatusText;
  r.fields["processType"] = ProcessTypeNumber(ProcessState.processType);
  r.fields["processText"] = ProcessState.processText;
  r.fields["lineOpen"] = LineOpen;
  r.fields["refused"] = refused;
  return r;
}

const CliRegistration REGISTER_TYPE(CliCommand{
    "type",
    "type [--mode N] [--procdsp] [--omit-mul] [--final mixed|improper] [--detail] [--wari P] [ARG]",
    {{"--mode", true},
     {"--procdsp", false},
     {"--omit-mul", false},
     {"--final", true},
     {"--detail", false},
     {"--wari", true}},
    true,
    ValidateType,
    RunType,
});

}  // namespace
