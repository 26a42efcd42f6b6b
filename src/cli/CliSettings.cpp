// Settings of one kazoru-cli run: the defaults, then the --settings file.
#include "cli/Cli.h"

void CliPrepareSettings(const std::string& /*settingsFile*/) {
  // Filled in with the settings module: reset to defaults, then read the given file.
}
