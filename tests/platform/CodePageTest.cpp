#include "platform/CodePage.h"

#include <gtest/gtest.h>

using platform::AnsiCodePage;

TEST(CodePage, AsciiIsUnchangedBothWays)
{
    std::string ascii;
    for (int c = 1; c < 0x80; ++c)
        ascii += static_cast<char>(c);
    EXPECT_EQ(AnsiCodePage().ToUtf8(ascii), ascii);
    EXPECT_EQ(AnsiCodePage().FromUtf8(ascii), ascii);
}

TEST(CodePage, EveryByteSurvivesTheRoundTrip)
{
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(AnsiCodePage().FromUtf8(AnsiCodePage().ToUtf8(byte)), byte) << "byte " << b;
    }
}

TEST(CodePage, Windows1252Letters)
{
    EXPECT_EQ(AnsiCodePage().ToUtf8("\x80"), "\u20AC");
    EXPECT_EQ(AnsiCodePage().ToUtf8("\xE4\xF6\xFC\xDF"), "\u00E4\u00F6\u00FC\u00DF");
    EXPECT_EQ(AnsiCodePage().ToUtf8("\x9F"), "\u0178");
    EXPECT_EQ(AnsiCodePage().FromUtf8("\u20AC \u00E9"), "\x80 \xE9");
}

TEST(CodePage, UnmappableAndMalformedTextBecomesQuestionMarks)
{
    EXPECT_EQ(AnsiCodePage().FromUtf8("a\u4E2Db"), "a?b");
    EXPECT_EQ(AnsiCodePage().FromUtf8("x\xC3"), "x?");    // cut-off sequence
    EXPECT_EQ(AnsiCodePage().FromUtf8("\xFF\xFE"), "??"); // not UTF-8 at all
    EXPECT_EQ(AnsiCodePage().FromUtf8("\U0001F600"), "?");
}
