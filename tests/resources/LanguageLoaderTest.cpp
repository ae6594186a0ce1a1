#include "resources/LanguageLoader.h"

#include "platform/ConsoleMessageBox.h"
#include "platform/DebugOutput.h"
#include "platform/MemorySettingsStore.h"

#include "TestBinDir.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

// Machine settings: nullopt leaves a value out; the key exists as soon as a
// value is set or keyExists is true.
platform::MemorySettingsStore Machine(bool keyExists, std::optional<std::string> langMax,
                                      std::optional<std::string> language)
{
    platform::MemorySettingsStore settings;
    settings.SetMachineKeyExists(keyExists);
    if (langMax)
        settings.SetMachineString("LangMax", *langMax);
    if (language)
        settings.SetMachineString("Language", *language);
    return settings;
}

class LanguageLoading : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_messages.SetStream(nullptr);
        platform::SetDebugSink([this](std::string_view text) { m_debug += std::string(text) + '\n'; });
    }
    void TearDown() override { platform::SetDebugSink({}); }

    // Loads with the given settings and returns the one message shown, or "" when none.
    std::string LoadAndMessage(const platform::ISettingsStore& settings, const std::string& folder, bool expectLoaded)
    {
        m_messages.ClearShown();
        EXPECT_EQ(LoadLanguageResources(settings, folder, m_handle, m_messages), expectLoaded);
        EXPECT_EQ(m_handle.IsLoaded(), expectLoaded);
        if (m_messages.Shown().empty())
            return {};
        EXPECT_EQ(m_messages.Shown().size(), 1u);
        const platform::MessageRequest& shown = m_messages.Shown().front();
        EXPECT_EQ(shown.stringId, 0);
        EXPECT_EQ(shown.icon, platform::MsgIcon::None);
        EXPECT_EQ(shown.buttons, platform::MsgButtons::Ok);
        return shown.text;
    }

    platform::ConsoleMessageBox m_messages;
    CResourceHandle m_handle;
    std::string m_debug;
};

} // namespace

TEST(LanguageIndex, FollowsTheMachineSettings)
{
    const std::string tooLong(128, '1');
    struct Case {
        const char* what;
        bool keyExists;
        std::optional<std::string> langMax;
        std::optional<std::string> language;
        int expected;
    };
    const Case cases[] = {
        {"no machine key", false, std::nullopt, std::nullopt, LANGUAGE_ENGLISH},
        {"key without LangMax", true, std::nullopt, "English", LANGUAGE_NONE},
        {"LangMax 0", true, "0", "English", LANGUAGE_NONE},
        {"LangMax empty", true, "", "English", LANGUAGE_NONE},
        {"LangMax not a number", true, "many", "English", LANGUAGE_NONE},
        {"LangMax -0", true, " -0", "Korean", LANGUAGE_NONE},
        {"LangMax too long to read", true, tooLong, "Korean", LANGUAGE_NONE},
        {"LangMax with trailing text", true, " 9 languages", "Korean", LANGUAGE_KOREAN},
        {"LangMax negative", true, "-1", "Korean", LANGUAGE_KOREAN},
        {"LangMax huge", true, "99999999999999999999", "Korean", LANGUAGE_KOREAN},
        {"German in lower case", true, "10", "german", LANGUAGE_GERMAN},
        {"Korean in capitals", true, "10", "KOREAN", LANGUAGE_KOREAN},
        {"Japanese", true, "10", "Japanese", 1},
        {"Chinese_t mixed case", true, "10", "cHINESE_t", 3},
        {"Thai, the last", true, "10", "thai", 9},
        {"Language missing", true, "10", std::nullopt, LANGUAGE_ENGLISH},
        {"Language empty", true, "10", "", LANGUAGE_ENGLISH},
        {"Language unknown", true, "10", "Klingon", LANGUAGE_ENGLISH},
        {"Language with a blank", true, "10", "Korean ", LANGUAGE_ENGLISH},
        {"Language cut at a zero", true, "10", std::string("Korean\0x", 8), LANGUAGE_KOREAN},
    };
    for (const Case& c : cases) {
        const platform::MemorySettingsStore settings = Machine(c.keyExists, c.langMax, c.language);
        EXPECT_EQ(GetLanguageIndex(settings), c.expected) << c.what;
    }
}

