// kazoru-cli eval: evaluates an expression text to its answer forms, with the evaluator's answer state.
#include "cli/Cli.h"
#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/Bunsuuh.h"
#include "engine/InpCheck.h"

namespace {

std::string ValidateEval(const CliOptions& opts) {
  bool ok = true;
  opts.GetInt("--mode", 0, ok);
  return ok ? "" : "--mode takes an integer";
}

CliRun RunEval(const std::string& input, const CliOptions& opts) {
  bool ok = true;
  const int mode = static_cast<int>(opts.GetInt("--mode", 0, ok));
  const int echo = opts.Has("--echo") ? 1 : 0;

  CliRun r;
  r.result = EvaluateExpression(input, EvalOptions::FromCode(mode, echo == 1));
  r.status = EvalStatus;
  r.ok = EvalStatus >= 0;
  if (!opts.json) return r;  // the fields are printed only as JSON
  r.fields["mixed"] = AnswerMixedText;
  r.fields["improper"] = AnswerImproperText;
  r.fields["decimal"] = AnswerDecimalText;
  r.fields["hasFraction"] = AnswerHasFraction ? 1 : 0;
  r.fields["terminates"] = DecimalTerminates ? 1 : 0;
  return r;
}

const CliRegistration REGISTER_EVAL(CliCommand{
    "eval",
    "eval [--mode N] [--echo] [ARG]",
    {{"--mode", true}, {"--echo", false}},
    true,
    ValidateEval,
    RunEval,
    CliReach::EngineWork,
});

}  // namespace
