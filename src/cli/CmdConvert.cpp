// kazoru-cli convert: the process of rewriting an improper fraction as a mixed number (--to-mixed) or a
// mixed number as an improper fraction (--to-improper), as the screen's commands show it.
#include "cli/Cli.h"
#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/Bunsuuh.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "process/CalcProcManage.h"
#include "process/MainDspManage.h"

namespace {

std::string ValidateConvert(const CliOptions& opts) {
  if (opts.Has("--to-mixed") == opts.Has("--to-improper")) return "convert takes --to-mixed or --to-improper";
  return "";
}

CliRun RunConvert(const std::string& input, const CliOptions& opts) {
  if (opts.Has("--detail")) PROCTEIDO = 1;
  if (opts.Has("--no-reduce")) ReduceOnConvert = 0;
  bool toMixed = opts.Has("--to-mixed");

  CliRun r;
  std::string raw = "n";
  if (IsSingleNumber(input)) {
    Bunsuu v = ParseNumber(input);
    if (v.den != 0)
      raw = toMixed ? ImproperToMixedProcess(ToImproper(v), input) : MixedToImproperProcess(v, input);
  }
  std::string text = raw == "n" ? "n" : NormalizeProcessText(raw);
  r.result = text;
  r.status = text == "n" ? -1 : 1;
  r.ok = text != "n";
  r.fields["type"] = ProcessTypeNumber(text == "n" ? ProcessType::None
                                       : toMixed   ? ProcessType::ImproperToMixed
                                                   : ProcessType::MixedToImproper);
  nlohmann::json lines = nlohmann::json::array();
  if (text != "n")
    for (const ProcessLine& l : VisibleProcessLines(text, PROCTEIDO))
      lines.push_back({{"advice", l.advice}, {"style", std::string(1, l.style)}, {"expr", l.expr}});
  r.fields["lines"] = lines;
  return r;
}

const CliRegistration REGISTER_CONVERT(CliCommand{
    "convert",
    "convert --to-mixed|--to-improper [--no-reduce] [--detail] [VALUE]",
    {{"--to-mixed", false}, {"--to-improper", false}, {"--no-reduce", false}, {"--detail", false}},
    true,
    ValidateConvert,
    RunConvert,
});

}  // namespace
