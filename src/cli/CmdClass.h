// The class summary's PDF, drawn by the Qt part of kazoru-cli when it is built with one.
#pragma once

#include <string>

#include "classroom/ClassSummary.h"

struct ClassCommandHooks {
  // Writes the summary as A4 landscape pages to path; false (and a message shown) when it cannot.
  bool (*ClassPdfCommand)(const ClassSummary& summary, const std::string& path, int& pages) = nullptr;
};
extern ClassCommandHooks ClassCommands;
