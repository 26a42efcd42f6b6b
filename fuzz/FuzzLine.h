// The calculation line as the fuzz targets start it: the state of a freshly started program (every
// fuzz target starts from ResetProgramState()), the line's commands installed, no window, cells of
// 10 × 20 pixels, an empty line.
#pragma once

#include "engine/Settings.h"
#include "screen/ScreenPage.h"
#include "screen/sikiInp.h"
#include "screen/sikiInpCommands.h"
#include "tools/ProgramState.h"
#include "typeset/bunCanvasDsp.h"

inline void StartFuzzLine() {
  ResetProgramState();
  InstallLineCommands();
  ScreenView = ScreenHooks{};
  ScreenSurface = nullptr;
  CharWidth = 10;
  CharHeight = 20;
  ResetSikiInp();
}
