// kazoru-cli divisors: the divisor list and its sum for a factorisation text such as 2^2*3.
#include "cli/Cli.h"
#include "engine/Buntakousiki.h"

namespace {

std::string ValidateDivisors(const CliOptions& opts) {
  bool ok = true;
  long long k = opts.GetInt("--per-row", 10, ok);
  return ok && k >= 1 && k <= 1000000 ? "" : "--per-row takes a positive integer";
}

CliRun RunDivisors(const std::string& input, const CliOptions& opts) {
  bool ok = true;
  DivisorsPerLine = static_cast<int>(opts.GetInt("--per-row", 10, ok));
  CliRun r;
  r.result = DivisorList(input, opts.Has("--all") ? 1 : 0);
  r.status = r.result == "n" ? -1 : 1;
  r.ok = r.status == 1;
  r.fields["count"] = DivisorCount;
  return r;
}

const CliRegistration REGISTER_DIVISORS(CliCommand{
    "divisors",
    "divisors [--all] [--per-row K] [ARG]",
    {{"--all", false}, {"--per-row", true}},
    true,
    ValidateDivisors,
    RunDivisors,
    CliReach::EngineWork,
});

}  // namespace
