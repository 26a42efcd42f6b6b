// kazoru-cli base: converts "text from to" between number bases 2 to 16.
#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "cli/Cli.h"
#include "engine/Buntakousiki.h"

namespace {

// A base is read as a 64-bit integer; one that does not read counts as -1, which no conversion takes.
int64_t ReadBase(const std::string& word) {
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(word.c_str(), &end, 10);
  if (word.empty() || *end != '\0' || errno != 0) return -1;
  return v;
}

CliRun RunBase(const std::string& input, const CliOptions& /*opts*/) {
  std::istringstream in(input);
  std::string text, fromWord, toWord, extra;
  CliRun r;
  if ((in >> text >> fromWord >> toWord) && !(in >> extra)) {
    int64_t from = ReadBase(fromWord), to = ReadBase(toWord);
    if (to == 10)
      r.result = BaseToDecimal(text, from);
    else if (from == 10)
      r.result = DecimalToBase(text, to);
    else
      r.result = ConvertBase(text, from, to);
  } else {
    r.result = "n";
  }
  r.status = r.result == "n" ? -1 : 1;
  r.ok = r.status == 1;
  return r;
}

const CliRegistration REGISTER_BASE(CliCommand{
    "base",
    "base [\"TEXT FROM TO\"]",
    {},
    true,
    nullptr,
    RunBase,
    CliReach::EngineWork,
});

}  // namespace
