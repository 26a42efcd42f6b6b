// kazoru-cli solve: solves a first-degree equation, inequality or proportion in x.
#include "cli/Cli.h"
#include "engine/BunMath.h"
#include "engine/Bunsuuh.h"
#include "engine/Houtei1ji.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"

namespace {

std::string ValidateSolve(const CliOptions& opts) {
  bool ok = true;
  long long a = opts.GetInt("--anssyu", 0, ok);
  return ok && a >= 0 && a <= 2 ? "" : "--anssyu takes 0, 1 or 2";
}

CliRun RunSolve(const std::string& input, const CliOptions& opts) {
  bool ok = true;
  if (opts.Has("--anssyu")) ANSSYU = static_cast<int>(opts.GetInt("--anssyu", 0, ok));

  CliRun r;
  r.result = SolveLinear(input, opts.Has("--echo") ? 1 : 0);
  r.status = r.result == "n" ? -1 : 1;
  r.ok = r.status == 1;
  r.fields["relationKind"] = RelationKind;
  r.fields["solution"] = SolutionText;
  r.fields["solverMessage"] = SolverMessage;
  return r;
}

const CliRegistration REGISTER_SOLVE(CliCommand{
    "solve",
    "solve [--echo] [--anssyu N] [ARG]",
    {{"--echo", false}, {"--anssyu", true}},
    true,
    ValidateSolve,
    RunSolve,
    CliReach::Engine,
});

}  // namespace
