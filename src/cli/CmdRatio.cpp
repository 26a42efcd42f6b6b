// kazoru-cli ratio: simplifies a ratio a:b to lowest integer terms.
#include "cli/Cli.h"
#include "engine/BunMath.h"
#include "engine/Bunsuuh.h"
#include "engine/InpCheck.h"

namespace {

CliRun RunRatio(const std::string& input, const CliOptions& opts) {
  CliRun r;
  r.result = SimplifyRatio(input, opts.Has("--echo") ? 1 : 0);
  r.status = r.result == "n" ? -1 : 1;
  r.ok = r.status == 1;
  return r;
}

const CliRegistration REGISTER_RATIO(CliCommand{
    "ratio",
    "ratio [--echo] [ARG]",
    {{"--echo", false}},
    true,
    nullptr,
    RunRatio,
    CliReach::EngineWork,
});

}  // namespace
