#include "CodecTestSupport.h"

#include "platform/CodePage.h"
#include "platform/CodePages.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace codec;
using Bytes = std::vector<std::uint8_t>;

namespace {

// A small double-byte code page: lead bytes 0x81-0x9F, trail bytes 0x40-0xFC.
// A pair shows as <LLTT>, an ASCII byte as itself, any other byte as '?'.
class FakeDoubleBytePage final : public platform::CodePage {
public:
    bool IsDoubleByte() const override { return true; }
    bool IsLeadByte(std::uint8_t b) const override { return b >= 0x81 && b <= 0x9F; }
    bool IsTrailByte(std::uint8_t b) const override { return b >= 0x40 && b <= 0xFC; }
    std::string ToUtf8(std::string_view bytes) const override
    {
        std::string text;
        char pair[8];
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const auto b = static_cast<std::uint8_t>(bytes[i]);
            if (IsLeadByte(b) && i + 1 < bytes.size()) {
                std::snprintf(pair, sizeof pair, "<%02X%02X>", b, static_cast<std::uint8_t>(bytes[++i]));
                text += pair;
            } else {
                text += b < 0x80 ? static_cast<char>(b) : '?';
            }
        }
        return text;
    }
    std::string FromUtf8(std::string_view text) const override { return std::string(text); }
};

class CodecRowText : public testing::Test {
protected:
    void TearDown() override { platform::SetAnsiCodePage(m_previous); }
    const platform::CodePage* m_previous = &platform::AnsiCodePage();
};

} // namespace

TEST_F(CodecRowText, SingleBytePage)
{
    const struct {
        Bytes bytes;
        const char* text;
    } cases[] = {
        {{'A', 'B', 0x01, 'C', 0x7F, 0x0A, 0x81}, "AB.C..."}, // bytes without a glyph show as '.'
        {{'A', 0x00, 'B'}, "A"},                              // the text ends at a zero byte
        {{0x00, 'A'}, ""},
        {{}, ""},
        {{0xE9, 0x80, 0xFF}, "\xC3\xA9\xE2\x82\xAC\xC3\xBF"}, // e acute, euro sign, y diaeresis
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatRowText(c.bytes), c.text);
}

TEST_F(CodecRowText, DoubleBytePage)
{
    static const FakeDoubleBytePage page;
    platform::SetAnsiCodePage(&page);
    const struct {
        Bytes bytes;
        const char* text;
    } cases[] = {
        {{'A', 0x88, 0x9F, 'B'}, "A<889F>B"}, {{'A', 0x88}, "A."}, // lead byte at the end of the row
        {{0x88, 0x30, 'x'}, ".0x"},                                // lead byte without a trail byte
        {{0x88, 0x88, 0x40}, "<8888>@"},                           // a lead byte can be a trail byte
        {{0x40, 0x88, 0x41}, "@<8841>"},                           // a trail byte alone is a character of its own
        {{0x00, 'A', 0x00, 0x00}, ".A.."},                         // zero bytes become dots and do not end the text
        {{0x88, 0x00, 0x41}, "..A"},          {{0x01, 0xA0}, "\x01?"}, {{}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatRowText(c.bytes), c.text);
}

// Rows as a Japanese Windows program writes them into PLC memory.
TEST_F(CodecRowText, ShiftJisRows)
{
    ASSERT_TRUE(platform::SelectAnsiCodePage(platform::kCodePageJapanese));
    const struct {
        Bytes bytes;
        const char* text;
    } cases[] = {
        {{0x93, 0xFA, 0x96, 0x7B, 0x8C, 0xEA, 0x00, 0x00}, "日本語.."}, // kanji, then zero bytes
        {{0xB1, 0xB2, 'A', 'B'}, "ｱｲAB"},                               // half-width katakana
        {{'A', 'B', 'C', 0x93}, "ABC."},                                // a lone lead byte at the row end
        {{0x93, ' ', 'A'}, ". A"},                                      // a lead byte without a trail byte
        {{0x40, 0x93, 0xFA, 0x30}, "@日0"},                             // a trail byte first is a character
        {{0x7B, 0x8C, 0xEA}, "{語"},                                    // the row starts with the trail byte of 本
        {{0x80, 0x93, 0xFA, 0xFD}, ".日."},                             // bytes the page does not define
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatRowText(c.bytes), c.text);
    platform::SelectAnsiCodePage(platform::kCodePageWestern);
}
