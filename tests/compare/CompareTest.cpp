#include "compare/BlockCompare.h"

#include <gtest/gtest.h>

#include <string>

using compare::CellMark;
using compare::Comparison;

namespace {

constexpr std::uint8_t kDT = DeviceCode::DT;
constexpr std::uint8_t kFL = DeviceCode::FL;
constexpr std::uint8_t kTS = DeviceCode::TS;

// A block whose word at address a (first word of each address) is a + 1000 * seed.
CEditData Block(std::uint8_t code, std::int16_t bank, std::int32_t start, std::int32_t end, int perAddress = 1,
                int seed = 0)
{
    CEditData block;
    block.Id = code;
    block.BankNo = bank;
    block.StartAddr = start;
    block.EndAddr = end;
    block.DataSize = perAddress;
    for (std::int32_t address = start; address <= end; ++address)
        for (int w = 0; w < perAddress; ++w) {
            const int value = address * 4 + w + 1000 * seed;
            block.Data.push_back(static_cast<std::uint8_t>(value));
            block.Data.push_back(static_cast<std::uint8_t>(value >> 8));
        }
    return block;
}

void SetWord(CEditData& block, std::int64_t word, std::uint16_t value)
{
    block.Data[static_cast<std::size_t>(word * 2)] = static_cast<std::uint8_t>(value);
    block.Data[static_cast<std::size_t>(word * 2 + 1)] = static_cast<std::uint8_t>(value >> 8);
}

} // namespace

