#include "CodecTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace codec;
using codectest::Bits;
using Bytes = std::vector<std::uint8_t>;

TEST(CodecParse, ValidateNumberText)
{
    const struct {
        codec::Radix radix;
        codec::Unit unit;
        std::vector<std::string> valid, invalid;
    } groups[] = {
        {RADIX_DEC, UNIT_8BIT, {"0", "255", "18"}, {"-1", "-", "256", "007", " 1", "1 ", "+1", "A", "1.5"}},
        {RADIX_DEC,
         UNIT_16BIT,
         {"-1", "0", "-", "10", "-10", "32767", "-32768"},
         {"007", "-0", "-05", "5-", "--5", "32768", "-32769", "\xEF\xBC\x91" /* fullwidth 1 */}},
        {RADIX_DEC, UNIT_32BIT, {"2147483647", "-2147483648"}, {"2147483648", "-2147483649", "4294967295"}},
        {RADIX_DEC,
         UNIT_64BIT,
         {"9223372036854775807", "-9223372036854775808"},
         {"9223372036854775808", "-9223372036854775809"}},
        {RADIX_OCT, UNIT_8BIT, {"0", "377"}, {"07", "400", "8"}},
        {RADIX_OCT, UNIT_64BIT, {"1777777777777777777777"}, {"2000000000000000000000"}},
        {RADIX_HEX, UNIT_8BIT, {"0000000F", std::string(5000, '0') + "1"}, {"100", "G"}},
        {RADIX_HEX, UNIT_16BIT, {"FFFF", "0"}, {"10000", "0x10", "0X10", "", std::string("1\0", 2)}},
        {RADIX_HEX, UNIT_64BIT, {"FFFFFFFFFFFFFFFF"}, {"10000000000000000"}},
        {RADIX_BIN, UNIT_8BIT, {"00000101", "11111111"}, {"100000000", "2"}},
        {RADIX_BIN, UNIT_64BIT, {std::string(64, '1')}, {"1" + std::string(64, '0')}},
        // Reals have no such texts; unknown radix or unit.
        {RADIX_FLOAT, UNIT_32BIT, {}, {"1.5", "1"}},
        {RADIX_DOUBLE, UNIT_64BIT, {}, {"1"}},
        {codec::RadixFromInt(6), UNIT_16BIT, {}, {"1"}},
        {RADIX_HEX, codec::UnitFromInt(7), {}, {"1"}},
        {RADIX_BIN, codec::UnitFromInt(-1), {}, {"1"}},
        {RADIX_DEC, codec::UnitFromInt(4), {}, {"1"}},
    };
    for (const auto& g : groups) {
        std::string normalised;
        for (const std::string& text : g.valid) {
            EXPECT_TRUE(ValidateNumberText(text, g.radix, g.unit, normalised))
                << text << " " << g.radix << "/" << g.unit;
            EXPECT_EQ(normalised, text);
        }
        for (const std::string& text : g.invalid) {
            EXPECT_FALSE(ValidateNumberText(text, g.radix, g.unit, normalised))
                << text << " " << g.radix << "/" << g.unit;
            EXPECT_EQ(normalised, "");
        }
    }
    std::string normalised;
    EXPECT_TRUE(ValidateNumberText("aBc", RADIX_HEX, UNIT_16BIT, normalised));
    EXPECT_EQ(normalised, "ABC");
}

