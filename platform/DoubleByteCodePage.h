#pragma once

#include "platform/CodePage.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

// A double-byte "ANSI" code page of the kind East Asian Windows machines use
// (932 Shift_JIS, 936 GBK, 949 Unified Hangul, 950 Big5). The system's iconv
// supplies the character mapping once, when the page is made; conversions then
// go through the tables built from it and need no further system calls.
class DoubleByteCodePage final : public CodePage {
public:
    // The byte ranges of a page: lead bytes and trail bytes as inclusive pairs.
    struct Layout {
        int number;
        const char* iconvName;
        std::vector<std::pair<std::uint8_t, std::uint8_t>> leads;
        std::vector<std::pair<std::uint8_t, std::uint8_t>> trails;
    };

    // Null when the system's iconv lacks the page.
    static std::unique_ptr<DoubleByteCodePage> Make(const Layout& layout);

    int Number() const { return m_number; }

    bool IsDoubleByte() const override { return true; }
    bool IsLeadByte(std::uint8_t byte) const override { return m_lead[byte]; }
    bool IsTrailByte(std::uint8_t byte) const override { return m_trail[byte]; }
    bool IsSingleByteChar(std::uint8_t byte) const override { return byte == 0 || m_single[byte] != 0; }
    // Bytes the page does not define (a lone lead byte, an unassigned pair)
    // become U+30FB on page 932 and '?' on the others, as Windows shows them.
    std::string ToUtf8(std::string_view bytes) const override;
    std::string FromUtf8(std::string_view text) const override;

private:
    DoubleByteCodePage() = default;

    char32_t Decode(std::uint8_t lead, std::uint8_t trail) const;

    int m_number = 0;
    char32_t m_defaultChar = U'?';
    std::array<bool, 256> m_lead{};
    std::array<bool, 256> m_trail{};
    std::array<char32_t, 256> m_single{};                 // 0: not a character of its own
    std::vector<char32_t> m_pairs;                        // lead * 256 + trail; 0: unassigned
    std::unordered_map<char32_t, std::uint16_t> m_encode; // one or two bytes, the lead byte high
};

} // namespace platform
