#include "CodecTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace codec;
using codectest::Bits;
using codectest::Format;
using Bytes = std::vector<std::uint8_t>;

TEST(CodecFormat, CellBytesAndMaxChars)
{
    for (const auto& [unit, bytes] : {std::pair{0, 1}, {1, 2}, {2, 4}, {3, 8}, {-1, 2}, {4, 2}})
        EXPECT_EQ(GetCellBytes(UnitFromInt(unit)), bytes) << unit;
    const int maxChars[6][4] = {{8, 16, 32, 64}, {3, 6, 11, 22},   {3, 6, 11, 20},
                                {2, 4, 8, 16},   {39, 39, 39, 39}, {39, 39, 39, 39}};
    for (int radix = 0; radix < 6; ++radix) {
        for (int unit = 0; unit < 4; ++unit)
            EXPECT_EQ(GetMaxCellChars(RadixFromInt(radix), UnitFromInt(unit)), maxChars[radix][unit])
                << radix << "/" << unit;
    }
    for (const codec::Unit unit :
         {UnitFromInt(-1), UnitFromInt(4)}) { // an unknown unit is a 2-byte cell; only binary has a text for it
        EXPECT_EQ(GetMaxCellChars(RADIX_BIN, unit), 16);
        for (const codec::Radix radix : {RADIX_OCT, RADIX_DEC, RADIX_HEX})
            EXPECT_EQ(GetMaxCellChars(radix, unit), 0);
    }
    EXPECT_EQ(GetMaxCellChars(codec::RadixFromInt(-1), UNIT_16BIT), 0);
    EXPECT_EQ(GetMaxCellChars(codec::RadixFromInt(6), UNIT_16BIT), 0);
}

TEST(CodecFormat, IntegerCells)
{
    const struct {
        Bytes cell;
        codec::Radix radix;
        codec::Unit unit;
        const char* text;
    } cases[] = {
        {{0x00, 0x80}, RADIX_BIN, UNIT_16BIT, "1000000000000000"},
        {{0x00, 0x80}, RADIX_OCT, UNIT_16BIT, "100000"},
        {{0x00, 0x80}, RADIX_DEC, UNIT_16BIT, "-32768"},
        {{0x00, 0x80}, RADIX_HEX, UNIT_16BIT, "8000"},
        {{0x05, 0x00}, RADIX_BIN, UNIT_16BIT, "0000000000000101"},
        {{0xFF, 0xFF}, RADIX_OCT, UNIT_16BIT, "177777"},
        {{0xFF, 0xFF}, RADIX_DEC, UNIT_16BIT, "-1"},
        {{0x0A, 0x00}, RADIX_HEX, UNIT_16BIT, "000A"},
        // The 8-bit cells of the word 0x1234, low byte first.
        {{0x34}, RADIX_HEX, UNIT_8BIT, "34"},
        {{0x12}, RADIX_HEX, UNIT_8BIT, "12"},
        {{0x34}, RADIX_DEC, UNIT_8BIT, "52"},
        {{0x12}, RADIX_DEC, UNIT_8BIT, "18"},
        {{0xFF}, RADIX_DEC, UNIT_8BIT, "255"},
        {{0xFF}, RADIX_OCT, UNIT_8BIT, "377"},
        // The word at the lower address is the less significant half.
        {{0x01, 0x00, 0x02, 0x00}, RADIX_HEX, UNIT_32BIT, "00020001"},
        {{0x00, 0x00, 0x00, 0x80}, RADIX_DEC, UNIT_32BIT, "-2147483648"},
        {Bytes(8, 0xFF), RADIX_DEC, UNIT_64BIT, "-1"},
        {Bytes(8, 0xFF), RADIX_OCT, UNIT_64BIT, "1777777777777777777777"},
        {{0xEF, 0xCD, 0xAB, 0x89, 0x67, 0x45, 0x23, 0x01}, RADIX_HEX, UNIT_64BIT, "0123456789ABCDEF"},
        {{0x05, 0x00}, RADIX_BIN, codec::UnitFromInt(7), "0000000000000101"},
        {{0x05, 0x00}, RADIX_HEX, codec::UnitFromInt(7), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatCellValue(c.cell, c.radix, c.unit), c.text) << c.radix << "/" << c.unit;
}

TEST(CodecFormat, CellWithTooFewBytesHasNoText)
{
    const Bytes bytes(8, 0x41);
    const std::span<const std::uint8_t> all(bytes);
    EXPECT_EQ(FormatCellValue(all.first(0), RADIX_HEX, UNIT_8BIT), "");
    EXPECT_EQ(FormatCellValue(all.first(7), RADIX_DEC, UNIT_64BIT), "");
    // A real reads 4 or 8 bytes even when the unit does not pair with it.
    EXPECT_EQ(FormatCellValue(all.first(2), RADIX_FLOAT, UNIT_16BIT), "");
    EXPECT_EQ(FormatCellValue(all.first(4), RADIX_DOUBLE, UNIT_32BIT), "");
    EXPECT_EQ(FormatCellValue(all.first(4), RADIX_FLOAT, UNIT_64BIT), "12.07843");
    EXPECT_EQ(FormatCellValue(all, RADIX_HEX, UNIT_16BIT), "4141"); // extra bytes are not read
    EXPECT_EQ(FormatCellValue(all, codec::RadixFromInt(6), UNIT_16BIT), "");
}

TEST(CodecFormat, RealCells)
{
    const std::string tiny = "0." + std::string(36, '0') + "1"; // 39 characters
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        std::string single, doubleText;
    } cases[] = {
        {0.0, "0.0", "0.0"},
        {-0.0, "-0.0", "-0.0"},
        {1.0, "1.0", "1.0"},
        {-0.5, "-0.5", "-0.5"},
        {0.1, "0.1", "0.1"},
        {123.456, "123.456", "123.456"},
        {12345678.0, "12345680.0", "12345678.0"},
        {1e10, "10000000000.0", "10000000000.0"},
        {-1e-5, "-0.00001", "-0.00001"},
        {1e-37, tiny, tiny},
        {3.4028235e38, "3.402823e+38", "3.40282350000000e+38"},
        {1e-38, "9.999999e-39", "1.00000000000000e-38"}, // a single denormal
        {5e-324, "0.0", "4.94065645841247e-324"},
        {inf, "inf", "inf"},
        {-inf, "-inf", "-inf"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Format(Bits(static_cast<float>(c.value)), RADIX_FLOAT, UNIT_32BIT), c.single) << c.value;
        EXPECT_EQ(Format(Bits(c.value), RADIX_DOUBLE, UNIT_64BIT), c.doubleText) << c.value;
    }
    EXPECT_EQ(Format(Bits(std::numeric_limits<double>::max()), RADIX_DOUBLE, UNIT_64BIT), "1.79769313486232e+308");

    // Any NaN shows 39 dots, whatever its sign and payload.
    for (const std::uint32_t bits : {0x7FC00000u, 0xFFC00000u, 0x7F800001u})
        EXPECT_EQ(Format(bits, RADIX_FLOAT, UNIT_32BIT), std::string(39, '.'));
    for (const std::uint64_t bits : {0x7FF8000000000000ull, 0xFFF0000000000001ull})
        EXPECT_EQ(Format(bits, RADIX_DOUBLE, UNIT_64BIT), std::string(39, '.'));
}

