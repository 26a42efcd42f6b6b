// kazoru-cli sheet: the practice sheet needs no window for its page and its list of problems; its two
// PDFs (the pupils' sheet and the answer key) are drawn with Qt by cli/qt/CmdSheetPrint.cpp.
#pragma once

#include <string>

struct Sheet;
struct SheetControls;
struct CliOptions;

// Reads every sheet control option (--skill, --count … --version) into c, for sheet and assign alike;
// the message of the first that does not read, else "".
std::string ReadSheetControls(const CliOptions& opts, SheetControls& c);

// The drawing the Qt part of the batch tool installs at start: wiring, not state, so ResetProgramState()
// leaves it (state records: tools/ProgramState.h).
struct SheetCommandHooks {
  // Prints the sheet (key false) or its answer key (key true) into a PDF file; pages receives the number
  // of pages. Null in a build without Qt. False after telling the user what failed.
  bool (*SheetPdfCommand)(const Sheet& sheet, const std::string& path, bool key, bool advice,
                          int& pages) = nullptr;
};
extern SheetCommandHooks SheetCommands;
inline auto& SheetPdfCommand = SheetCommands.SheetPdfCommand;
