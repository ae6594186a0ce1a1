#include "codec/RowText.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <array>

namespace codec {
namespace {

// Bytes a single-byte page cannot show as a glyph: the C0 controls, DEL and
// whatever the page maps to a C1 control. Our platform has no ANSI code page
// of its own, so the text column shows these as '.', like the other bytes it
// cannot display, rather than as boxes or line breaks.
bool IsHidden(std::uint8_t byte, const platform::CodePage& page)
{
    if (byte < 0x20 || byte == 0x7F)
        return true;
    if (byte < 0x80)
        return false;
    const std::string text = page.ToUtf8(std::string(1, static_cast<char>(byte)));
    std::size_t pos = 0;
    const char32_t cp = text.empty() ? 0 : platform::NextUtf8(text, pos);
    return cp >= 0x80 && cp <= 0x9F;
}

std::string ShowableBytes(std::span<const std::uint8_t> bytes, const platform::CodePage& page)
{
    thread_local const platform::CodePage* cachedPage = nullptr;
    thread_local std::array<bool, 256> hidden{};
    if (cachedPage != &page) {
        for (int b = 0; b < 256; ++b)
            hidden[static_cast<std::size_t>(b)] = IsHidden(static_cast<std::uint8_t>(b), page);
        cachedPage = &page;
    }
    std::string shown;
    shown.reserve(bytes.size());
    for (const std::uint8_t byte : bytes)
        shown += hidden[byte] ? '.' : static_cast<char>(byte);
    return shown;
}

} // namespace

std::string RowText(std::span<const std::uint8_t> bytes, const platform::CodePage& page)
{
    if (!page.IsDoubleByte()) {
        const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
        return page.ToUtf8(ShowableBytes(bytes.subspan(0, static_cast<std::size_t>(end - bytes.begin())), page));
    }

    // Scanning from the start, a byte is a trail byte only right after a lead
    // byte; anywhere else it is read as a character of its own, or as '.' when
    // the page has no character for it.
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
            shown += page.IsSingleByteChar(byte) ? static_cast<char>(byte) : '.';
        }
    }
    return page.ToUtf8(shown);
}

} // namespace codec
