#pragma once

#include "platform/CodePage.h"

#include <vector>

namespace platform {

inline constexpr int kCodePageWestern = 1252;
inline constexpr int kCodePageJapanese = 932;
inline constexpr int kCodePageSimplifiedChinese = 936;
inline constexpr int kCodePageKorean = 949;
inline constexpr int kCodePageTraditionalChinese = 950;

// The page of a Windows code page number: 1252, and 932, 936, 949 and 950
// where the system's iconv has them. Null for any other number. The pages live
// as long as the program.
const CodePage* CodePageByNumber(int number);

// The numbers CodePageByNumber knows on this machine.
std::vector<int> AvailableCodePages();

// The number of the page the program uses now (1252 until one is chosen).
int AnsiCodePageNumber();
// Makes the page of number the program's code page; false, and nothing
// changes, when the number is unknown.
bool SelectAnsiCodePage(int number);

} // namespace platform
