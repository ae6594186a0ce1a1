#pragma once

// The serial line settings under which the unit of a connection answers, as
// the communication libraries' scan finds them without a window; the command
// line's plc-detect. Saving puts them into the connection's profile.

#include <cstdint>
#include <string>

struct DetectedLine {
    int code = 0;        // 0 found, else the libraries' code
    std::string message; // the libraries' words, found or not
    int baud = 0;        // bit/s
    int dataBits = 0;
    char parity = 'N'; // N, O or E
    int stopBits = 0;

    bool Found() const { return code == 0; }
};

DetectedLine DetectLine(std::uint16_t connection, bool save);
