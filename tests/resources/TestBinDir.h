#pragma once

#include <cstdlib>
#include <string>

// The folder of the executables and the language library: MEMORIX_BIN_DIR as
// CTest sets it, else the build's own, so the test program also runs by hand.
inline std::string TestBinDir()
{
    if (const char* dir = std::getenv("MEMORIX_BIN_DIR"); dir != nullptr && *dir != '\0')
        return dir;
    return MEMORIX_DEFAULT_BIN_DIR;
}
