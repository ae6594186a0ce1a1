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
    // At the very ends of the normal range the rounded text lies just outside
    // the accepted range, so it does not read back.
    std::uint64_t value = 0;
    EXPECT_EQ(Format(Bits(std::numeric_limits<float>::min()), RADIX_FLOAT, UNIT_32BIT), "1.175494e-38");
    EXPECT_EQ(ParseRealText("1.175494e-38", RADIX_FLOAT, value), PARSE_OUT_OF_RANGE);
    EXPECT_EQ(ParseRealText("1.79769313486232e+308", RADIX_DOUBLE, value), PARSE_OUT_OF_RANGE);
}
