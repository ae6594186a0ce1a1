#include "CodecTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

using namespace codec;
using codectest::Bits;
using codectest::Format;

namespace {

// The text of a cell reads back by every way in: validation, paste/CSV and the editor.
void ExpectReadsBack(std::uint64_t value, codec::Radix radix, codec::Unit unit, std::size_t& longest)
{
    const std::vector<std::uint8_t> cell = codectest::Bytes(value, GetCellBytes(unit));
    const std::string text = FormatCellValue(cell, radix, unit);
    longest = std::max(longest, text.size());
    std::string normalised, lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return c | 0x20; });
    ASSERT_TRUE(ValidateNumberText(lower, radix, unit, normalised)) << text << " " << radix << "/" << unit;
    ASSERT_EQ(normalised, text);
    std::vector<std::uint8_t> back;
    ASSERT_TRUE(ParseCellText(text, radix, unit, back)) << text;
    ASSERT_EQ(back, cell) << text << " " << radix << "/" << unit;
    ASSERT_EQ(ParseEditorText(text, radix, unit, back), PARSE_OK) << text;
    ASSERT_EQ(back, cell) << text << " " << radix << "/" << unit;
}

} // namespace

TEST(CodecRoundTrip, IntegersEvery8And16BitValueAndWideSamples)
{
    std::mt19937_64 random(20240611);
    for (const codec::Radix radix : {RADIX_BIN, RADIX_OCT, RADIX_DEC, RADIX_HEX}) {
        for (const codec::Unit unit : {UNIT_8BIT, UNIT_16BIT, UNIT_32BIT, UNIT_64BIT}) {
            const std::uint64_t mask = ~std::uint64_t{0} >> (64 - 8 * GetCellBytes(unit));
            std::vector<std::uint64_t> values = {0, 1, mask, mask >> 1, (mask >> 1) + 1, mask - 1};
            if (unit <= UNIT_16BIT) {
                for (std::uint64_t value = 0; value <= mask; ++value)
                    values.push_back(value);
            } else {
                for (int i = 0; i < 5000; ++i)
                    values.push_back((random() >> (random() % 64)) & mask); // all magnitudes
            }
            std::size_t longest = 0;
            for (const std::uint64_t value : values) {
                ExpectReadsBack(value, radix, unit, longest);
                if (HasFatalFailure())
                    return;
            }
            EXPECT_EQ(longest, static_cast<std::size_t>(GetMaxCellChars(radix, unit))) << radix << "/" << unit;
        }
    }
}

// A real's text has 7 (single) or 15 (double) significant digits and reads
// back to the nearest value with that many digits.
TEST(CodecRoundTrip, RealSamples)
{
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        const auto singleBits = static_cast<std::uint32_t>(random());
        const float single = std::bit_cast<float>(singleBits);
        std::uint64_t value = 0;
        if (std::isfinite(single) && std::fabs(single) > 1.2e-38f && std::fabs(single) < 3.4e38f) {
            const std::string text = Format(singleBits, RADIX_FLOAT, UNIT_32BIT);
            ASSERT_LE(text.size(), 39u);
            ASSERT_EQ(ParseRealText(text, RADIX_FLOAT, value), PARSE_OK) << text;
            const float back = std::bit_cast<float>(static_cast<std::uint32_t>(value));
            ASSERT_LE(std::fabs(back - single), 6e-7 * std::fabs(single)) << text << " " << single;
        }
        const std::uint64_t doubleBits = random();
        const double real = std::bit_cast<double>(doubleBits);
        if (std::isfinite(real) && std::fabs(real) > 2.3e-308 && std::fabs(real) < 1.79e308) {
            const std::string text = Format(doubleBits, RADIX_DOUBLE, UNIT_64BIT);
            ASSERT_LE(text.size(), 39u);
            ASSERT_EQ(ParseRealText(text, RADIX_DOUBLE, value), PARSE_OK) << text;
            ASSERT_LE(std::fabs(std::bit_cast<double>(value) - real), 6e-15 * std::fabs(real)) << text;
        }
    }
    // The rounded text of the smallest normal single is taken (as a denormal);
    // that of the largest double lies beyond it and is not.
    std::uint64_t value = 0;
    EXPECT_EQ(Format(Bits(std::numeric_limits<float>::min()), RADIX_FLOAT, UNIT_32BIT), "1.175494e-38");
    EXPECT_EQ(ParseRealText("1.175494e-38", RADIX_FLOAT, value), PARSE_OK);
    EXPECT_EQ(ParseRealText("1.79769313486232e+308", RADIX_DOUBLE, value), PARSE_OUT_OF_RANGE);
}

// The clipboard and CSV text of a real gives its bits back, NaN payloads
// aside; where the grid's text already does, it is that text. (The common
// cases are in the clipboard and CSV tests; these are the edges.)
TEST(CodecRoundTrip, ExactRealTexts)
{
    const codec::Radix F = RADIX_FLOAT, D = RADIX_DOUBLE;
    const struct {
        std::uint64_t bits;
        codec::Radix radix;
        const char* text;
    } cases[] = {
        {0x00800000u, F, "1.1754944e-38"},
        {0x7F7FFFFFu, F, "3.4028234663852886e+38"},
        {0xFF7FFFFFu, F, "-3.4028234663852886e+38"},
        {0x7F800000u, F, "inf"},
        {0xFFC00000u, F, "-NaN"},
        {0x80000000u, F, "-0.0"},
        {0x3FD3333333333333u, D, "0.3"},
        {0x0000000000000001u, D, "4.94065645841247e-324"},
        {0x7FEFFFFFFFFFFFFFu, D, "1.7976931348623157e+308"},
        {0xFFF0000000000000u, D, "-inf"},
        {0x7FF8000000000000u, D, "NaN"},
    };
    for (const auto& c : cases) {
        const int count = c.radix == F ? 4 : 8;
        const std::vector<std::uint8_t> cell = codectest::Bytes(c.bits, count);
        const codec::Unit unit = c.radix == F ? UNIT_32BIT : UNIT_64BIT;
        EXPECT_EQ(FormatExactCellValue(cell, c.radix, unit), c.text) << std::hex << c.bits;
        std::vector<std::uint8_t> back;
        EXPECT_TRUE(ParseCellText(c.text, c.radix, unit, back));
        EXPECT_EQ(back, cell) << c.text;
    }

    std::mt19937_64 random(18);
    for (int i = 0; i < 200000; ++i) {
        const std::uint64_t bits = random();
        const bool single = i % 2 == 0;
        const codec::Radix radix = single ? F : D;
        const codec::Unit unit = single ? UNIT_32BIT : UNIT_64BIT;
        const std::vector<std::uint8_t> cell = codectest::Bytes(bits, single ? 4 : 8);
        const bool nan = single ? std::isnan(std::bit_cast<float>(static_cast<std::uint32_t>(bits)))
                                : std::isnan(std::bit_cast<double>(bits));
        if (nan)
            continue;
        const std::string text = FormatExactCellValue(cell, radix, unit);
        std::vector<std::uint8_t> back;
        ASSERT_TRUE(ParseCellText(text, radix, unit, back));
        ASSERT_EQ(back, cell) << text;
        const std::string shown = FormatCellValue(cell, radix, unit);
        if (ParseCellText(shown, radix, unit, back) && back == cell) {
            ASSERT_EQ(text, shown);
        }
    }
}
