#pragma once

#include "platform/ISettingsStore.h"
#include "platform/MessageBox.h"
#include "resources/CResourceHandle.h"

#include <string>

// The user-interface languages. The installation writes the language into the
// machine settings ("LangMax", "Language"); the index chooses the language
// library the program loads at start-up and is handed on to the communication
// libraries.

constexpr int LANGUAGE_NONE = -1; // LangMax missing or 0 while the machine key exists
constexpr int LANGUAGE_ENGLISH = 0;
constexpr int LANGUAGE_JAPANESE = 1;
constexpr int LANGUAGE_KOREAN = 4;
constexpr int LANGUAGE_GERMAN = 7;
constexpr int LANGUAGE_COUNT = 10; // indexes 0 to 9

struct LanguageInfo {
    const char* name;    // the "Language" setting, compared without regard to case
    const char* library; // file name without the platform's suffix; null when there is no library
    const char* suffix;  // "Enu", ...; also shown when the library cannot be loaded
};

// The row of the language table for index; LANGUAGE_NONE and any index outside
// 0 to 9 give the row without a name and library, suffix "Enu".
const LanguageInfo& GetLanguageInfo(int index);

// The library file of a language index ("MEMORIXEnu.so"); empty when the
// index has no library.
std::string GetLanguageLibraryName(int index);

// The language index from the machine settings: 0 when the machine key is
// absent; LANGUAGE_NONE when LangMax is missing or reads as 0; otherwise the
// first language whose name equals "Language" without regard to case, and 0
// when it is empty or matches none.
int GetLanguageIndex(const platform::ISettingsStore& settings);

// Loads the language library chosen by the settings from programFolder into
// out. On failure shows "Memorix<suffix> Resource file cannot be read." in a
// plain message box (a text of the program itself: there are no resources to
// take it from) and returns false; out is then empty.
bool LoadLanguageResources(const platform::ISettingsStore& settings, const std::string& programFolder,
                           CResourceHandle& out, platform::IMessageBox& messages);

// The registered owner and organization from the machine settings, at most
// 100 and 200 UTF-16 characters (longer values are cut at a character
// boundary); empty when the machine key or the value is missing.
void GetRegisteredUser(const platform::ISettingsStore& settings, std::string& owner, std::string& organization);
