// QelTeskCMSet_DetectLine: the settings dialog's "Detect line settings" for
// a caller without windows, such as the command line. The scan itself is the
// dialog's; only the profile comes from the store rather than the editor.

#include "commlib/core/CommErrors.h"
#include "commlib/core/ProfileStore.h"
#include "commlib/core/Session.h"
#include "commlib/settings/LineDetection.h"

#include "contract/CommExports.h"

#include <algorithm>
#include <cstring>
#include <string>

using namespace commlib;

namespace {

void CopyMessage(const std::string& text, char* message, int size)
{
    if (!message || size <= 0)
        return;
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(size) - 1);
    std::memcpy(message, text.data(), length);
    message[length] = '\0';
}

int Refuse(int code, const std::string& detail, char* message, int size)
{
    CopyMessage(ErrorMessage(code, DefaultLanguage()) + detail, message, size);
    return code;
}

} // namespace

QELTESK_API int QelTeskCMSet_DetectLine(std::uint16_t connection, comm::LineSettings* found, int save, char* message,
                                        int size)
{
    if (!found)
        return Refuse(Err::BadArgument, "", message, size);
    const auto profile = ProfileStore::Load(connection);
    if (!profile)
        return Refuse(Err::NoProfile, " (" + std::to_string(connection) + ")", message, size);

    const LineDetection detection = DetectLineSettings(connection, *profile);
    CopyMessage(detection.message, message, size);
    if (!detection.found)
        return detection.code != 0 ? detection.code : Err::BadArgument; // never 0 without a line
    const Profile& line = detection.profile;
    found->baud = line.baud;
    found->dataBits = line.dataBits;
    found->parity = line.parity == 'O' ? 1 : line.parity == 'E' ? 2 : 0;
    found->stopBits = line.stopBits;
    // Only the line changes: the scan ran on the stored profile, so its other
    // fields are the ones stored.
    if (save)
        ProfileStore::Save(connection, line);
    return 0;
}
