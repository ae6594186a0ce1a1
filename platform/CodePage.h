#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The "ANSI" code page of the machine: how single bytes of data files, CSV files
// and the grid's text column turn into text (UTF-8 inside the program) and back.
class CodePage {
public:
    virtual ~CodePage() = default;

    // True for a double-byte character set, whose characters may take two bytes.
    virtual bool IsDoubleByte() const = 0;
    virtual bool IsLeadByte(std::uint8_t byte) const = 0;
    virtual bool IsTrailByte(std::uint8_t byte) const = 0;
    // True for a byte that is a character on its own; a double-byte page may
    // leave some bytes undefined.
    virtual bool IsSingleByteChar(std::uint8_t byte) const { return !IsLeadByte(byte); }

    virtual std::string ToUtf8(std::string_view bytes) const = 0;
    // Characters the code page cannot hold become its default character '?'.
    virtual std::string FromUtf8(std::string_view text) const = 0;
};

// Windows-1252: ASCII unchanged, the Latin-1 letters, the typographic signs at 0x80-0x9F.
class Windows1252CodePage final : public CodePage {
public:
    bool IsDoubleByte() const override { return false; }
    bool IsLeadByte(std::uint8_t) const override { return false; }
    bool IsTrailByte(std::uint8_t) const override { return false; }
    std::string ToUtf8(std::string_view bytes) const override;
    std::string FromUtf8(std::string_view text) const override;
};

// The code page the program uses; Windows-1252 unless replaced (tests may).
const CodePage& AnsiCodePage();
void SetAnsiCodePage(const CodePage* page);

// UTF-8 helpers shared by the code pages.
void AppendUtf8(std::string& out, char32_t codePoint);
// Decodes one code point at pos and advances pos; a malformed sequence gives U+FFFD.
char32_t NextUtf8(std::string_view text, std::size_t& pos);

} // namespace platform
