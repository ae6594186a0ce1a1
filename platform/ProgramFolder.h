#pragma once

#include <string>

namespace platform {

// The folder of the running executable, without a trailing separator.
// Empty when it cannot be determined.
std::string ProgramFolder();

} // namespace platform
