#include "autoset/ResourceName.h"

#include "platform/LibraryLoader.h"

#include <cstdio>
#include <cstdlib>

namespace portavo {

const char* LanguageSuffix(int language)
{
    static const char* const kSuffixes[10] = {"Enu", "Jpn", "Chs", "Cht", "Kor", "Esp", "Ita", "Deu", "Fra", "Thi"};
    return language >= 0 && language < 10 ? kSuffixes[language] : "";
}

int LanguageOfLocale(const std::string& locale)
{
    const std::string lang = locale.substr(0, locale.find_first_of("_.@"));
    if (lang == "zh") {
        const auto underscore = locale.find('_');
        const std::string region = underscore == std::string::npos ? "" : locale.substr(underscore + 1, 2);
        return region == "TW" || region == "HK" || region == "MO" ? 3 : 2;
    }
    if (lang == "de")
        return 7;
    if (lang == "es")
        return 5;
    if (lang == "fr")
        return 8;
    if (lang == "it")
        return 6;
    if (lang == "ja")
        return 1;
    if (lang == "ko")
        return 4;
    if (lang == "th")
        return 9;
    return 0;
}

int SystemLanguage()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return LanguageOfLocale(value);
    }
    return 0;
}

std::string ResourceLibraryPath(const std::string& folder, int language, int version, bool withVersion)
{
    std::string path = folder + kResourceBaseName + LanguageSuffix(language);
    if (withVersion && version != -1 && version / 100 != 0) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%03d", version / 100);
        path += digits;
    }
    return path + platform::SharedLibrarySuffix();
}

} // namespace portavo
