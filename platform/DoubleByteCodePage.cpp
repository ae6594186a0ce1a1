#include "platform/DoubleByteCodePage.h"

#include <iconv.h>

#include <cerrno>

namespace platform {
namespace {

// One conversion through iconv; empty when the input is not a whole character
// of the source encoding.
class Converter {
public:
    Converter(const char* to, const char* from)
        : m_handle(iconv_open(to, from))
    {
    }
    ~Converter()
    {
        if (Ok())
            iconv_close(m_handle);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Ok() const { return m_handle != reinterpret_cast<iconv_t>(-1); }

    std::string Convert(std::string_view input) const
    {
        iconv(m_handle, nullptr, nullptr, nullptr, nullptr);
        std::string in(input);
        char out[16];
        char* inPtr = in.data();
        std::size_t inLeft = in.size();
        char* outPtr = out;
        std::size_t outLeft = sizeof out;
        if (iconv(m_handle, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
            return {};
        // A shift state (none of our pages has one) would flush here.
        if (iconv(m_handle, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
            return {};
        return std::string(out, static_cast<std::size_t>(outPtr - out));
    }

private:
    iconv_t m_handle;
};

char32_t FromUtf32le(const std::string& bytes)
{
    if (bytes.size() != 4)
        return 0;
    char32_t cp = 0;
    for (int i = 3; i >= 0; --i)
        cp = (cp << 8) | static_cast<std::uint8_t>(bytes[static_cast<std::size_t>(i)]);
    return cp;
}

std::string ToUtf32le(char32_t cp)
{
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>((cp >> (8 * i)) & 0xFF);
    return bytes;
}

} // namespace

std::unique_ptr<DoubleByteCodePage> DoubleByteCodePage::Make(const Layout& layout)
{
    const Converter decoder("UTF-32LE", layout.iconvName);
    const Converter encoder(layout.iconvName, "UTF-32LE");
    if (!decoder.Ok() || !encoder.Ok())
        return nullptr;

    std::unique_ptr<DoubleByteCodePage> page(new DoubleByteCodePage);
    page->m_number = layout.number;
    page->m_defaultChar = layout.number == 932 ? char32_t{0x30FB} : U'?';
    for (const auto& [first, last] : layout.leads)
        for (int b = first; b <= last; ++b)
            page->m_lead[static_cast<std::size_t>(b)] = true;
    for (const auto& [first, last] : layout.trails)
        for (int b = first; b <= last; ++b)
            page->m_trail[static_cast<std::size_t>(b)] = true;

    // Decoding: every single byte that is no lead byte, and every lead-trail pair.
    std::vector<char32_t> decoded;
    for (int b = 1; b < 256; ++b) {
        if (page->m_lead[static_cast<std::size_t>(b)])
            continue;
        page->m_single[static_cast<std::size_t>(b)] =
            FromUtf32le(decoder.Convert(std::string(1, static_cast<char>(b))));
        if (page->m_single[static_cast<std::size_t>(b)] != 0)
            decoded.push_back(page->m_single[static_cast<std::size_t>(b)]);
    }
    page->m_pairs.assign(256 * 256, 0);
    for (int lead = 0x80; lead < 256; ++lead) {
        if (!page->m_lead[static_cast<std::size_t>(lead)])
            continue;
        for (int trail = 0x40; trail < 256; ++trail) {
            if (!page->m_trail[static_cast<std::size_t>(trail)])
                continue;
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            const char32_t cp = FromUtf32le(decoder.Convert(std::string_view(pair, 2)));
            page->m_pairs[static_cast<std::size_t>(lead * 256 + trail)] = cp;
            if (cp != 0)
                decoded.push_back(cp);
        }
    }

    // Encoding: iconv's own choice for each character the page can show, so
    // that characters with two byte forms get the one Windows writes.
    for (const char32_t cp : decoded) {
        if (page->m_encode.count(cp) != 0)
            continue;
        const std::string bytes = encoder.Convert(ToUtf32le(cp));
        if (bytes.size() == 1)
            page->m_encode.emplace(cp, static_cast<std::uint8_t>(bytes[0]));
        else if (bytes.size() == 2)
            page->m_encode.emplace(cp, static_cast<std::uint16_t>((static_cast<std::uint8_t>(bytes[0]) << 8)
                                                                  | static_cast<std::uint8_t>(bytes[1])));
    }
    page->m_encode[0] = 0;
    return page;
}

char32_t DoubleByteCodePage::Decode(std::uint8_t lead, std::uint8_t trail) const
{
    return m_pairs[static_cast<std::size_t>(lead) * 256 + trail];
}

std::string DoubleByteCodePage::ToUtf8(std::string_view bytes) const
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(bytes[i]);
        if (byte == 0) {
            out += '\0';
        } else if (m_lead[byte]) {
            if (i + 1 < bytes.size() && m_trail[static_cast<std::uint8_t>(bytes[i + 1])]) {
                const char32_t cp = Decode(byte, static_cast<std::uint8_t>(bytes[++i]));
                AppendUtf8(out, cp != 0 ? cp : m_defaultChar);
            } else {
                AppendUtf8(out, m_defaultChar);
            }
        } else {
            const char32_t cp = m_single[byte];
            AppendUtf8(out, cp != 0 ? cp : m_defaultChar);
        }
    }
    return out;
}

std::string DoubleByteCodePage::FromUtf8(std::string_view text) const
{
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto found = m_encode.find(NextUtf8(text, pos));
        if (found == m_encode.end()) {
            out += '?';
        } else if (found->second > 0xFF) {
            out += static_cast<char>(found->second >> 8);
            out += static_cast<char>(found->second & 0xFF);
        } else {
            out += static_cast<char>(found->second);
        }
    }
    return out;
}

} // namespace platform
