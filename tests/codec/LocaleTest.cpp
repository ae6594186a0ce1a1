#include "CodecTestSupport.h"

#include <gtest/gtest.h>

#include <clocale>

using namespace codec;
using codectest::Bits;
using codectest::Format;

// Numbers are read and written with '.' whatever the user's locale says.
TEST(CodecLocale, GermanLocaleKeepsThePoint)
{
    const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "de_DE@euro"};
    const char* chosen = nullptr;
    for (const char* name : names) {
        if (std::setlocale(LC_ALL, name)) {
            chosen = name;
            break;
        }
    }
    if (!chosen)
        GTEST_SKIP() << "no German locale installed";
    ASSERT_EQ(*std::localeconv()->decimal_point, ',');

    std::uint64_t value = 0;
    EXPECT_EQ(ParseRealText("1.5", RADIX_FLOAT, value), PARSE_OK);
    EXPECT_EQ(value, Bits(1.5f));
    EXPECT_EQ(ParseRealText("1,5", RADIX_DOUBLE, value), PARSE_BAD_TEXT);
    EXPECT_EQ(Format(Bits(1.5f), RADIX_FLOAT, UNIT_32BIT), "1.5");
    EXPECT_EQ(Format(Bits(-1234.5678), RADIX_DOUBLE, UNIT_64BIT), "-1234.5678");
    EXPECT_EQ(Format(Bits(3.4028235e38), RADIX_DOUBLE, UNIT_64BIT), "3.40282350000000e+38");
    std::vector<std::uint8_t> cell;
    EXPECT_TRUE(ParseCellText("-1234", RADIX_DEC, UNIT_32BIT, cell));
    EXPECT_EQ(Format(0xFFFFFB2E, RADIX_DEC, UNIT_32BIT), "-1234");

    std::setlocale(LC_ALL, "C");
}
