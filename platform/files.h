#pragma once
// Files seam. Paths are composed with '\' as in the player's world; the POSIX layer maps '\'
// to '/' when it opens a file.

#include <string>

namespace files {

// Reads the whole file; false when it is missing or cannot be read (a folder, no access).
bool ReadAll(const std::string& path, std::string& out);
// Writes a temporary file beside the target and renames it over the target, so that a failure
// never leaves a half-written file. False on any failure (the target is then unchanged).
bool WriteReplacing(const std::string& path, const std::string& data);
// Creates a folder (one level); true when it exists afterwards.
bool MakeFolder(const std::string& path);

}  // namespace files
