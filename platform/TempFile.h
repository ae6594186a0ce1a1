#pragma once

#include <string>

namespace platform {

// The user's folder for temporary files (TMPDIR, else /tmp).
std::string TempFolder();

// Creates a new, empty, uniquely named file "<prefix>XXXXXX.tmp" in the folder and
// returns its full path; empty when no file could be made.
std::string CreateTempFileName(const std::string& folder, const std::string& prefix);

} // namespace platform
