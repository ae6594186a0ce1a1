#include "resources/CodePageChoice.h"

#include "platform/CodePages.h"
#include "resources/LanguageLoader.h"

int LanguageCodePage(int languageIndex)
{
    switch (languageIndex) {
    case LANGUAGE_JAPANESE: return platform::kCodePageJapanese;
    case 2: return platform::kCodePageSimplifiedChinese;
    case 3: return platform::kCodePageTraditionalChinese;
    case LANGUAGE_KOREAN: return platform::kCodePageKorean;
    default: return platform::kCodePageWestern;
    }
}

int ChosenCodePage(const platform::ISettingsStore& settings)
{
    const int chosen = settings.GetUserInt("Config", "CodePage", 0);
    if (chosen != 0 && platform::CodePageByNumber(chosen) != nullptr)
        return chosen;
    const int page = LanguageCodePage(GetLanguageIndex(settings));
    return platform::CodePageByNumber(page) != nullptr ? page : platform::kCodePageWestern;
}

int SelectChosenCodePage(const platform::ISettingsStore& settings)
{
    const int number = ChosenCodePage(settings);
    platform::SelectAnsiCodePage(number);
    return number;
}
