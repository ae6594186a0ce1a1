#include "resources/FormatText.h"

#include <gtest/gtest.h>

TEST(FormatText, PrintfConversionsWithWidthsAndFlags)
{
    EXPECT_EQ(FormatText("Bank %d", {2}), "Bank 2");
    EXPECT_EQ(FormatText("%s%6d", {"DT", 16}), "DT    16");
    EXPECT_EQ(FormatText(" %-6s %6d-%6d  (%-d - %6d)", {"WR", 0, 99, 0, 511}), " WR          0-    99  (0 -    511)");
    EXPECT_EQ(FormatText("%04X|%x|%o|%u", {0x2A, 255, 8, 7}), "002A|ff|10|7");
    EXPECT_EQ(FormatText("%.2f %e", {1.5, 100.0}), "1.50 1.000000e+02");
    EXPECT_EQ(FormatText("100%% done%c", {'!'}), "100% done!");
    EXPECT_EQ(FormatText("%I64d and %lld", {1LL << 40, -3}), "1099511627776 and -3");
    EXPECT_EQ(FormatText("%*d", {5, 42}), "   42");
}

TEST(FormatText, MismatchedOrMissingArgumentsNeverReadGarbage)
{
    EXPECT_EQ(FormatText("%s and %d"), " and 0");
    EXPECT_EQ(FormatText("%d", {"text"}), "0");
    EXPECT_EQ(FormatText("%s", {42}), "");
    EXPECT_EQ(FormatText("%d %d", {1}), "1 0");
    EXPECT_EQ(FormatText("%n%p", {1}), "%n%p") << "unknown conversions are printed as written";
    EXPECT_EQ(FormatText("trailing %"), "trailing %");
}

TEST(FormatText, AbsurdWidthsAreCutInsteadOfAllocated)
{
    const std::string text = FormatText("%999999999999d|", {1});
    EXPECT_LT(text.size(), 1'000'000'000u);
    EXPECT_EQ(text.back(), '|');
}