TEST(CodecParse, CheckInsertion)
{
    const struct {
        const char *text, *insert;
        int start, end;
        codec::Radix radix;
        codec::Unit unit;
        const char* result; // nullptr: refused
    } cases[] = {
        {"12", "a", 0, 0, RADIX_HEX, UNIT_16BIT, "A12"},
        {"9999", "12", 1, 3, RADIX_HEX, UNIT_16BIT, "9129"},
        {"1234", "", 0, 4, RADIX_HEX, UNIT_16BIT, "1234"},
        {"5", "-", 0, 0, RADIX_DEC, UNIT_16BIT, "-5"},
        {"5", "-", 1, 1, RADIX_DEC, UNIT_16BIT, nullptr},
        {"-5", "-", 0, 0, RADIX_DEC, UNIT_16BIT, nullptr},
        {"-5", "-", 0, 1, RADIX_DEC, UNIT_16BIT, "-5"},
        {"-5", "0", 1, 1, RADIX_DEC, UNIT_16BIT, nullptr},
        {"-5", "1", 0, 0, RADIX_DEC, UNIT_16BIT, nullptr},
        {"5", "-", 0, 0, RADIX_DEC, UNIT_8BIT, nullptr},
        {"5", "0", 0, 0, RADIX_OCT, UNIT_16BIT, nullptr},
        {"", "0", 0, 0, RADIX_OCT, UNIT_16BIT, "0"},
        {"3276", "7", 4, 4, RADIX_DEC, UNIT_16BIT, "32767"},
        {"3276", "8", 4, 4, RADIX_DEC, UNIT_16BIT, nullptr},
        {"1", "00", 1, 1, RADIX_HEX, UNIT_8BIT, nullptr}, // "10" passes, "100" does not
        // Positions outside the text are taken at its nearest end.
        {"12", "3", 5, 9, RADIX_HEX, UNIT_16BIT, "123"},
        {"12", "3", -4, -1, RADIX_HEX, UNIT_16BIT, "312"},
        {"12", "3", 1, -1, RADIX_HEX, UNIT_16BIT, "132"},
        {"1234", "5", 2, 100, RADIX_HEX, UNIT_16BIT, "125"},
        {"12", "3", 0, 1, RADIX_FLOAT, UNIT_32BIT, nullptr},
        {"12", "3", 0, 1, RadixFromInt(-1), UNIT_16BIT, nullptr},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        const bool ok = CheckInsertion(c.insert, c.radix, c.unit, c.start, c.end, text);
        EXPECT_EQ(ok, c.result != nullptr) << c.text << " + " << c.insert << " at " << c.start << "-" << c.end;
        if (ok && c.result) {
            EXPECT_EQ(text, c.result) << c.text << " + " << c.insert;
        }
    }
}

// ValidateNumberText checks the whole text once; it must answer exactly as
// typing the text character by character into an empty editor does.
TEST(CodecParse, ValidateAgreesWithTypingIntoEmptyText)
{
    std::vector<std::string> texts = {"255",
                                      "256",
                                      "65535",
                                      "65536",
                                      "-32769",
                                      "4294967296",
                                      "-2147483649",
                                      "18446744073709551615",
                                      "18446744073709551616",
                                      "-9223372036854775809",
                                      "FFFFFFFFFFFFFFFF0",
                                      "11111111111111111",
                                      "2000000000000000000000"};
    std::vector<std::string> level = {""}; // every text of up to 4 characters
    for (int length = 1; length <= 4; ++length) {
        std::vector<std::string> next;
        for (const std::string& prefix : level) {
            for (const char c : std::string("-0179aFx"))
                next.push_back(prefix + c);
        }
        texts.insert(texts.end(), next.begin(), next.end());
        level = std::move(next);
    }
    for (const codec::Radix radix : {RADIX_BIN, RADIX_OCT, RADIX_DEC, RADIX_HEX}) {
        for (const codec::Unit unit : {UNIT_8BIT, UNIT_16BIT, UNIT_32BIT, UNIT_64BIT, UnitFromInt(7)}) {
            for (const std::string& text : texts) {
                std::string typed, normalised;
                const bool byTyping = CheckInsertion(text, radix, unit, 0, 0, typed);
                ASSERT_EQ(ValidateNumberText(text, radix, unit, normalised), byTyping)
                    << text << " " << radix << "/" << unit;
                ASSERT_EQ(normalised, byTyping ? typed : "");
            }
        }
    }
}

