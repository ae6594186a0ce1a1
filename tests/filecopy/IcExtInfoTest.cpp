#include <IcExtInfo.h>

#include <gtest/gtest.h>

TEST(IcExtInfo, NameIsAPrivateCopyOrNull)
{
    CIcExtInfo e;
    EXPECT_EQ(e.GetExtName(), nullptr);
    for (const char* empty : {"", static_cast<const char*>(nullptr)}) {
        e.SetExtName("ldt");
        e.SetExtName(empty);
        EXPECT_EQ(e.GetExtName(), nullptr);
    }
    EXPECT_EQ(CIcExtInfo(e).GetExtName(), nullptr);

    char name[] = "ldt";
    e.SetExtName(name);
    e.SetFileSize(-5);
    name[0] = 'X';
    CIcExtInfo copy(e);
    CIcExtInfo assigned;
    assigned.SetExtName("old");
    assigned = e;
    for (CIcExtInfo* other : {&copy, &assigned}) {
        EXPECT_NE(other->GetExtName(), e.GetExtName());
        EXPECT_EQ(other->GetFileSize(), -5);
        other->SetExtName("csv");
    }
    EXPECT_STREQ(e.GetExtName(), "ldt");
}

TEST(IcExtInfo, OwnNameCanBeAssignedBack)
{
    CIcExtInfo e;
    e.SetExtName("ldtx");
    const char* before = e.GetExtName();
    CIcExtInfo& same = e;
    e = same;
    EXPECT_EQ(e.GetExtName(), before);
    EXPECT_STREQ(e.GetExtName(), "ldtx");

    e.SetExtName(e.GetExtName());
    e.SetExtName(e.GetExtName() + 1);
    EXPECT_STREQ(e.GetExtName(), "dtx");
}
