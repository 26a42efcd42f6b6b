// Feeds arbitrary bytes to the settings file reader and writer: nothing may crash, every setting read
// stays in its range, and a file written from the settings read back gives the same settings and the same
// file again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/Settings.h"
#include "platform/Platform.h"
#include "screen/SettingsFile.h"
#include "tools/ProgramState.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static RecordingPlatform platform;
  SetPlatform(&platform);
  platform.Clear();
  ResetProgramState();
  std::string bytes(reinterpret_cast<const char*>(data), size);

  ReadSettingsBytes(bytes);
  if (MOKU_SOUSUU < 0 || MOKU_SOUSUU > MOKUHYOU_MAX || SIKI_SOUSUU < 0 || SIKI_SOUSUU > SIKI_MAX)
    std::abort();
  if (CURSOLTEMPO < 200 || GYOKEISUU < 1 || FONTSIZE < 6 || ANSSYU < 0 || ANSSYU > 2) std::abort();
  if (DSPBANGOU < 0 || (MOKU_SOUSUU > 0 && DSPBANGOU >= MOKU_SOUSUU)) std::abort();

  std::string first = SettingsFileBytes(bytes);
  ReadSettingsBytes(first);
  std::string second = SettingsFileBytes(first);
  if (first != second) std::abort();
  return 0;
}
