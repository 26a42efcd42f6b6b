// kazoru-cli read and say: the Japanese reading of a line (display form, and its kana form in JSON), and
// the speech of that reading written to a WAV file.
#include "cli/Cli.h"
#include "platform/Speech.h"
#include "typeset/Reading.h"

namespace {

CliRun RunRead(const std::string& input, const CliOptions& /*opts*/) {
  LineReading reading = ReadLineAloud(input);
  CliRun r;
  r.result = reading.display;
  r.status = 1;
  r.fields["kana"] = reading.kana;
  return r;
}

std::string ValidateSay(const CliOptions& opts) {
  if (!opts.Has("-o") || opts.Get("-o").empty()) return "say needs -o FILE.wav";
  return "";
}

CliRun RunSay(const std::string& input, const CliOptions& opts) {
  LineReading reading = ReadLineAloud(input);
  CliRun r;
  r.fields["kana"] = reading.kana;
  std::string why;
  const std::string file = opts.Get("-o");
  if (reading.kana.empty()) {
    r.result = "nothing to say";
    r.status = -1;
    r.ok = false;
    return r;
  }
  if (!WriteSpeechWav(reading.kana, file, why)) {
    r.result = why;
    r.status = -1;
    r.ok = false;
    return r;
  }
  r.result = file;
  r.status = 1;
  return r;
}

const CliRegistration REGISTER_READ(CliCommand{
    "read",
    "read [ARG]",
    {},
    true,
    nullptr,
    RunRead,
});

const CliRegistration REGISTER_SAY(CliCommand{
    "say",
    "say -o FILE.wav [ARG]",
    {},
    true,
    ValidateSay,
    RunSay,
});

}  // namespace
