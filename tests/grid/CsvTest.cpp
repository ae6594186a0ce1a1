#include "GridTestSupport.h"
#include "support/TestCatalogue.h"

#include "csv/CsvExport.h"
#include "csv/CsvImport.h"
#include "grid/GridLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

using namespace codec;
using gridtest::Block;
using gridtest::Counting;
using gridtest::Words;
using Words16 = std::vector<std::uint16_t>;

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// ASCII text as UTF-16 little-endian with its mark.
std::string Utf16(const std::string& ascii)
{
    std::string bytes = "\xFF\xFE";
    for (const char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

void WriteAll(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace

TEST(CsvExport, HexWordsInFourColumns)
{
    testsupport::Scratch scratch;
    const CEditData block = Block(Counting(6));
    const GridLayout layout(block, {RADIX_HEX, UNIT_16BIT, 4});
    ASSERT_TRUE(ExportCsv(layout, scratch.Path("six.csv"), 2));
    EXPECT_EQ(ReadAll(scratch.Path("six.csv")), "0001,0002,0003,0004\r\n0005,0006,,\r\n");
    ASSERT_TRUE(ExportCsv(layout, scratch.Path("six.TXT"), 1));
    EXPECT_EQ(ReadAll(scratch.Path("six.TXT")), "0001\t0002\t0003\t0004\r\n0005\t0006\t\t\r\n");
    ASSERT_TRUE(ExportCsv(layout, scratch.Path("six"), 1)); // no extension: the filter decides
    EXPECT_EQ(ReadAll(scratch.Path("six")), ReadAll(scratch.Path("six.csv")));
    ASSERT_TRUE(ExportCsv(layout, scratch.Path("six"), 2));
    EXPECT_EQ(ReadAll(scratch.Path("six")), ReadAll(scratch.Path("six.TXT")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.dir), {}), 3); // nothing left behind
}

// Reals whose shown text is rounded are written with the digits that give
// their bits back; the others keep the grid's text.
TEST(CsvExport, RealsReadBackBitForBit)
{
    testsupport::Scratch scratch;
    const struct {
        DisplaySetting setting;
        Words16 words;
        const char* file;
    } cases[] = {
        {{RADIX_FLOAT, UNIT_32BIT, 3},
         {0x0001, 0x3F80, 0x0001, 0x0000, 0x0000, 0x7FC0, 0x0000, 0xFF80, 0x0001, 0x4B80, 0x0000, 0x3FC0},
         "1.0000001,1.401298e-45,NaN\r\n-inf,16777218,1.5\r\n"},
        {{RADIX_DOUBLE, UNIT_64BIT, 2},
         {0x3334, 0x3333, 0x3333, 0x3FD3, 0x0000, 0x0000, 0x0000, 0x3FF8},
         "0.30000000000000004,1.5\r\n"},
    };
    for (const auto& c : cases) {
        const CEditData block = Block(c.words);
        const GridLayout layout(block, c.setting);
        ASSERT_TRUE(ExportCsv(layout, scratch.Path("reals.csv"), 1));
        EXPECT_EQ(ReadAll(scratch.Path("reals.csv")), c.file);
        const CEditData zeros = Block(Words16(c.words.size()));
        const std::optional<std::vector<std::uint8_t>> back =
            ImportCsv(GridLayout(zeros, c.setting), scratch.Path("reals.csv"));
        ASSERT_TRUE(back);
        EXPECT_EQ(Words(*back), c.words);
    }
}

// A failed export returns false and leaves an existing file as it was.
TEST(CsvExport, FailureLeavesTheOldFile)
{
    testsupport::Scratch scratch;
    const CEditData block = Block(Counting(6));
    const GridLayout layout(block, {});
    EXPECT_FALSE(ExportCsv(layout, scratch.Path("missing/x.csv"), 1));
    std::filesystem::create_directory(scratch.Path("folder.csv"));
    EXPECT_FALSE(ExportCsv(layout, scratch.Path("folder.csv"), 1));
    EXPECT_TRUE(std::filesystem::is_directory(scratch.Path("folder.csv")));

    WriteAll(scratch.Path("old.csv"), "old");
    int pieces = 0;
    EXPECT_FALSE(WriteCsv(layout, ',', [&pieces](std::string_view) { return ++pieces > 1; }));
    EXPECT_EQ(pieces, 1);
    EXPECT_EQ(ReadAll(scratch.Path("old.csv")), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.dir), {}), 2);
}

