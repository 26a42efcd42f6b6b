// Command table and message output of kazoru-cli.
#include "cli/Cli.h"

#include <cerrno>
#include <cstdlib>

namespace {
std::map<std::string, CliCommand>& Table() {
  static std::map<std::string, CliCommand> t;
  return t;
}
}  // namespace

CliRegistration::CliRegistration(CliCommand c) {
  std::string n = c.name;
  Table()[n] = std::move(c);
}

const std::map<std::string, CliCommand>& CliCommands() { return Table(); }

namespace {
std::map<std::string, CliExpander>& Expanders() {
  static std::map<std::string, CliExpander> table;
  return table;
}
}  // namespace

CliExpanderRegistration::CliExpanderRegistration(const std::string& command, CliExpander expand) {
  Expanders()[command] = std::move(expand);
}

const CliExpander* CliExpanderOf(const std::string& command) {
  auto it = Expanders().find(command);
  return it == Expanders().end() ? nullptr : &it->second;
}

RecordingPlatform& CliPlatform() {
  static RecordingPlatform p;
  return p;
}

long long CliOptions::GetInt(const std::string& name, long long def, bool& ok) const {
  auto it = values.find(name);
  if (it == values.end()) return def;
  const char* s = it->second.c_str();
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(s, &end, 10);
  if (*s == '\0' || *end != '\0' || errno != 0) {
    ok = false;
    return def;
  }
  return v;
}

nlohmann::json CliMessagesJson(const RecordingPlatform& p) {
  nlohmann::json a = nlohmann::json::array();
  for (const auto& m : p.Shown()) a.push_back({{"caption", m.caption}, {"text", m.text}});
  return a;
}
