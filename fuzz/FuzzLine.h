// The calculation line as the fuzz targets start it: default settings, every module it drives at its
// start, the line's commands installed, no window, cells of 10 × 20 pixels, an empty line.
#pragma once

#include "engine/Settings.h"
#include "screen/ScreenPage.h"
#include "screen/sikiInp.h"
#include "screen/sikiInpCommands.h"
#include "typeset/bunCanvasDsp.h"

inline void StartFuzzLine() {
  ResetSettings();
  ResetCalculationModules();
  ResetLineCommands();
  InstallLineCommands();
  ScreenView = ScreenHooks{};
  ScreenSurface = nullptr;
  CharWidth = 10;
  CharHeight = 20;
  ResetSikiInp();
}
