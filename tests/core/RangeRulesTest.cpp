#include "model/RangeRules.h"

#include <gtest/gtest.h>

TEST(RangeRules, EqualSizesKeepTheRange)
{
    const ConvertedRange r = ConvertDeviceRange(-5, 1'000'000, 2, 2);
    EXPECT_EQ(r.StartAddr, -5);
    EXPECT_EQ(r.EndAddr, 1'000'000);
    EXPECT_EQ(r.Remainder, 0);
}

TEST(RangeRules, OneAndTwoWordSizesEndOnTheLastAddressHoldingAnOldWord)
{
    // With sizes of 1 or 2 words the end is (S + W - 1) / b and the start S / b.
    for (int a = 1; a <= 2; ++a) {
        for (int b = 1; b <= 2; ++b) {
            for (int start = 0; start < 40; ++start) {
                for (int end = start; end < start + 40; ++end) {
                    const int firstWord = start * a;
                    const int words = (end - start + 1) * a;
                    const ConvertedRange r = ConvertDeviceRange(start, end, a, b);
                    ASSERT_EQ(r.StartAddr, firstWord / b) << a << "->" << b << " " << start << ".." << end;
                    ASSERT_EQ(r.EndAddr, (firstWord + words - 1) / b) << a << "->" << b << " " << start << ".." << end;
                    ASSERT_EQ(r.Remainder, firstWord % b);
                }
            }
        }
    }
}

TEST(RangeRules, WideNewSizesFollowTheWrittenFormula)
{
    // 1 -> 4 words: S = 6, W = 3 words; q = 1, r = 2; m = 6; c = 6 - 4 = 2; end = 0 + 2 + 8 / 8 = 3.
    ConvertedRange r = ConvertDeviceRange(6, 8, 1, 4);
    EXPECT_EQ(r.StartAddr, 1);
    EXPECT_EQ(r.EndAddr, 3);
    EXPECT_EQ(r.Remainder, 2);

    // S = 7, W = 1 word: q = 1, r = 3, m = 2, c = 2 - 6 = -4: 2W + c is negative, so the
    // unsigned division gives an end far above any address.
    r = ConvertDeviceRange(7, 7, 1, 4);
    EXPECT_EQ(r.StartAddr, 1);
    EXPECT_EQ(r.EndAddr, 536870914); // 0 + 3 + (2^32 - 4) / 8
    std::int32_t start = r.StartAddr;
    std::int32_t end = r.EndAddr;
    ClampToDevice(start, end, 0, 4095);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(end, 4095);
}

TEST(RangeRules, NonsenseSizesDoNotDivideByZero)
{
    for (const auto& [a, b] : {std::pair{0, 2}, std::pair{2, 0}, std::pair{-1, 2}, std::pair{2, -4}}) {
        EXPECT_EQ(ConvertDeviceRange(10, 20, a, b).EndAddr, 20);
        EXPECT_EQ(ScaleBankRange(10, 20, a, b).StartAddr, 10);
    }
}

TEST(RangeRules, HugeRangesWrapInsteadOfOverflowing)
{
    const ConvertedRange r = ConvertDeviceRange(0, 0x7FFFFFFF, 4, 1);
    (void)r; // the value is machine arithmetic; what matters is no undefined behaviour (run under UBSan)
    const ConvertedRange s = ScaleBankRange(0x40000000, 0x7FFFFFFF, 4, 1);
    (void)s;
    SUCCEED();
}

TEST(RangeRules, BankScalingTruncatesBothEnds)
{
    ConvertedRange r = ScaleBankRange(3, 9, 1, 2);
    EXPECT_EQ(r.StartAddr, 1);
    EXPECT_EQ(r.EndAddr, 4);
    r = ScaleBankRange(3, 9, 2, 1);
    EXPECT_EQ(r.StartAddr, 6);
    EXPECT_EQ(r.EndAddr, 18);
}

TEST(RangeRules, ClampingIsStrictOnBothSides)
{
    struct Case {
        int start, end, expectStart, expectEnd;
    } cases[] = {
        {10, 20, 10, 20},                      // inside
        {0, 20, 0, 20},                        // start == min becomes min (same value)
        {100, 50, 0, 50},                      // start == max becomes min
        {10, 0, 10, 100},                      // end == min becomes max
        {10, 100, 10, 100}, {-5, 500, 0, 100}, // outside on both sides
    };
    for (const Case& c : cases) {
        std::int32_t start = c.start;
        std::int32_t end = c.end;
        ClampToDevice(start, end, 0, 100);
        EXPECT_EQ(start, c.expectStart) << c.start << ".." << c.end;
        EXPECT_EQ(end, c.expectEnd) << c.start << ".." << c.end;
    }
}

TEST(RangeRules, DefaultEndAndListEntries)
{
    stPLC model;
    model.DefaultDataRegSize = 12315;
    stDeviceInst dt{1792, DeviceCode::DT, 3, "DT", 0, 65535, 1};
    stDeviceInst wr{1792, DeviceCode::WR, 1, "WR", 0, 511, 1};
    EXPECT_EQ(DefaultEndOf(dt, model), 12314);
    EXPECT_EQ(DefaultEndOf(wr, model), 511);

    const stDeviceInfo info = MakeDeviceInfo(dt, DefaultEndOf(dt, model), dt.MaxValue);
    EXPECT_EQ(info.StartAddr, 0);
    EXPECT_EQ(info.EndAddr, 65535);
    EXPECT_EQ(info.DefaultEnd, 12314);
    EXPECT_EQ(info.Selected, 0);
    EXPECT_EQ(info.Name, "DT");

    stDeviceInst fl{12, DeviceCode::FL, 5, "FL", 0, 32764, 1};
    const _SBankInfo bank = MakeBankInfo(fl, 2, "Bank 2");
    EXPECT_EQ(bank.BankNo, 2);
    EXPECT_EQ(bank.StartAddr, 0);
    EXPECT_EQ(bank.EndAddr, 32764);
    EXPECT_EQ(bank.DefaultEnd, 32764);
    EXPECT_EQ(bank.Name, "Bank 2");
}
