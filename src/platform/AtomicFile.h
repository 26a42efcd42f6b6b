// Writing a file so that an interrupted or failed write never leaves it truncated: the bytes go to a
// temporary file in the same folder, are flushed to the device, and the temporary file is renamed over
// the old one. The settings file, the notebook files and the printed PDF files are written this way.
#pragma once

#include <string>

// Returns false (the old file untouched, the temporary file removed) when any step fails. The old file's
// permissions are kept; a new file gets the usual ones.
bool WriteAtomically(const std::string& path, const std::string& bytes);

// The same in two steps, for writers that need a file name rather than bytes (a PDF printer).
// CreateTemporaryBeside makes a new empty file in path's folder, named path + ".XXXXXX" + suffix, with
// the permissions path has (or the usual ones for a new file); it returns its name, or "" when the
// folder cannot take it. ReplaceWithTemporary flushes the written temporary file to the device and
// renames it over path; on failure it removes the temporary file and leaves path as it was.
std::string CreateTemporaryBeside(const std::string& path, const std::string& suffix = "");
bool ReplaceWithTemporary(const std::string& temporary, const std::string& path);
