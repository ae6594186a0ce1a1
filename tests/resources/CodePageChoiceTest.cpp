#include "platform/MemorySettingsStore.h"
#include "resources/CodePageChoice.h"

#include <gtest/gtest.h>

// The code page follows the installation's language until the user picks one.
TEST(CodePageChoice, FollowsTheLanguageUnlessTheUserChose)
{
    platform::MemorySettingsStore settings;
    EXPECT_EQ(ChosenCodePage(settings), 1252);
    settings.SetMachineString("LangMax", "1");
    settings.SetMachineString("Language", "Japanese");
    EXPECT_EQ(ChosenCodePage(settings), 932);
    settings.SetMachineString("Language", "German");
    EXPECT_EQ(ChosenCodePage(settings), 1252);
    settings.SetMachineString("Language", "Korean");
    EXPECT_EQ(ChosenCodePage(settings), 949);

    settings.SetUserInt("Config", "CodePage", 936);
    EXPECT_EQ(ChosenCodePage(settings), 936);
    settings.SetUserInt("Config", "CodePage", 12345); // unknown: the language's page
    EXPECT_EQ(ChosenCodePage(settings), 949);
}
