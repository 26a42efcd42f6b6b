// kazoru-cli check: the whole-text check of the keystroke checker, with the normalised text as result.
#include "cli/Cli.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"

namespace {

CliRun RunCheck(const std::string& input, const CliOptions& opts) {
  const bool omitMul = opts.Has("--omit-mul") || KAKERU_ABR != 0;
  const int position =
      CheckText(input, {.cutAtEquals = opts.Has("--cut"), .collectText = true, .omitMul = omitMul});

  CliRun r;
  r.result = CheckedText;
  r.status = position;
  r.ok = position == 0;
  // A batch of plain lines is the checker's pace: the fields are made only when they are printed.
  if (!opts.json) return r;
  if (position == 0) {
    r.fields["errorNo"] = nullptr;  // no refusal, so no message number
    r.fields["errorText"] = "";
  } else {
    r.fields["errorNo"] = ErrorNo;
    r.fields["errorText"] = CheckMessage(ErrorNo);
  }
  return r;
}

const CliRegistration REGISTER_CHECK(CliCommand{
    "check",
    "check [--cut] [--omit-mul] [ARG]",
    {{"--cut", false}, {"--omit-mul", false}},
    true,
    nullptr,
    RunCheck,
    CliReach::EngineWork,
});

}  // namespace
