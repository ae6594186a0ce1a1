#pragma once

// "Detect line settings" of the settings dialog: runs the auto-setting
// library (QelPortavo, beside these libraries) on a serial profile and
// returns the baud rate, parity and data bits under which its unit answered.

#include "commlib/core/Profile.h"

#include <string>

namespace commlib {

struct LineDetection {
    bool found = false;
    Profile profile;     // the profile with the line that answered
    std::string message; // what happened, for the dialog
    int code = 0;        // when not found: the scan's result, or the libraries' code
};

// connection: the profile's number, which is also the port's. The profile is
// stored for the time of the scan (the scan reads it from the store) and the
// stored one put back afterwards; the caller keeps what was found.
LineDetection DetectLineSettings(int connection, const Profile& profile);

} // namespace commlib
