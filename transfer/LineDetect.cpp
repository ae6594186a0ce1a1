#include "transfer/LineDetect.h"

#include "contract/CommExports.h"

#include <array>

DetectedLine DetectLine(std::uint16_t connection, bool save)
{
    DetectedLine result;
    comm::LineSettings found{};
    std::array<char, comm::kErrorTextSize> message{};
    result.code =
        QelTeskCMSet_DetectLine(connection, &found, save ? 1 : 0, message.data(), static_cast<int>(message.size()));
    result.message = message.data();
    if (result.Found()) {
        result.baud = found.baud;
        result.dataBits = found.dataBits;
        result.parity = found.parity == 1 ? 'O' : found.parity == 2 ? 'E' : 'N';
        result.stopBits = found.stopBits;
    }
    return result;
}
