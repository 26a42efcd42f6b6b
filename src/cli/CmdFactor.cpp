// kazoru-cli factor: the prime factorisation of a positive integer, as 2^2*3.
#include "cli/Cli.h"
#include "engine/Buntakousiki.h"

namespace {

CliRun RunFactor(const std::string& input, const CliOptions& /*opts*/) {
  CliRun r;
  r.result = PrimeFactorisation(input);
  r.status = r.result == "n" ? -1 : 1;
  r.ok = r.status == 1;
  return r;
}

const CliRegistration REGISTER_FACTOR(CliCommand{
    "factor",
    "factor [ARG]",
    {},
    true,
    nullptr,
    RunFactor,
    CliReach::EngineWork,
});

}  // namespace
