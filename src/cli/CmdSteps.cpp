// kazoru-cli steps: checks a pupil's own working, a chain "problem=step=step=…", step by step, and
// prints each step's verdict, the mistake it looks like and the advice for the pupil.
#include "cli/Cli.h"
#include "engine/Settings.h"
#include "steps/StepCheck.h"

namespace {

std::string ValidateSteps(const CliOptions& opts) {
  if (opts.Has("--final")) {
    std::string f = opts.Get("--final");
    if (f != "mixed" && f != "improper") return "--final takes mixed or improper";
  }
  return "";
}

nlohmann::json NullOr(const std::string& s) { return s.empty() ? nlohmann::json(nullptr) : nlohmann::json(s); }

CliRun RunSteps(const std::string& input, const CliOptions& opts) {
  StepOptions options = StepOptionsFromSettings();
  if (opts.Has("--final"))
    options.finalForm = opts.Get("--final") == "improper" ? StepFinalForm::Improper : StepFinalForm::Mixed;
  ChainResult chain = CheckChain(input, options);

  CliRun r;
  nlohmann::json steps = nlohmann::json::array();
  std::string plain;
  for (size_t k = 0; k < chain.steps.size(); ++k) {
    const StepResult& s = chain.steps[k];
    steps.push_back({{"from", s.from},
                     {"to", s.to},
                     {"verdict", StepVerdictName(s.verdict)},
                     {"mistake", NullOr(s.mistake)},
                     {"advice", s.advice},
                     {"hint", s.hint},
                     {"final", NullOr(s.finalNote)}});
    if (k > 0) plain += "\n";
    plain += std::to_string(k + 1) + " " + StepVerdictName(s.verdict);
    if (!s.mistake.empty()) plain += " " + s.mistake;
    plain += " " + s.advice;
  }
  if (chain.steps.empty()) plain = chain.note;
  r.result = plain;
  r.status = chain.allRight ? 1 : 0;
  r.ok = chain.allRight;
  r.fields["steps"] = steps;
  if (!chain.note.empty()) r.fields["note"] = chain.note;
  return r;
}

const CliRegistration REGISTER_STEPS(CliCommand{
    "steps",
    "steps [--final mixed|improper] [ARG]",
    {{"--final", true}},
    true,
    ValidateSteps,
    RunSteps,
});

}  // namespace
