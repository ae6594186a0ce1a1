#include "platform/qt/QtSettingsStore.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// Each test runs in its own process, so the XDG folders can be set before
// QSettings first resolves them.
class QtSettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("memorix-settings-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "user");
        fs::create_directories(root / "system");
        setenv("XDG_CONFIG_HOME", (root / "user").c_str(), 1);
        setenv("XDG_CONFIG_DIRS", (root / "system").c_str(), 1);
    }
    void TearDown() override { fs::remove_all(root); }

    void WriteMachineFile(const std::string& text)
    {
        fs::create_directories(root / "system" / "Varnholt");
        std::ofstream(root / "system" / "Varnholt" / "Memorix.conf") << text;
    }

    fs::path root;
};

} // namespace

TEST_F(QtSettingsStoreTest, UserValuesLiveUnderTheRedirectedFolder)
{
    {
        platform::QtSettingsStore store;
        EXPECT_EQ(store.GetUserInt("Config", "DispRadix", 3), 3);
        store.SetUserInt("Config", "DispRadix", 2);
        store.SetUserString("Recent File List", "File1", "/data/plant a.ldtx");
        EXPECT_EQ(fs::path(store.UserFileName()), root / "user" / "Varnholt" / "Memorix.conf");
    }
    platform::QtSettingsStore again;
    EXPECT_EQ(again.GetUserInt("Config", "DispRadix", 3), 2);
    EXPECT_EQ(again.GetUserString("Recent File List", "File1", ""), "/data/plant a.ldtx");
    again.RemoveUserValue("Recent File List", "File1");
    EXPECT_EQ(again.GetUserString("Recent File List", "File1", "none"), "none");
}

TEST_F(QtSettingsStoreTest, AnUnreadableNumberGivesTheDefault)
{
    platform::QtSettingsStore store;
    store.SetUserString("Config", "DispColumnCount", "many");
    EXPECT_EQ(store.GetUserInt("Config", "DispColumnCount", 8), 8);
}

TEST_F(QtSettingsStoreTest, MachineKeyAbsentUntilTheInstallationWritesIt)
{
    platform::QtSettingsStore store;
    EXPECT_FALSE(store.MachineKeyExists());
    EXPECT_FALSE(store.GetMachineString("Language").has_value());

    WriteMachineFile("[General]\nLangMax=10\nLanguage=Korean\nRegisteredOwner=Ada\n");
    EXPECT_TRUE(store.MachineKeyExists());
    EXPECT_EQ(store.GetMachineString("LangMax"), "10");
    EXPECT_EQ(store.GetMachineString("Language"), "Korean");
    EXPECT_EQ(store.GetMachineString("RegisteredOwner"), "Ada");
    EXPECT_FALSE(store.GetMachineString("RegisteredOrganization").has_value());
}

TEST_F(QtSettingsStoreTest, UserAndMachineValuesNeverMix)
{
    WriteMachineFile("[Config]\nDispRadix=0\n");
    platform::QtSettingsStore store;
    EXPECT_EQ(store.GetUserInt("Config", "DispRadix", 3), 3);
    store.SetUserString("General", "Language", "Japanese");
    EXPECT_FALSE(store.GetMachineString("Language").has_value());
}
