#include "platform/CodePages.h"

#include <gtest/gtest.h>

using platform::CodePageByNumber;

namespace {

const platform::CodePage& ShiftJis()
{
    const platform::CodePage* page = CodePageByNumber(platform::kCodePageJapanese);
    if (page == nullptr)
        throw std::runtime_error("the system's iconv has no CP932");
    return *page;
}

} // namespace

// "日本語" is 93 FA 96 7B 8C EA; half-width katakana are single bytes A1-DF.
TEST(ShiftJisCodePage, KanjiKanaAndAsciiBothWays)
{
    const platform::CodePage& page = ShiftJis();
    EXPECT_TRUE(page.IsDoubleByte());
    EXPECT_EQ(page.ToUtf8("\x93\xFA\x96\x7B\x8C\xEA"), "日本語");
    EXPECT_EQ(page.FromUtf8("日本語"), "\x93\xFA\x96\x7B\x8C\xEA");
    EXPECT_EQ(page.ToUtf8("\xB1\xB2\xB3"), "ｱｲｳ");
    EXPECT_EQ(page.FromUtf8("ｱｲｳ"), "\xB1\xB2\xB3");
    EXPECT_EQ(page.FromUtf8("A-1 ひらがな"), "A-1 \x82\xD0\x82\xE7\x82\xAA\x82\xC8");
    // 0x5C is the backslash a Windows program writes, and the wave dash of
    // Windows is U+FF5E, not U+301C.
    EXPECT_EQ(page.ToUtf8("\x5C"), "\\");
    EXPECT_EQ(page.ToUtf8("\x81\x60"), "～");
    EXPECT_EQ(page.FromUtf8("～"), "\x81\x60");
    // A character with two byte forms is written in the form Windows writes:
    // the IBM extension rather than its NEC-selected copy, the JIS symbol
    // rather than the NEC one.
    EXPECT_EQ(page.FromUtf8(page.ToUtf8("\xEE\xEF")), "\xFA\x40");
    EXPECT_EQ(page.FromUtf8(page.ToUtf8("\x87\x90")), "\x81\xE0");
}

TEST(ShiftJisCodePage, ByteClassesAndBrokenBytes)
{
    const platform::CodePage& page = ShiftJis();
    EXPECT_TRUE(page.IsLeadByte(0x81));
    EXPECT_TRUE(page.IsLeadByte(0xE0));
    EXPECT_FALSE(page.IsLeadByte(0xB1)); // half-width katakana
    EXPECT_FALSE(page.IsLeadByte(0x41));
    EXPECT_TRUE(page.IsTrailByte(0x40));
    EXPECT_FALSE(page.IsTrailByte(0x7F));
    EXPECT_TRUE(page.IsSingleByteChar(0xB1));
    EXPECT_FALSE(page.IsSingleByteChar(0x93));
    // A lone lead byte and a lead byte before a non-trail byte give the page's
    // default character; what follows is read on its own.
    EXPECT_EQ(page.ToUtf8("A\x93"), "A・");
    EXPECT_EQ(page.ToUtf8("\x93\x0A"
                          "B"),
              "・\nB");
    // Characters outside the page become '?', one per character.
    EXPECT_EQ(page.FromUtf8("a€😀b"), "a??b");
    EXPECT_EQ(page.FromUtf8("x\xC3"), "x?");
}

TEST(DoubleByteCodePages, ChineseAndKoreanPagesWhereTheSystemHasThem)
{
    const struct {
        int number;
        const char* bytes;
        const char* text;
    } cases[] = {
        {936, "\xD6\xD0\xCE\xC4", "中文"},
        {950, "\xA4\xA4\xA4\xE5", "中文"},
        {949, "\xC7\xD1\xB1\xDB", "한글"},
    };
    for (const auto& c : cases) {
        const platform::CodePage* page = CodePageByNumber(c.number);
        ASSERT_NE(page, nullptr) << c.number;
        EXPECT_EQ(page->ToUtf8(c.bytes), c.text) << c.number;
        EXPECT_EQ(page->FromUtf8(c.text), c.bytes) << c.number;
    }
    EXPECT_EQ(CodePageByNumber(437), nullptr);
    EXPECT_FALSE(platform::SelectAnsiCodePage(437));
    EXPECT_EQ(platform::AnsiCodePageNumber(), platform::kCodePageWestern);
}