TEST(CodecParse, ParseCellText)
{
    const struct {
        const char* text;
        codec::Radix radix;
        codec::Unit unit;
        bool valid;
        Bytes cell;
    } cases[] = {
        {"-1", RADIX_DEC, UNIT_16BIT, true, {0xFF, 0xFF}},
        {"-", RADIX_DEC, UNIT_16BIT, true, {0x00, 0x00}},
        {"", RADIX_HEX, UNIT_16BIT, false, {0x00, 0x00}},
        {"-1", RADIX_DEC, UNIT_8BIT, false, {0x00}},
        {"00020001", RADIX_HEX, UNIT_32BIT, true, {0x01, 0x00, 0x02, 0x00}},
        {"-9223372036854775808", RADIX_DEC, UNIT_64BIT, true, {0, 0, 0, 0, 0, 0, 0, 0x80}},
        {"10000", RADIX_HEX, UNIT_16BIT, false, {0x00, 0x00}},
        {" 1", RADIX_DEC, UNIT_16BIT, false, {0x00, 0x00}},
        {"1", RADIX_HEX, codec::UnitFromInt(7), false, {0x00, 0x00}},
        {"1", codec::RadixFromInt(9), UNIT_32BIT, false, {0x00, 0x00, 0x00, 0x00}},
        // Reals: a text that is no number, or out of range, still counts as read.
        {"1.5", RADIX_FLOAT, UNIT_32BIT, true, {0x00, 0x00, 0xC0, 0x3F}},
        {"3.5e38", RADIX_FLOAT, UNIT_32BIT, true, {0, 0, 0, 0}},
        {"abc", RADIX_FLOAT, UNIT_32BIT, true, {0, 0, 0, 0}},
        {"", RADIX_DOUBLE, UNIT_64BIT, true, Bytes(8, 0x00)},
        {"1.5", RADIX_DOUBLE, UNIT_64BIT, true, {0, 0, 0, 0, 0, 0, 0xF8, 0x3F}},
        {"1.5", RADIX_FLOAT, UNIT_64BIT, true, {0x00, 0x00, 0xC0, 0x3F, 0, 0, 0, 0}},
        // Radix and unit that do not pair: never more bytes than the unit has.
        {"1.5", RADIX_FLOAT, UNIT_16BIT, true, {0x00, 0x00}},
        {"1.5", RADIX_DOUBLE, UNIT_8BIT, true, {0x00}},
    };
    for (const auto& c : cases) {
        Bytes cell(11, 0xAA);
        EXPECT_EQ(ParseCellText(c.text, c.radix, c.unit, cell), c.valid) << c.text << " " << c.radix;
        EXPECT_EQ(cell, c.cell) << c.text << " " << c.radix << "/" << c.unit;
    }
}

