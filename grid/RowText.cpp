#include "grid/RowText.h"

#include <algorithm>

namespace codec {

std::string RowText(std::span<const std::uint8_t> bytes, const platform::CodePage& page)
{
    if (!page.IsDoubleByte()) {
        const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
        return page.ToUtf8(std::string(bytes.begin(), end));
    }

    // Scanning from the start, a byte is a trail byte only right after a lead
    // byte; anywhere else it is read as a character of its own.
    std::string shown;
    shown.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::uint8_t byte = bytes[i];
        if (byte == 0) {
            shown += '.';
        } else if (page.IsLeadByte(byte)) {
            if (i + 1 < bytes.size() && page.IsTrailByte(bytes[i + 1])) {
                shown += static_cast<char>(byte);
                shown += static_cast<char>(bytes[++i]);
            } else {
                shown += '.';
            }
        } else {
            shown += static_cast<char>(byte);
        }
    }
    return page.ToUtf8(shown);
}

} // namespace codec
