// Settings of one kazoru-cli run: the state of a freshly started program (its default settings among it),
// then the --settings file.
#include "cli/Cli.h"
#include "engine/Settings.h"
#include "screen/SettingsFile.h"
#include "tools/ProgramState.h"

void CliPrepareSettings(const std::string& settingsFile, CliReach reach, bool firstRun) {
  if (settingsFile.empty() && !firstRun && reach != CliReach::Everything) {
    if (reach == CliReach::EngineWork)
      ResetEngineWork();
    else
      ResetEngineState();
    return;
  }
  ResetProgramState();
  if (settingsFile.empty()) return;
  // A file named on the command line that cannot be read is worth saying: the run goes on with defaults.
  if (!ReadSettingsFrom(settingsFile))
    ShowMessage("設定ファイル「" + settingsFile + "」を読めませんでした。\n初期の設定で計算します。",
                "注意!!");
}
