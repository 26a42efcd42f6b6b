// Reads and writes the settings file "Kazoru1.ini" (Shift_JIS INI text) into and from the settings
// variables of engine/Settings.h. The window code calls ReadSettings once at start, WriteChangedSettings a
// moment after a setting changed and WriteSettings at exit; it copies the window's position and size into
// MAINTOP … MAINWIDTH before writing at exit and takes them from there after reading.
//
// Where the file lives: beside the executable when a copy is there (a portable installation), otherwise
// in the user's configuration folder ($XDG_CONFIG_HOME/kazoru, by default ~/.config/kazoru). When the
// copy beside the executable cannot be written, the configuration folder takes the file instead and, from
// then on, is the one read.
#pragma once

#include <string>
#include <string_view>

inline constexpr const char* SETTINGS_FILE_NAME = "Kazoru1.ini";

// The folders the file is looked for in. Empty strings mean the defaults (the running executable's
// folder; the configuration folder of the environment). Tests point both at temporary folders.
void SetSettingsFolders(const std::string& exeDir, const std::string& configDir);
std::string SettingsExeDir();
std::string SettingsConfigDir();

// The file ReadSettings reads and the one WriteSettings writes first.
std::string SettingsReadPath();
std::string SettingsWritePath();

// Sets every stored setting from the file, or to its default where the file, its section or the key is
// missing. The settings that are not stored keep their values. Values are brought into the ranges the
// controls keep them in. A value with bytes that are not Shift_JIS keeps its default and the pupil is told
// once. Returns false when there was no readable file (all stored settings then hold their defaults).
bool ReadSettings();
bool ReadSettingsFrom(const std::string& path);
// The same over the bytes of a settings file (for tests and fuzzing); never fails.
void ReadSettingsBytes(std::string_view bytes);

// Writes every stored setting in the file's order, keeping the keys, sections and comments of the old file
// that are not ours, through a temporary file renamed over the old one. A file that cannot be written is
// reported to the pupil once per run; returns false then.
bool WriteSettings();
// Writes to this path without any message; false on failure. base is the old file whose foreign keys are
// kept (the path itself when empty).
bool WriteSettingsTo(const std::string& path, const std::string& base = "");
// The bytes WriteSettingsTo would write over the old file's bytes.
std::string SettingsFileBytes(std::string_view oldBytes);

// Whether a stored setting differs from what was last read or written in this run (false before the
// settings were read or written at all).
bool SettingsChangedSinceWritten();
// Writes the settings (as WriteSettings) when a stored setting changed since they were last read or
// written, so that a change survives a program that is killed; true when it wrote them.
bool WriteChangedSettings();

// Forgets the folders set, whether a failure was already reported and the settings last read or written.
void ResetSettingsFile();
