// The settings variables and their defaults (the values a missing settings file gives).
#include "engine/Settings.h"

// Every member holds its default from the start, so code that runs before the first reset (static
// initialisation of other modules, a forgotten reset in a tool) still sees sound values.
SettingsState SettingsData;

void SettingsState::Reset() { *this = SettingsState{}; }

void ResetSettings() { SettingsData.Reset(); }
