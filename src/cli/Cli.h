// The batch tool's command table and output machinery. Each command lives in a file of its own
// (src/cli/Cmd<Name>.cpp) and registers itself with a static CliRegistration; main.cpp parses the common
// options, runs the command once per input and writes plain or JSON Lines output.
#pragma once

#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/Platform.h"

struct CliOptionSpec {
  std::string name;  // "--mode"
  bool takesValue = false;
};

// What the command line said, after the common options were taken out.
struct CliOptions {
  std::map<std::string, std::string> values;  // option → value ("" for a switch)
  std::vector<std::string> positional;  // positional arguments after the command (ARG excluded
      // for batch commands)
  bool json = false;  // the runs are printed as JSON Lines, with their fields (plain output prints none)
  bool Has(const std::string& name) const { return values.count(name) != 0; }
  std::string Get(const std::string& name, const std::string& def = "") const {
    auto it = values.find(name);
    return it == values.end() ? def : it->second;
  }
  // An integer option; sets ok = false when present but not an integer.
  long long GetInt(const std::string& name, long long def, bool& ok) const;
};

// The outcome of one run.
struct CliRun {
  std::string result;
  long long status = 0;
  bool ok = true;  // false makes the exit status 1
  nlohmann::json fields = nlohmann::json::object();  // the command's own fields
  // A run that answers with several objects (one per assignment of a class summary …): with --json each
  // is printed as a line of its own, the common fields first, in place of the single object of fields.
  std::vector<nlohmann::json> objects;
};

// What a run of a command can change: before each run the batch tool puts back what the run before it
// may have changed, so every run starts as the first did, from a freshly started program.
enum class CliReach {
  EngineWork,  // calls the engine layer only and sets no setting (ResetEngineWork() covers what it changes)
  Engine,  // calls the engine layer only, and may set settings from its options (ResetEngineState())
  Everything,
};

struct CliCommand {
  std::string name;
  std::string usage;  // one line: "eval [--mode N] [--echo] [ARG]"
  std::vector<CliOptionSpec> options;
  // Batch commands run once per input (ARG, or each line of standard input for "-" or no ARG).
  // Other commands run once with their positional arguments.
  bool batch = true;
  // Checks the options once before any run; returns an error text for a usage error.
  std::function<std::string(const CliOptions&)> validate;
  std::function<CliRun(const std::string& input, const CliOptions&)> run;
  CliReach reach = CliReach::Everything;
};

struct CliRegistration {
  explicit CliRegistration(CliCommand c);
};

const std::map<std::string, CliCommand>& CliCommands();

// Optional for a batch command: turns one input (ARG or a line of standard input) into the inputs of
// several runs, such as a folder into its files; one run, and one output, per input.
using CliExpander = std::function<std::vector<std::string>(const std::string& arg, const CliOptions&)>;
struct CliExpanderRegistration {
  CliExpanderRegistration(const std::string& command, CliExpander expand);
};
// The expander of a command, or nullptr.
const CliExpander* CliExpanderOf(const std::string& command);

// The platform a run records its messages on; fresh for every run.
RecordingPlatform& CliPlatform();

// Every run starts from the state of a freshly started program: ResetProgramState() before the first run
// and whenever a settings file is read, else only what the runs of the command can change (its reach),
// then the --settings file when one was given. Commands apply their own overriding options
// after this. Defined next to the settings code.
void CliPrepareSettings(const std::string& settingsFile, CliReach reach, bool firstRun);

// "caption: text" lines of the messages shown during a run (new lines written as \n).
nlohmann::json CliMessagesJson(const RecordingPlatform& p);