TEST(CodecFormat, BinaryDigits)
{
    EXPECT_EQ(FormatBinaryDigits(5, 16), "0000000000000101");
    EXPECT_EQ(FormatBinaryDigits(0x1FF, 8), "11111111");
    EXPECT_EQ(FormatBinaryDigits(~0ull, 66), "00" + std::string(64, '1'));
    EXPECT_EQ(FormatBinaryDigits(1, 0), "");
    EXPECT_EQ(FormatBinaryDigits(1, -8), "");
}

TEST(CodecFormat, ExpToPlain)
{
    const struct {
        const char* text;
        int precision;
        const char* plain;
    } cases[] = {
        {"1.234560e+02", 6, "123.456"},
        {"-1.000000e-05", 6, "-0.00001"},
        {"9.990000e-01", 6, "0.999"},
        {"1.00000000000000e+14", 14, "100000000000000.0"},
        {"1.23450000000000e+00", 14, "1.2345"},
        // Texts that do not come from formatting a real: no crash, no runaway length.
        {"1.5e+03", 6, "15."},
        {"2.5", 6, "2.5"},
        {"", 6, "."},
        {"1.500000e+00", -3, "1500000.0"},
        {"1.0e-2000", 6, "1.0e-2000"},
        {"1.0e+99999999999999", 6, "1.0e+99999999999999"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExpToPlain(c.text, c.precision), c.plain) << c.text;
}

TEST(CodecFormat, CellNumbersAreWhatTheCellsShow)
{
    const double none = std::numeric_limits<double>::quiet_NaN();
    const struct {
        Bytes cell;
        codec::Radix radix;
        codec::Unit unit;
        double number;
    } cases[] = {
        {{0x00, 0x80}, RADIX_DEC, UNIT_16BIT, -32768},
        {{0x00, 0x80}, RADIX_HEX, UNIT_16BIT, 32768},
        {{0x00, 0x80}, RADIX_BIN, UNIT_16BIT, 32768},
        {{0xFF, 0xFF}, RADIX_OCT, UNIT_16BIT, 65535},
        {{0xFF}, RADIX_DEC, UNIT_8BIT, 255},
        {{0x00, 0x00, 0x00, 0x80}, RADIX_DEC, UNIT_32BIT, -2147483648.0},
        {{0x00, 0x00, 0xC0, 0x3F}, RADIX_FLOAT, UNIT_32BIT, 1.5},
        {{0, 0, 0, 0, 0, 0, 0x04, 0xC0}, RADIX_DOUBLE, UNIT_64BIT, -2.5},
        {{0x00, 0x00, 0xC0, 0x7F}, RADIX_FLOAT, UNIT_32BIT, none}, // NaN shows dots
        {{0x05}, RADIX_DEC, UNIT_16BIT, none},                     // too few bytes
    };
    for (const auto& c : cases) {
        const double number = codec::CellNumber(c.cell, c.radix, c.unit);
        if (std::isnan(c.number))
            EXPECT_TRUE(std::isnan(number)) << c.radix << "/" << c.unit;
        else
            EXPECT_EQ(number, c.number) << c.radix << "/" << c.unit;
    }
}
