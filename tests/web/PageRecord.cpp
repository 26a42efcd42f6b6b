// The desktop side of the comparison with the browser build: for each line of standard input (a key
// sequence of the batch tool), a fresh calculation screen types it, closes the line and paints its page on
// a fixed-cell record; prints Describe() of every operation, then a line "--". The browser build answers
// the same through kz_record_page. A line may start with a settings file's text in UTF-8 ("|" for each
// line break) and a tab.
#include <iostream>
#include <string>
#include <vector>

#include "engine/Settings.h"
#include "platform/Platform.h"
#include "platform/RecordingCanvas.h"
#include "platform/ShiftJis.h"
#include "screen/ScreenPage.h"
#include "screen/SettingsFile.h"
#include "screen/sikiInp.h"
#include "screen/sikiInpCommands.h"
#include "typeset/bunCanvasDsp.h"

int main() {
  const int width = 800, height = 1200;
  std::string line;
  while (std::getline(std::cin, line)) {
    // Each line: settings text (with "\n" written as "|") and the keys, separated by a tab.
    std::string settings, keys = line;
    if (auto tab = line.find('\t'); tab != std::string::npos) {
      settings = line.substr(0, tab);
      keys = line.substr(tab + 1);
      for (char& c : settings)
        if (c == '|') c = '\n';
    }
    ResetSettings();
    ResetSettingsFile();
    std::string bytes;
    if (!settings.empty() && Utf8ToCp932(settings, bytes)) ReadSettingsBytes(bytes);
    ResetCalculationModules();
    ResetLineCommands();
    InstallLineCommands();
    RecordingCanvas c;
    LinePitch = GYOKEISUU;
    PrepareScreenSurface(c);
    ScreenSurface = nullptr;
    ScreenView = ScreenHooks{};
    ResetSikiInp();
    ScreenWidth = width;
    ScreenHeight = height;
    std::vector<KeyPress> presses;
    std::string error;
    if (!ParseKeySequence(keys, presses, error)) {
      std::cout << "error " << error << "\n--\n";
      continue;
    }
    for (const KeyPress& p : presses) KeyToInput(p.key, p.shift);
    if (LineOpen && !LineText.empty()) KeyToInput(VK_RIGHT, SHIFT_NONE);
    c.ClearOps();
    PaintPage(c, width, height);
    for (const std::string& d : c.Describe(true)) std::cout << d << "\n";
    std::cout << "--\n";
  }
  return 0;
}
