#pragma once

#include <string>
#include <sys/types.h>

namespace platform {

// Why a file could not be opened: the errno and the text to show.
struct FileFailure {
    int number = 0;
    std::string text;
};

// Opens path with open(2)'s flags and mode, but only when it is a regular file.
// A named pipe would block the open (and every read) until some other program
// writes to it, and a device such as /dev/zero never ends, so neither is
// opened for real: the open does not wait, and anything other than a regular
// file is closed again with a text that says what the path is. The descriptor
// comes back blocking, as a plain open would give it; -1 with failure set.
int OpenRegularFile(const std::string& path, int flags, mode_t mode, FileFailure& failure);

// "It is a named pipe (FIFO), not a file" and the like; empty for a regular file.
std::string NotAFileText(mode_t mode);

// The system's text for an errno, put plainly where the bare text misleads
// (a loop of symbolic links, a read-only file system, a full disk).
std::string FileErrorText(int number);

} // namespace platform
