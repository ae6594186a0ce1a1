#include "Descriptors.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

TEST(IcFileCopy, EmptyAndNullTextsAreStoredAsNull)
{
    CIcFileCopy fc;
    EXPECT_EQ(Describe(fc), "(null)|(null)|0");
    Fill(fc, "a.ldt", "a.tmp", 0, 0);
    fc.SetFileName("");
    fc.SetTempName(nullptr);
    fc.AddExtInfo(CIcExtInfo());
    EXPECT_EQ(Describe(fc), "(null)|(null)|0|(null):0");
}

TEST(IcFileCopy, EntriesKeepTheirOrderAsTheListGrows)
{
    CIcFileCopy fc;
    Fill(fc, nullptr, nullptr, 0, 300);
    ASSERT_EQ(fc.GetExtInfoSize(), 300);
    for (int i = 0; i < 300; ++i) {
        CIcExtInfo e = fc.GetExtInfo(i);
        EXPECT_EQ(Text(e.GetExtName()), "x" + std::to_string(i));
        EXPECT_EQ(e.GetFileSize(), i);
    }
}

TEST(IcFileCopy, GetExtInfoGivesACopyAndRejectsIndicesOutsideTheList)
{
    CIcFileCopy fc;
    EXPECT_THROW(fc.GetExtInfo(0), std::invalid_argument);
    Fill(fc, "a.ldt", nullptr, 0, 2);
    EXPECT_THROW(fc.GetExtInfo(-1), std::invalid_argument);
    EXPECT_THROW(fc.GetExtInfo(2), std::invalid_argument);

    CIcExtInfo e = fc.GetExtInfo(1);
    e.SetExtName("changed");
    e.SetFileSize(99);
    EXPECT_EQ(Describe(fc), "a.ldt|(null)|0|x0:0|x1:1");
}

TEST(IcFileCopy, CopiesAndAssignmentsAreDeepAndReplaceEverything)
{
    CIcFileCopy source;
    Fill(source, "a.ldt", "a.tmp", 7, 2);
    CIcFileCopy copy(source);
    CIcFileCopy assigned;
    Fill(assigned, "old.ldt", nullptr, 3, 4, "old");
    assigned = source;
    for (CIcFileCopy* other : {&copy, &assigned}) {
        EXPECT_EQ(Describe(*other), "a.ldt|a.tmp|7|x0:0|x1:1");
        EXPECT_NE(other->GetFileName(), source.GetFileName());
        EXPECT_NE(other->GetTempName(), source.GetTempName());
        Fill(*other, nullptr, "", 8, 1, "y");
    }
    EXPECT_EQ(Describe(source), "a.ldt|a.tmp|7|x0:0|x1:1");

    assigned = CIcFileCopy();
    EXPECT_EQ(Describe(assigned), "(null)|(null)|0");
}

TEST(IcFileCopy, OwnContentsCanBeAssignedBack)
{
    CIcFileCopy fc;
    Fill(fc, "a.ldt", "a.tmp", 5, 2);
    const char* file = fc.GetFileName();
    CIcFileCopy& same = fc;
    fc = same;
    EXPECT_EQ(fc.GetFileName(), file);
    EXPECT_EQ(Describe(fc), "a.ldt|a.tmp|5|x0:0|x1:1");

    fc.SetFileName(fc.GetFileName());
    fc.SetTempName(fc.GetTempName() + 2);
    EXPECT_EQ(Describe(fc), "a.ldt|tmp|5|x0:0|x1:1");
}

// Callers outside the library allocate these objects and read them by layout.
TEST(IcFileCopy, LayoutIsAsCallersExpect)
{
    struct ExtInfo {
        char* name;
        int size;
    };
    struct FileCopy {
        char* file;
        char* temp;
        void* list;
        unsigned char status;
    };
    static_assert(sizeof(CIcExtInfo) == sizeof(ExtInfo) && alignof(CIcExtInfo) == alignof(ExtInfo));
    static_assert(sizeof(CIcFileCopy) == sizeof(FileCopy) && alignof(CIcFileCopy) == alignof(FileCopy));
    CIcFileCopy fc;
    Fill(fc, "a.ldt", "a.tmp", 0xA5, 0);
    FileCopy raw;
    std::memcpy(&raw, static_cast<void*>(&fc), sizeof raw);
    EXPECT_EQ(raw.file, fc.GetFileName());
    EXPECT_EQ(raw.temp, fc.GetTempName());
    EXPECT_EQ(raw.status, 0xA5);
}
