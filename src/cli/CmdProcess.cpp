// kazoru-cli process: makes the calculation process of an expression as the calculation screen would
// with process display on, and prints the normalised process text with the lines the display draws.
#include "cli/Cli.h"
#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/Bunsuuh.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "process/CalcProcManage.h"
#include "process/MainDspManage.h"

namespace {

std::string ValidateProcess(const CliOptions& opts) {
  if (opts.Has("--final")) {
    std::string f = opts.Get("--final");
    if (f != "mixed" && f != "improper") return "--final takes mixed or improper";
  }
  return "";
}

nlohmann::json LinesJson(const std::string& processText, int detail) {
  nlohmann::json lines = nlohmann::json::array();
  for (const ProcessLine& l : VisibleProcessLines(processText, detail))
    lines.push_back({{"advice", l.advice}, {"style", std::string(1, l.style)}, {"expr", l.expr}});
  return lines;
}

CliRun RunProcess(const std::string& input, const CliOptions& opts) {
  if (opts.Has("--detail")) PROCTEIDO = 1;
  if (opts.Has("--final")) PROCLASTANS = opts.Get("--final") == "improper" ? 1 : 0;
  ProcessState.alternativeMethod = opts.Has("--alt");

  CliRun r;
  int made = MakeProcess(input, true);
  r.result = ProcessState.processText;
  r.status = made;
  // Declining is not a failure (the line is calculated directly); a failed common denominator is.
  r.ok = ProcessState.processOk;
  r.fields["type"] = ProcessTypeNumber(ProcessState.processType);
  r.fields["processOk"] = ProcessState.processOk;
  r.fields["lines"] = LinesJson(ProcessState.processText, PROCTEIDO);
  return r;
}

const CliRegistration REGISTER_PROCESS(CliCommand{
    "process",
    "process [--detail] [--final mixed|improper] [--alt] [ARG]",
    {{"--detail", false}, {"--final", true}, {"--alt", false}},
    true,
    ValidateProcess,
    RunProcess,
});

}  // namespace
