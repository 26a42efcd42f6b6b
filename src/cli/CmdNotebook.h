// kazoru-cli notebook: the two subcommands share one command name. "calc" needs no window and lives in
// CmdNotebook.cpp; "print" draws with Qt and is installed by cli/qt/CmdNotebookPrint.cpp in the Qt build.
#pragma once

#include <string>

#include "cli/Cli.h"

// The drawing the Qt part of the batch tool installs at start: wiring, not state, so ResetProgramState()
// leaves it (state records: tools/ProgramState.h).
struct NotebookCommandHooks {
  // Prints the .siki file to the PDF named by -o; null in a build without Qt.
  CliRun (*NotebookPrintCommand)(const std::string& file, const CliOptions& opts) = nullptr;
};
extern NotebookCommandHooks NotebookCommands;
inline auto& NotebookPrintCommand = NotebookCommands.NotebookPrintCommand;

// Reads the file into the page for a run; false (after the message) when it cannot be opened.
bool LoadNotebookForRun(const std::string& file);
