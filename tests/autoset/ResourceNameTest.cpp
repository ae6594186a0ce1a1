// Which language library the auto-set looks for, and what it says when none is there.

#include "autoset/ResourceLibrary.h"
#include "autoset/ResourceName.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace portavo;

namespace {

ResourceLookup Folder(const std::string& folder, std::string* message = nullptr)
{
    ResourceLookup lookup;
    lookup.folder = [folder](int, int, int) { return folder; };
    lookup.notFound = [message](const std::string& text) {
        if (message)
            *message = text;
    };
    return lookup;
}

void UseLocale(const char* lang)
{
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    setenv("LANG", lang, 1);
}

TEST(ResourceName, CandidatesInOrder)
{
    UseLocale("en_US.UTF-8");
    // Language 9 with version 700: Thai with the version's hundreds.
    auto paths = ResourceLibrary::Candidates(9, 700, Folder("/res"));
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_EQ(paths[0], "/res/QelPortavoThi007.so");
    EXPECT_EQ(paths[1], "/res/QelPortavoEnu.so");
    EXPECT_EQ(paths[2], "/res/QelPortavoEnu.so");
    // A version below 100 and -1 add no digits; a language out of the table no suffix.
    EXPECT_EQ(ResourceLibrary::Candidates(1, 99, Folder("/res"))[0], "/res/QelPortavoJpn.so");
    EXPECT_EQ(ResourceLibrary::Candidates(1, -1, Folder("/res"))[0], "/res/QelPortavoJpn.so");
    EXPECT_EQ(ResourceLibrary::Candidates(12, 1234, Folder("/res"))[0], "/res/QelPortavo012.so");
    // No folder from the communication library: the name alone.
    EXPECT_EQ(ResourceLibrary::Candidates(0, -1, Folder(""))[0], "QelPortavoEnu.so");
}

TEST(ResourceName, SystemLanguageFromTheLocale)
{
    UseLocale("zh_TW.UTF-8");
    auto paths = ResourceLibrary::Candidates(-1, 700, Folder("/res"));
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0], "/res/QelPortavoCht.so");
    EXPECT_EQ(paths[1], "/res/QelPortavoEnu.so");
    EXPECT_EQ(LanguageOfLocale("zh_HK"), 3);
    EXPECT_EQ(LanguageOfLocale("zh_CN.GB2312"), 2);
    EXPECT_EQ(LanguageOfLocale("de_AT@euro"), 7);
    EXPECT_EQ(LanguageOfLocale("ja_JP.UTF-8"), 1);
    EXPECT_EQ(LanguageOfLocale("C"), 0);
    setenv("LC_MESSAGES", "ko_KR.UTF-8", 1);
    EXPECT_EQ(SystemLanguage(), 4);
    setenv("LC_ALL", "th_TH.UTF-8", 1);
    EXPECT_EQ(SystemLanguage(), 9);
}

TEST(ResourceName, LoadsTheBuiltLibraryOrSaysWhichIsMissing)
{
    UseLocale("fr_FR.UTF-8");
    const std::string bin = std::getenv("MEMORIX_BIN_DIR") ? std::getenv("MEMORIX_BIN_DIR") : ".";
    ResourceLibrary found;
    // French is not built: English is the last resort.
    ASSERT_TRUE(found.Load(8, -1, Folder(bin)));
    EXPECT_EQ(found.Path(), bin + "/QelPortavoEnu.so");
    EXPECT_NE(found.String(42), nullptr);
    EXPECT_NE(found.String(43), nullptr);
    EXPECT_NE(found.Dialog(129), nullptr);

    std::string message;
    ResourceLibrary missing;
    EXPECT_FALSE(missing.Load(9, 700, Folder("/nonexistent", &message)));
    EXPECT_EQ(message, "Can't find Resource DLL [/nonexistent/QelPortavoFra.so] !!!");
    EXPECT_EQ(missing.String(42), nullptr);
}

TEST(ResourceName, JapaneseLibraryHoldsWhatTheEnglishOneDoes)
{
    UseLocale("en_US.UTF-8");
    const std::string bin = std::getenv("MEMORIX_BIN_DIR") ? std::getenv("MEMORIX_BIN_DIR") : ".";
    ResourceLibrary japanese;
    ResourceLibrary english;
    ASSERT_TRUE(japanese.Load(1, -1, Folder(bin)));
    ASSERT_TRUE(english.Load(0, -1, Folder(bin)));
    EXPECT_EQ(japanese.Path(), bin + "/QelPortavoJpn.so");
    for (const unsigned id : {42u, 43u}) {
        ASSERT_NE(japanese.String(id), nullptr) << id;
        EXPECT_STRNE(japanese.String(id), english.String(id)) << id;
    }
    const PortavoDialog* dialog = japanese.Dialog(129);
    const PortavoDialog* reference = english.Dialog(129);
    ASSERT_NE(dialog, nullptr);
    ASSERT_NE(reference, nullptr);
    EXPECT_EQ(dialog->controlCount, reference->controlCount);
    for (std::uint32_t i = 0; i < reference->controlCount; ++i)
        EXPECT_NE(ControlText(dialog, reference->controls[i].id), nullptr) << reference->controls[i].id;
}

} // namespace
