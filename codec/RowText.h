#pragma once

#include "platform/CodePage.h"

#include <cstdint>
#include <span>
#include <string>

namespace codec {

// The text column of the hexadecimal grid: a row's bytes read in a code page.
// In a double-byte code page a lead byte stays only together with the trail
// byte after it; a lead byte without one, and a zero byte, become '.'. In a
// single-byte code page every byte is a character and the text ends at the
// first zero byte. Other control bytes stay as they are.
std::string RowText(std::span<const std::uint8_t> bytes, const platform::CodePage& page);

} // namespace codec
