#include "Descriptors.h"
#include "FailingAllocations.h"

#include <gtest/gtest.h>

TEST(IcFileCopyOutOfMemory, TextThatCannotBeCopiedIsLeftNull)
{
    CIcFileCopy fc;
    fc.SetFileName("old.ldt");
    EXPECT_FALSE(ThrowsBadAlloc(0, [&] { fc.SetFileName("new.ldt"); }));
    EXPECT_EQ(fc.GetFileName(), nullptr);
}

// Each allocation in turn is made to fail, until the call gets through whole.
TEST(IcFileCopyOutOfMemory, AddExtInfoAddsTheEntryOrLeavesTheListAsItWas)
{
    for (int entries = 0; entries <= 9; ++entries) {
        for (long n = 0;; ++n) {
            ASSERT_LT(n, 100);
            CIcFileCopy fc;
            Fill(fc, "a.ldt", nullptr, 1, entries);
            const std::string before = Describe(fc);
            CIcExtInfo e;
            e.SetExtName("new");
            if (ThrowsBadAlloc(n, [&] { fc.AddExtInfo(e); })) {
                EXPECT_EQ(Describe(fc), before);
                continue;
            }
            ASSERT_EQ(fc.GetExtInfoSize(), entries + 1);
            if (Text(fc.GetExtInfo(entries).GetExtName()) == "new")
                break;
        }
    }
}

// Under LeakSanitizer this also shows that a failed copy leaks nothing.
TEST(IcFileCopyOutOfMemory, FailedAssignmentLeavesTheTargetAsItWas)
{
    CIcFileCopy source;
    Fill(source, "new.ldt", "new.tmp", 2, 6, "n");
    const std::string expected = Describe(source);
    for (long n = 0;; ++n) {
        ASSERT_LT(n, 100);
        ThrowsBadAlloc(n, [&] { CIcFileCopy copy(source); });
        CIcFileCopy target;
        Fill(target, "old.ldt", nullptr, 1, 3);
        const std::string before = Describe(target);
        if (ThrowsBadAlloc(n, [&] { target = source; })) {
            EXPECT_EQ(Describe(target), before);
            continue;
        }
        EXPECT_EQ(target.GetStatus(), 2);
        EXPECT_EQ(target.GetExtInfoSize(), 6);
        if (Describe(target) == expected)
            break;
    }
}
