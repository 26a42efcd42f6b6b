// Writing a file so that an interrupted or failed write never leaves it truncated: the bytes go to a
// temporary file in the same folder, are flushed to the device, and the temporary file is renamed over
// the old one. The settings file and the notebook files are written this way.
#pragma once

#include <string>

// Returns false (the old file untouched, the temporary file removed) when any step fails. The old file's
// permissions are kept; a new file gets the usual ones.
bool WriteAtomically(const std::string& path, const std::string& bytes);