// Words whose cells all read back from their text: any integers, and reals
// with few significant digits.
static Words16 RoundTripWords(const DisplaySetting& setting, int count)
{
    std::mt19937 random(11);
    Words16 words(static_cast<std::size_t>(count));
    for (std::uint16_t& word : words)
        word = static_cast<std::uint16_t>(random());
    for (int i = 0; setting.radix == RADIX_FLOAT && 2 * i + 1 < count; ++i) {
        const auto bits = std::bit_cast<std::uint32_t>(static_cast<float>(i) * 0.25f - 20);
        words[2 * i] = static_cast<std::uint16_t>(bits), words[2 * i + 1] = static_cast<std::uint16_t>(bits >> 16);
    }
    for (int i = 0; setting.radix == RADIX_DOUBLE && 4 * i + 3 < count; ++i) {
        const auto bits = std::bit_cast<std::uint64_t>(i * -1.5e10 + 0.125);
        for (int w = 0; w < 4; ++w)
            words[static_cast<std::size_t>(4 * i + w)] = static_cast<std::uint16_t>(bits >> (16 * w));
    }
    return words;
}

// Export and import of the same file give back the data, for every radix and
// unit; decimal 64-bit lines are far longer than 128 bytes.
TEST(CsvRoundTrip, EveryRadixAndUnit)
{
    testsupport::Scratch scratch;
    const DisplaySetting settings[] = {
        {RADIX_BIN, UNIT_8BIT, 8},   {RADIX_BIN, UNIT_64BIT, 8},   {RADIX_OCT, UNIT_16BIT, 8},
        {RADIX_OCT, UNIT_32BIT, 5},  {RADIX_DEC, UNIT_8BIT, 16},   {RADIX_DEC, UNIT_16BIT, 8},
        {RADIX_DEC, UNIT_32BIT, 8},  {RADIX_DEC, UNIT_64BIT, 8},   {RADIX_HEX, UNIT_16BIT, 3},
        {RADIX_HEX, UNIT_64BIT, 16}, {RADIX_FLOAT, UNIT_32BIT, 8}, {RADIX_DOUBLE, UNIT_64BIT, 8},
    };
    const CEditData zeros = Block(Words16(203));
    for (const DisplaySetting& setting : settings) {
        SCOPED_TRACE(testing::Message() << setting.radix << "/" << setting.unit << " x" << setting.columnSetting);
        const CEditData block = Block(RoundTripWords(setting, 203));
        const GridLayout layout(block, setting);
        for (const char* name : {"data.csv", "data.txt"}) {
            ASSERT_TRUE(ExportCsv(layout, scratch.Path(name), 1));
            const std::optional<std::vector<std::uint8_t>> back =
                ImportCsv(GridLayout(zeros, setting), scratch.Path(name));
            ASSERT_TRUE(back);
            const std::size_t whole = block.Data.size() / layout.CellBytes() * layout.CellBytes();
            EXPECT_EQ(Words({back->begin(), back->begin() + static_cast<std::ptrdiff_t>(whole)}),
                      Words({block.Data.begin(), block.Data.begin() + static_cast<std::ptrdiff_t>(whole)}));
        }
    }
    const CEditData block = Block(Words16(64, 0x8000));
    const GridLayout layout(block, {RADIX_DEC, UNIT_64BIT, 8});
    ASSERT_TRUE(ExportCsv(layout, scratch.Path("long.csv"), 1));
    EXPECT_EQ(ReadAll(scratch.Path("long.csv")).find("\r\n"), 167u);
    const CEditData empty = Block(Words16(64));
    EXPECT_EQ(ImportCsv(GridLayout(empty, layout.Setting()), scratch.Path("long.csv")).value(), block.Data);
}

