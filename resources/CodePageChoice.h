#pragma once

#include "platform/ISettingsStore.h"

// The code page of the text column, the text editor, CSV files and the
// clipboard: the user's "CodePage" setting (section "Config") when it names a
// page this machine has, otherwise the page of the language: 932 for Japanese,
// 936 and 950 for the two Chinese languages, 949 for Korean, 1252 for the rest.

int LanguageCodePage(int languageIndex);
int ChosenCodePage(const platform::ISettingsStore& settings);
// Makes the chosen page the program's code page and returns its number.
int SelectChosenCodePage(const platform::ISettingsStore& settings);
