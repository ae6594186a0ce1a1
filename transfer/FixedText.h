#pragma once

// Text in the fixed ANSI buffers the communication libraries read and fill.

#include <cstddef>
#include <string>
#include <vector>

// A zeroed buffer of size bytes holding text cut to size - 1 bytes, so that it
// always ends in a zero.
std::vector<char> ZeroedText(const std::string& text, std::size_t size);

// The text in a buffer of size bytes: up to the first zero, or all size bytes
// when the library left no zero.
std::string TextOf(const char* buffer, std::size_t size);