// 3 rows of 3 columns, decimal 16-bit, every word 7 before the import.
TEST(CsvImport, LinesFieldsAndMarks)
{
    struct Case {
        const char* name;
        std::string bytes;
        Words16 expected;
    };
    const Case cases[] = {
        {"a.csv", "1,,3\r\n4,5\r\n", {1, 0, 3, 4, 5, 7, 7, 7, 7}},
        {"a.txt", "1,2,3\r\n4\t5\r\n", {0, 7, 7, 4, 5, 7, 7, 7, 7}},
        {"a.dat", "1,2\r\n4\t5\r\n6", {0, 7, 7, 0, 7, 7, 6, 7, 7}},
        {"a.csv",
         "\xEF\xBB\xBF"
         "1,2\n\n3\r4",
         {1, 2, 7, 0, 7, 7, 3, 7, 7}},
        {"a.csv", "1\r\r\n2,3,4,5,6", {1, 7, 7, 0, 7, 7, 2, 3, 4}},
        {"a.csv", std::string("1,2\0,3\r\n-1", 10), {1, 2, 7, 65535, 7, 7, 7, 7, 7}},
        {"a.csv",
         std::string("\xFF\xFE"
                     "1\0,\0"
                     "2\0\r\0\n\0"
                     "3\0",
                     14),
         {1, 2, 7, 3, 7, 7, 7, 7, 7}},
        {"a.csv", "", {7, 7, 7, 7, 7, 7, 7, 7, 7}},
        // Quoted fields, as spreadsheets write them: separators and line ends
        // inside quotes belong to the field, "" is one quote.
        {"a.csv", "\"12\",\"1,2\",\"3\"\r\n\"4\r\n5\",6\r\n\"\"\"7\",\"8\"9,\"", {12, 0, 3, 0, 6, 7, 0, 89, 0}},
        {"a.txt", "\"1\t\"\t\"2\"\r\n3\"\t4", {0, 2, 7, 0, 4, 7, 7, 7, 7}},
        {"a.csv",
         std::string("\xFF\xFE"
                     "\"\0"
                     "5\0\"\0,\0",
                     10),
         {5, 0, 7, 7, 7, 7, 7, 7, 7}},
        // A field longer than any value is invalid (0) and not kept; quoted
        // separators in it are text of that field all the same.
        {"a.csv", "1," + std::string(5000, '2') + ",3\r\n4", {1, 0, 3, 4, 7, 7, 7, 7, 7}},
        {"a.csv", "\"" + std::string(CsvLineReader::kMaxFieldBytes, '0') + "\",2", {0, 2, 7, 7, 7, 7, 7, 7, 7}},
        {"a.csv", "\"" + std::string(3000, ',') + std::string(3000, '1') + "\",5\r\n6", {0, 5, 7, 6, 7, 7, 7, 7, 7}},
        {"a.txt", Utf16("1\t" + std::string(9000, '9') + "\t3\r\n4"), {1, 0, 3, 4, 7, 7, 7, 7, 7}},
    };
    testsupport::Scratch scratch;
    const CEditData block = Block(Words16(9, 7));
    const GridLayout layout(block, {RADIX_DEC, UNIT_16BIT, 3});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " " << testing::PrintToString(c.bytes));
        WriteAll(scratch.Path(c.name), c.bytes);
        const std::optional<std::vector<std::uint8_t>> read = ImportCsv(layout, scratch.Path(c.name));
        ASSERT_TRUE(read);
        EXPECT_EQ(Words(*read), c.expected);
    }
    EXPECT_FALSE(ImportCsv(layout, scratch.Path("none.csv")));
    EXPECT_FALSE(ImportCsv(layout, scratch.dir));
}

// Lines of any length are read whole, and reading stops at the last row.
TEST(CsvImport, LongLinesAndEndlessInput)
{
    const CEditData block = Block(Words16(4, 7));
    const GridLayout layout(block, {RADIX_DEC, UNIT_16BIT, 2});
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += "5,6,";
    text += "\r\n9";
    std::size_t pos = 0;
    const std::optional<std::vector<std::uint8_t>> longLine =
        ReadCsv(layout, ',', [&](std::uint8_t* buffer, std::size_t size) -> std::ptrdiff_t {
            const std::size_t count = std::min(size, text.size() - pos);
            std::copy_n(text.begin() + static_cast<std::ptrdiff_t>(pos), count, buffer);
            pos += count;
            return static_cast<std::ptrdiff_t>(count);
        });
    ASSERT_TRUE(longLine);
    EXPECT_EQ(Words(*longLine), (Words16{5, 6, 9, 7}));

    const std::optional<std::vector<std::uint8_t>> rows =
        ReadCsv(layout, ',', [](std::uint8_t* buffer, std::size_t size) -> std::ptrdiff_t {
            for (std::size_t i = 0; i < size; ++i)
                buffer[i] = static_cast<std::uint8_t>("8\r\n"[i % 3]); // lines without end
            return static_cast<std::ptrdiff_t>(size - size % 3);
        });
    ASSERT_TRUE(rows);
    EXPECT_EQ(Words(*rows), (Words16{8, 7, 8, 7}));
}