TEST(Compare, CountsWhatBothHoldAndOnlyThat)
{
    struct Case {
        std::string what;
        EditDataArray ours, theirs;
        std::vector<std::int64_t> compared, notCompared, differing; // per result block
    };
    CEditData changed = Block(kDT, 0, 0, 99);
    SetWord(changed, 5, 0xFFFF);
    SetWord(changed, 99, 0);
    CEditData bank2 = Block(kFL, 2, 0, 9);
    SetWord(bank2, 3, 0xABCD);
    const std::vector<Case> cases = {
        {"identical", {Block(kDT, 0, 0, 99)}, {Block(kDT, 0, 0, 99)}, {100}, {0}, {0}},
        {"two words differ", {Block(kDT, 0, 0, 99)}, {changed}, {100}, {0}, {2}},
        {"theirs shorter", {Block(kDT, 0, 0, 99)}, {Block(kDT, 0, 10, 49)}, {40}, {60}, {0}},
        {"partial overlap", {Block(kDT, 0, 0, 49)}, {Block(kDT, 0, 40, 79)}, {10}, {40 + 30}, {0}},
        {"no overlap", {Block(kDT, 0, 0, 9)}, {Block(kDT, 0, 20, 29)}, {0}, {20}, {0}},
        {"banks match by number",
         {Block(kFL, 1, 0, 9), Block(kFL, 2, 0, 9)},
         {bank2, Block(kFL, 1, 0, 9)},
         {10, 10},
         {0, 0},
         {0, 1}},
        {"their extra block is not compared",
         {Block(kDT, 0, 0, 9)},
         {Block(kDT, 0, 0, 9), Block(kTS, 0, 0, 4)},
         {10, 0},
         {0, 5},
         {0, 0}},
        {"our block alone", {Block(kDT, 0, 0, 9), Block(kTS, 0, 0, 4)}, {Block(kDT, 0, 0, 9)}, {10, 0}, {0, 5}, {0, 0}},
        {"words per address differ", {Block(kTS, 0, 0, 9, 1)}, {Block(kTS, 0, 0, 9, 2)}, {0}, {30}, {0}},
        {"two words per address", {Block(kTS, 0, 0, 9, 2)}, {Block(kTS, 0, 5, 20, 2)}, {10}, {10 + 22}, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Comparison result(c.ours, c.theirs);
        ASSERT_EQ(result.Blocks().size(), c.compared.size());
        for (std::size_t k = 0; k < c.compared.size(); ++k) {
            EXPECT_EQ(result.Blocks()[k].comparedWords, c.compared[k]) << k;
            EXPECT_EQ(result.Blocks()[k].notComparedWords, c.notCompared[k]) << k;
            EXPECT_EQ(result.Blocks()[k].DifferingWords(), c.differing[k]) << k;
        }
    }
}

TEST(Compare, MarksCellsOfOneToFourWords)
{
    CEditData ours = Block(kDT, 0, 0, 99);
    CEditData theirs = Block(kDT, 0, 10, 99);
    SetWord(theirs, 13 - 10, 0x1234); // our word 13
    const Comparison result({ours}, {theirs});
    struct Case {
        std::int64_t word;
        int words;
        CellMark mark;
    };
    for (const Case& c :
         {Case{13, 1, CellMark::Differs}, Case{12, 1, CellMark::Same}, Case{12, 2, CellMark::Differs},
          Case{14, 2, CellMark::Same}, Case{12, 4, CellMark::Differs}, Case{8, 4, CellMark::NotCompared},
          Case{9, 1, CellMark::NotCompared}, Case{10, 1, CellMark::Same}, Case{96, 4, CellMark::Same},
          Case{98, 4, CellMark::NotCompared}}) {
        SCOPED_TRACE(testing::Message() << "word " << c.word << " of " << c.words);
        EXPECT_EQ(result.MarkOf(kDT, 0, c.word, c.words), c.mark);
    }
    EXPECT_EQ(result.MarkOf(kFL, 0, 0, 1), CellMark::NotCompared);
    const auto bytes = result.TheirBytes(kDT, 0, 13, 1);
    ASSERT_EQ(bytes.size(), 2u);
    EXPECT_EQ(bytes[0] | bytes[1] << 8, 0x1234);
    EXPECT_TRUE(result.TheirBytes(kDT, 0, 9, 2).empty());
}

TEST(Compare, FindsDifferencesAcrossStepsAndBlocksAndFollowsEdits)
{
    // Large enough that differences fall on both sides of the memcmp steps.
    CEditData ours = Block(kDT, 0, 0, 9999);
    CEditData theirs = ours;
    const std::vector<std::int64_t> changed = {0, 2047, 2048, 4095, 9999};
    for (std::int64_t word : changed)
        SetWord(theirs, word, 0xBEEF);
    CEditData fl = Block(kFL, 1, 0, 9);
    CEditData theirFl = fl;
    SetWord(theirFl, 7, 1);
    Comparison result({ours, fl}, {theirs, theirFl});
    EXPECT_EQ(result.Blocks()[0].differingWords, changed);
    EXPECT_EQ(result.DifferingWords(), 6);
    EXPECT_EQ(result.BlocksWithDifferences(), 2);
    EXPECT_FALSE(result.Identical());

    using Position = Comparison::Position;
    std::vector<Position> forward;
    for (auto at = result.NextDifference({0, -1}, true); at; at = result.NextDifference(*at, true))
        forward.push_back(*at);
    EXPECT_EQ(forward, (std::vector<Position>{{0, 0}, {0, 2047}, {0, 2048}, {0, 4095}, {0, 9999}, {1, 7}}));
    EXPECT_EQ(result.NextDifference({1, 7}, false), (Position{0, 9999}));
    EXPECT_EQ(result.NextDifference({0, 0}, false), std::nullopt);
    EXPECT_EQ(result.NextDifference({1, 0}, false), (Position{0, 9999}));

    // Taking their words makes the block equal; an edit marks a cell at once.
    ours = theirs;
    result.Recompare(ours);
    EXPECT_EQ(result.DifferingWords(), 1);
    SetWord(ours, 5, 0);
    result.Recompare(ours);
    EXPECT_EQ(result.MarkOf(kDT, 0, 5, 1), CellMark::Differs);
}