TEST_F(LanguageLoading, LoadsTheEnglishLibraryFromTheProgramFolder)
{
    EXPECT_EQ(LoadAndMessage(Machine(false, std::nullopt, std::nullopt), TestBinDir(), true), "");
    EXPECT_EQ(m_handle.Language(), "Enu");
    EXPECT_EQ(m_handle.LoadString(57344), "Memorix");

    // An explicit English setting, and a folder given with its separator.
    EXPECT_EQ(LoadAndMessage(Machine(true, "10", "ENGLISH"), TestBinDir() + "/", true), "");
    EXPECT_EQ(m_handle.LoadString(57344), "Memorix");
}

TEST_F(LanguageLoading, FailureNamesTheLanguageSuffix)
{
    // Without LangMax no library is chosen, even though English would be there.
    EXPECT_EQ(LoadAndMessage(Machine(true, std::nullopt, "English"), TestBinDir(), false),
              "MemorixEnu Resource file cannot be read.");
    // Korean has a library name, but no such library is installed here.
    EXPECT_EQ(LoadAndMessage(Machine(true, "10", "KOREAN"), TestBinDir(), false),
              "MemorixKor Resource file cannot be read.");
    EXPECT_NE(m_debug.find("MEMORIXKor.so"), std::string::npos) << m_debug;
    // German has no library at all.
    EXPECT_EQ(LoadAndMessage(Machine(true, "10", "german"), TestBinDir(), false),
              "MemorixEnu Resource file cannot be read.");
}

TEST_F(LanguageLoading, FailsWithoutALibraryInTheFolder)
{
    const platform::MemorySettingsStore english = Machine(false, std::nullopt, std::nullopt);
    ASSERT_EQ(LoadAndMessage(english, TestBinDir(), true), "");
    // A failure also empties a handle loaded before.
    EXPECT_EQ(LoadAndMessage(english, TestBinDir() + "/no-such-folder", false),
              "MemorixEnu Resource file cannot be read.");
    EXPECT_EQ(m_handle.LoadString(57344), "");
    // An unknown program folder does not send the loader searching elsewhere.
    EXPECT_EQ(LoadAndMessage(english, "", false), "MemorixEnu Resource file cannot be read.");
}

TEST(RegisteredUser, ReadsOwnerAndOrganizationWithinTheirLimits)
{
    std::string owner = "old";
    std::string organization = "old";
    platform::MemorySettingsStore settings;
    settings.SetMachineString("RegisteredOwner", "Erika Mustermann");
    GetRegisteredUser(settings, owner, organization);
    EXPECT_EQ(owner, "Erika Mustermann");
    EXPECT_EQ(organization, "");

    // 100 and 200 UTF-16 units: a character outside the basic plane takes two
    // and is dropped whole; 'ü' takes one although it is two bytes in UTF-8.
    settings.SetMachineString("RegisteredOwner", std::string(99, 'a') + "\xF0\x9F\x94\xA7" + "b");
    settings.SetMachineString("RegisteredOrganization", std::string(199, 'o') + "\xC3\xBC" + "xyz");
    GetRegisteredUser(settings, owner, organization);
    EXPECT_EQ(owner, std::string(99, 'a'));
    EXPECT_EQ(organization, std::string(199, 'o') + "\xC3\xBC");

    settings.SetMachineKeyExists(false);
    GetRegisteredUser(settings, owner, organization);
    EXPECT_EQ(owner, "");
    EXPECT_EQ(organization, "");
}