TEST(CodecParse, ParseRealText)
{
    const codec::Radix F = RADIX_FLOAT, D = RADIX_DOUBLE;
    const codec::ParseStatus OK = PARSE_OK, BAD = PARSE_BAD_TEXT, RANGE = PARSE_OUT_OF_RANGE;
    const struct {
        const char* text;
        codec::Radix radix;
        codec::ParseStatus status;
        std::uint64_t value;
    } cases[] = {
        {"3.5e38", F, RANGE, 0},
        {"1e-40", F, OK, 0x000116C2u}, // a denormal
        {"1e-46", F, RANGE, 0},        // would be zero
        {"0", F, OK, 0},
        {"-0", F, OK, 0x80000000u},
        {"1.5 ", F, BAD, 0},
        {" 1.5", F, OK, 0x3FC00000u},
        {"1,5", F, BAD, 0},
        {"abc", F, BAD, 0},
        {" ", F, BAD, 0},
        {"", F, OK, 0},
        {"inf", F, OK, 0x7F800000u},
        {"-Infinity", D, OK, 0xFFF0000000000000u},
        {"INF", F, OK, 0x7F800000u},
        {"NaN", F, OK, 0x7FC00000u},
        {"-nan", F, OK, 0xFFC00000u},
        {"NAN", D, OK, 0x7FF8000000000000u},
        {"...", F, BAD, 0},
        {"1e-400", D, RANGE, 0},
        // The ends of the normal ranges, and just beyond.
        {"3.4028234663852886e38", F, OK, 0x7F7FFFFFu},
        {"-3.4028234663852886e38", F, OK, 0xFF7FFFFFu},
        {"3.4028235e38", F, RANGE, 0},
        {"1.1754943508222875e-38", F, OK, 0x00800000u},
        {"1.1754942e-38", F, OK, 0x007FFFFFu},
        {"1.401298e-45", F, OK, 0x00000001u},
        {"1e309", D, RANGE, 0},
        {"1e-310", D, OK, 0x000012688B70E62Bu},
        {"4.94065645841247e-324", D, OK, 1u},
        {"3.5e38", D, OK, Bits(3.5e38)},
        {"1.7976931348623157e308", D, OK, Bits(std::numeric_limits<double>::max())},
        {"2.2250738585072014e-308", D, OK, Bits(std::numeric_limits<double>::min())},
        {"abc", RADIX_DEC, OK, 0},
        {"1.5", codec::RadixFromInt(6), OK, 0},
    };
    for (const auto& c : cases) {
        std::uint64_t value = 12345;
        EXPECT_EQ(ParseRealText(c.text, c.radix, value), c.status) << c.text << " " << c.radix;
        EXPECT_EQ(value, c.value) << c.text << " " << c.radix;
    }
    // The grid's text of a NaN reads back as one.
    std::uint64_t value = 0;
    EXPECT_EQ(ParseRealText(std::string(39, '.'), RADIX_FLOAT, value), PARSE_OK);
    EXPECT_EQ(value, 0x7FC00000u);
    EXPECT_EQ(ParseRealText(std::string(39, '.'), RADIX_DOUBLE, value), PARSE_OK);
    EXPECT_EQ(value, 0x7FF8000000000000u);
    ASSERT_EQ(ParseRealText("nan", RADIX_FLOAT, value), PARSE_OK);
    EXPECT_EQ(value >> 32, 0u);
    EXPECT_TRUE(std::isnan(std::bit_cast<float>(static_cast<std::uint32_t>(value))));
    ASSERT_EQ(ParseRealText("-nan", RADIX_DOUBLE, value), PARSE_OK);
    EXPECT_TRUE(std::isnan(std::bit_cast<double>(value)));
}

TEST(CodecParse, ParseEditorText)
{
    const struct {
        const char* text;
        codec::Radix radix;
        codec::Unit unit;
        codec::ParseStatus status;
        Bytes cell;
    } cases[] = {
        {"", RADIX_HEX, UNIT_16BIT, PARSE_OK, {0x00, 0x00}},
        {"-1", RADIX_DEC, UNIT_16BIT, PARSE_OK, {0xFF, 0xFF}},
        {"-", RADIX_DEC, UNIT_16BIT, PARSE_OK, {0x00, 0x00}},
        {"12", RADIX_HEX, codec::UnitFromInt(7), PARSE_OK, {0x12, 0x00}},
        {"1", codec::RadixFromInt(9), UNIT_16BIT, PARSE_OK, {0x00, 0x00}},
        {"1.5", RADIX_FLOAT, UNIT_32BIT, PARSE_OK, {0x00, 0x00, 0xC0, 0x3F}},
        {"1e39", RADIX_FLOAT, UNIT_32BIT, PARSE_OUT_OF_RANGE, {}},
        {"1.5 ", RADIX_DOUBLE, UNIT_64BIT, PARSE_BAD_TEXT, {}},
    };
    for (const auto& c : cases) {
        Bytes cell = {1, 2, 3};
        EXPECT_EQ(ParseEditorText(c.text, c.radix, c.unit, cell), c.status) << c.text;
        EXPECT_EQ(cell, c.cell) << c.text << " " << c.radix << "/" << c.unit;
    }
}
