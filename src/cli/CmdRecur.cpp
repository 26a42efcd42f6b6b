// kazoru-cli recur: the repeating decimal of a proper fraction given as "num den".
#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "cli/Cli.h"
#include "engine/Buntakousiki.h"

namespace {

// One signed 64-bit decimal integer, the whole word.
bool ReadInt64(const std::string& word, int64_t& value) {
  if (word.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(word.c_str(), &end, 10);
  if (*end != '\0' || errno != 0) return false;
  value = v;
  return true;
}

CliRun RunRecur(const std::string& input, const CliOptions& /*opts*/) {
  std::istringstream in(input);
  std::string a, b, extra;
  int64_t num = 0, den = 0;
  CliRun r;
  if ((in >> a >> b) && !(in >> extra) && ReadInt64(a, num) && ReadInt64(b, den))
    r.result = RepeatingDecimalText(num, den);
  else
    r.result = "n";
  r.status = r.result == "n" ? -1 : 1;
  r.ok = r.status == 1;
  return r;
}

const CliRegistration REGISTER_RECUR(CliCommand{
    "recur",
    "recur [\"NUM DEN\"]",
    {},
    true,
    nullptr,
    RunRecur,
    CliReach::EngineWork,
});

}  // namespace
