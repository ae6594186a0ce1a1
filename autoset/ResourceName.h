#pragma once

// The names under which the auto-setting library looks for its language
// library: "<folder>/QelPortavo<suffix>[<version digits>].so".

#include <string>

namespace portavo {

inline constexpr const char* kResourceBaseName = "QelPortavo";

// "Enu", "Jpn", "Chs", "Cht", "Kor", "Esp", "Ita", "Deu", "Fra", "Thi" for
// 0 to 9; empty for any other index.
const char* LanguageSuffix(int language);

// The language index of a locale name such as "zh_TW.UTF-8": zh_TW, zh_HK
// and zh_MO give 3 (traditional Chinese), other zh 2, de 7, es 5, fr 8,
// it 6, ja 1, ko 4, th 9; anything else, "C" and empty too, 0.
int LanguageOfLocale(const std::string& locale);

// The system's default language: LC_ALL, else LC_MESSAGES, else LANG.
int SystemLanguage();

// folder (with its separator, or empty) + base name + suffix + version digits
// ("%03d" of version / 100 when version is not -1 and that is not 0) + ".so".
std::string ResourceLibraryPath(const std::string& folder, int language, int version, bool withVersion);

} // namespace portavo
