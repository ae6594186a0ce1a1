#include "platform/IniSettingsStore.h"
#include "platform/qt/QtSettingsStore.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

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

// Values the command-line tool and the desktop program must read alike,
// whichever of them wrote them: the INI escapes of keys and values.
const std::vector<std::tuple<std::string, std::string, std::string>> kAwkwardValues = {
    {"Config", "CodePage", "932"},
    {"Recent File List", "File1", "/data/plant a.ldtx"},
    {"Recent File List", "File2", "/data/\u65e5\u672c/\u30c7\u30fc\u30bf.ldtx"},
    {"Settings", "Spaces", "  lead and trail  "},
    {"Settings", "Specials", "a;b,c=d \"quoted\" back\\slash"},
    {"Settings", "At", "@at the start"},
    {"Settings", "Controls",
     "tab\there\nline\x01"
     "ab\x7f"},
    {"Settings", "Empty", ""},
    {"Settings", "Key with/slash", "x"},
    {"D\u00fcsseldorf \u5de5\u5834", "\u00e4%", "Latin and wide names"},
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

TEST_F(QtSettingsStoreTest, TheToolReadsWhatTheProgramWrote)
{
    {
        platform::QtSettingsStore program;
        for (const auto& [section, name, value] : kAwkwardValues)
            program.SetUserString(section, name, value);
        program.SetUserInt("Config", "DispRadix", 2);
    }
    platform::IniSettingsStore tool;
    EXPECT_EQ(fs::path(tool.UserFileName()), root / "user" / "Varnholt" / "Memorix.conf");
    for (const auto& [section, name, value] : kAwkwardValues)
        EXPECT_EQ(tool.GetUserString(section, name, "absent"), value) << section << "/" << name;
    EXPECT_EQ(tool.GetUserInt("Config", "DispRadix", 3), 2);
    EXPECT_EQ(tool.GetUserInt("Config", "CodePage", 0), 932);
    EXPECT_EQ(tool.GetUserInt("Settings", "Spaces", 5), 5);
    EXPECT_EQ(tool.GetUserString("Config", "Missing", "absent"), "absent");
}

TEST_F(QtSettingsStoreTest, TheProgramReadsWhatTheToolWrote)
{
    {
        platform::IniSettingsStore tool;
        for (const auto& [section, name, value] : kAwkwardValues)
            tool.SetUserString(section, name, value);
        tool.SetUserInt("Config", "DispRadix", -2);
        tool.SetUserString("Config", "Gone", "soon");
        tool.RemoveUserValue("Config", "Gone");
    }
    platform::QtSettingsStore program;
    for (const auto& [section, name, value] : kAwkwardValues)
        EXPECT_EQ(program.GetUserString(section, name, "absent"), value) << section << "/" << name;
    EXPECT_EQ(program.GetUserInt("Config", "DispRadix", 3), -2);
    EXPECT_EQ(program.GetUserString("Config", "Gone", "absent"), "absent");
}

TEST_F(QtSettingsStoreTest, TheToolFindsTheMachineKeyWhereTheProgramDoes)
{
    platform::IniSettingsStore before;
    EXPECT_FALSE(before.MachineKeyExists());
    WriteMachineFile("; written by the installation\n[General]\nLangMax = 10\nLanguage=\"Korean\" ; a comment\n"
                     "RegisteredOwner=Ada, Lovelace\nRegisteredOrganization=@Invalid()\n[Config]\nDispRadix=0\n");
    platform::IniSettingsStore tool;
    platform::QtSettingsStore program;
    EXPECT_TRUE(tool.MachineKeyExists());
    for (const char* name : {"LangMax", "Language", "RegisteredOwner", "RegisteredOrganization", "DispRadix"})
        EXPECT_EQ(tool.GetMachineString(name), program.GetMachineString(name)) << name;
    EXPECT_EQ(tool.GetMachineString("LangMax"), "10");
    EXPECT_EQ(tool.GetMachineString("Language"), "Korean");
    EXPECT_EQ(tool.GetUserInt("Config", "DispRadix", 3), 3);
}
