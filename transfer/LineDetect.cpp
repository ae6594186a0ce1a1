#include "transfer/LineDetect.h"

#include "transfer/CommLibraries.h"

#include <array>

DetectedLine DetectLine(std::uint16_t connection, bool save)
{
    DetectedLine result;
    const transfer::CommExports* exports = transfer::LoadCommExports(result.message);
    if (!exports) {
        result.code = transfer::kLibrariesNotSetUp;
        return result;
    }
    comm::LineSettings found{};
    std::array<char, comm::kErrorTextSize> message{};
    result.code =
        exports->detectLine(connection, &found, save ? 1 : 0, message.data(), static_cast<int>(message.size()));
    result.message = message.data();
    if (result.Found()) {
        result.baud = found.baud;
        result.dataBits = found.dataBits;
        result.parity = found.parity == 1 ? 'O' : found.parity == 2 ? 'E' : 'N';
        result.stopBits = found.stopBits;
    }
    return result;
}
