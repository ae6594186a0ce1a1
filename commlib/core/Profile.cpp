#include "commlib/core/Profile.h"

#include "commlib/core/MapFile.h"

#include <algorithm>
#include <sys/stat.h>

namespace commlib {

Profile DefaultProfile()
{
    return Profile{};
}

std::string ValidateProfile(const Profile& p)
{
    if (p.timeoutMs < 1 || p.timeoutMs > 60000)
        return "The timeout must be 1 to 60000 ms.";
    if (p.kind == LinkKind::Tcp) {
        if (p.host.empty())
            return "Enter the host name or address of the unit.";
        if (p.port < 1 || p.port > 65535)
            return "The TCP port must be 1 to 65535.";
        if ((p.unit < 0 || p.unit > 247) && p.unit != 255)
            return "The unit id must be 0 to 247, or 255.";
        if (p.parallel < 1 || p.parallel > kMaxParallel)
            return "The parallel requests must be 1 to " + std::to_string(kMaxParallel) + ".";
    } else {
        struct stat st {};
        if (p.serialDevice.empty() || stat(p.serialDevice.c_str(), &st) != 0 || !S_ISCHR(st.st_mode))
            return "The serial device \"" + p.serialDevice + "\" does not exist.";
        constexpr int kBauds[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
        bool baudOk = false;
        for (int b : kBauds)
            baudOk = baudOk || b == p.baud;
        if (!baudOk)
            return "The baud rate must be one of 1200, 2400, 4800, 9600, 19200, 38400, 57600 and 115200.";
        if (p.parity != 'N' && p.parity != 'E' && p.parity != 'O')
            return "The parity must be none, even or odd.";
        if (p.dataBits != 7 && p.dataBits != 8)
            return "The data bits must be 7 or 8.";
        if (p.stopBits != 1 && p.stopBits != 2)
            return "The stop bits must be 1 or 2.";
        if (p.unit < 1 || p.unit > 247)
            return "The unit address must be 1 to 247 on a serial line.";
    }
    if (p.family < -1 || p.family > 1)
        return "The declared protocol family must be none, 0 or 1.";
    if (p.model < 0 || p.model > 65535)
        return "The declared model id must be 0 to 65535.";
    if (p.family >= 0 && p.model == 0)
        return "A declared protocol family needs a declared model id.";
    if (!p.mapFile.empty()) {
        std::string error;
        if (!MapFile::Load(p.mapFile, error))
            return "The register map cannot be used: " + error;
        if (p.family < 0)
            return "A unit described by a register map file needs a declared protocol family and model.";
    }
    return {};
}

int ParallelRequests(const Profile& p)
{
    return p.kind == LinkKind::Rtu ? 1 : std::clamp(p.parallel, 1, kMaxParallel);
}

std::string DescribeProfile(const Profile& p)
{
    std::string text;
    if (p.kind == LinkKind::Tcp) {
        text = "Modbus TCP " + p.host + ":" + std::to_string(p.port);
    } else {
        text = "Modbus RTU " + p.serialDevice + " " + std::to_string(p.baud) + " " + std::to_string(p.dataBits)
               + p.parity + std::to_string(p.stopBits);
    }
    text += ", unit " + std::to_string(p.unit) + ", timeout " + std::to_string(p.timeoutMs) + " ms";
    if (!p.mapFile.empty())
        text += ", map " + p.mapFile;
    return text;
}

} // namespace commlib
