#include "resources/CResourceHandle.h"

#include "TestBinDir.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

// A small table in the order a hand-written library might use: unsorted,
// one id given twice, one text missing.
const MxStringResource kStrings[] = {
    {900, "nine hundred"}, {7, "seven"}, {65535, "last"}, {7, "seven again"}, {8, nullptr},
};
const MxMenuItem kMenuItems[] = {
    {0, MX_MENU_POPUP, 0, "Popup"},
    {1, MX_MENU_COMMAND, 42, "&Command"},
};
const MxMenuResource kMenus[] = {{103, kMenuItems, 2}};
const std::uint32_t kButtons[] = {42, 0, 43};
const MxToolBarResource kToolBars[] = {{204, kButtons, 3}};
const MxControlResource kControls[] = {
    {65535, MX_CTL_STATIC, "Label", 0, 0, 10, 8},
    {401, MX_CTL_LISTBOX, "", 0, 10, 10, 50},
    {1, MX_CTL_DEFPUSHBUTTON, "OK", 0, 70, 50, 14},
};
const MxDialogResource kDialogs[] = {{400, "Caption", 100, 100, kControls, 3}};

MxResourceTable TestTable()
{
    return {MX_RESOURCE_ABI_VERSION, "Tst", kStrings, 5, kMenus, 1, kToolBars, 1, kDialogs, 1};
}

const MxResourceTable kTable = TestTable();

} // namespace

TEST(ResourceHandle, LooksUpEveryKindById)
{
    const CResourceHandle handle(&kTable);
    ASSERT_TRUE(handle.IsLoaded()) << handle.Error();
    EXPECT_EQ(handle.Language(), "Tst");

    EXPECT_EQ(handle.LoadString(7), "seven"); // the first of two entries
    EXPECT_EQ(handle.LoadString(900), "nine hundred");
    EXPECT_EQ(handle.LoadString(65535), "last");
    EXPECT_EQ(handle.LoadString(8), "");
    EXPECT_EQ(handle.FindString(8), nullptr);
    EXPECT_EQ(handle.LoadString(6), "");
    EXPECT_EQ(handle.LoadString(-1), "");
    EXPECT_EQ(handle.LoadString(65536), "");

    ASSERT_NE(handle.FindMenu(103), nullptr);
    EXPECT_EQ(handle.FindMenu(103)->items[1].commandId, 42u);
    EXPECT_EQ(handle.FindMenu(104), nullptr);
    ASSERT_NE(handle.FindToolBar(204), nullptr);
    EXPECT_EQ(handle.FindToolBar(204)->count, 3u);
    EXPECT_EQ(handle.FindToolBar(103), nullptr);

    const MxDialogResource* dialog = handle.FindDialog(400);
    ASSERT_NE(dialog, nullptr);
    EXPECT_STREQ(dialog->caption, "Caption");
    EXPECT_EQ(handle.FindDialog(-400), nullptr);
    ASSERT_NE(CResourceHandle::FindControl(*dialog, 401), nullptr);
    EXPECT_EQ(CResourceHandle::FindControl(*dialog, 401)->kind, static_cast<std::uint32_t>(MX_CTL_LISTBOX));
    EXPECT_EQ(CResourceHandle::FindControl(*dialog, 402), nullptr);
}

TEST(ResourceHandle, RefusesTablesItCannotRead)
{
    MxResourceTable table = TestTable();
    table.abiVersion = MX_RESOURCE_ABI_VERSION + 1;
    const CResourceHandle newer(&table);
    EXPECT_FALSE(newer.IsLoaded());
    EXPECT_NE(newer.Error().find("version"), std::string::npos) << newer.Error();
    EXPECT_EQ(newer.LoadString(7), "");
    EXPECT_EQ(newer.FindMenu(103), nullptr);

    table = TestTable();
    table.dialogs = nullptr;
    EXPECT_FALSE(CResourceHandle(&table).IsLoaded());

    // Empty arrays may be left out.
    table = TestTable();
    table.menus = nullptr;
    table.menuCount = 0;
    const CResourceHandle noMenus(&table);
    EXPECT_TRUE(noMenus.IsLoaded());
    EXPECT_EQ(noMenus.FindMenu(103), nullptr);

    EXPECT_FALSE(CResourceHandle(nullptr).IsLoaded());
    const CResourceHandle empty;
    EXPECT_FALSE(empty.IsLoaded());
    EXPECT_EQ(empty.LoadString(7), "");
    EXPECT_EQ(empty.FindDialog(400), nullptr);
    EXPECT_EQ(empty.Language(), "");

    // A failed load leaves nothing of what the handle held before.
    CResourceHandle handle(&kTable);
    EXPECT_FALSE(handle.Load("/nonexistent/MEMORIXEnu.so"));
    EXPECT_FALSE(handle.IsLoaded());
    EXPECT_FALSE(handle.Error().empty());
    EXPECT_EQ(handle.LoadString(7), "");
}

TEST(ResourceHandle, MovingKeepsTheLibraryLoaded)
{
    CResourceHandle loaded;
    ASSERT_TRUE(loaded.Load(TestBinDir() + "/MEMORIXEnu.so")) << loaded.Error();
    const MxDialogResource* about = loaded.FindDialog(100);
    ASSERT_NE(about, nullptr);

    CResourceHandle moved(std::move(loaded));
    EXPECT_FALSE(loaded.IsLoaded()); // NOLINT(bugprone-use-after-move): a moved-from handle is empty
    EXPECT_EQ(loaded.LoadString(57344), "");
    EXPECT_EQ(moved.LoadString(57344), "Memorix");
    EXPECT_EQ(moved.FindDialog(100), about);
    EXPECT_STREQ(about->caption, moved.FindDialog(100)->caption); // still mapped

    CResourceHandle assigned(&kTable);
    assigned = std::move(moved);
    EXPECT_EQ(assigned.LoadString(57344), "Memorix");
    EXPECT_EQ(assigned.LoadString(7), "");

    // Giving up the library leaves nothing behind.
    assigned.Reset();
    EXPECT_FALSE(assigned.IsLoaded());
    EXPECT_EQ(assigned.LoadString(57344), "");
}
