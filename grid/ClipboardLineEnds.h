#pragma once

#include <string>
#include <string_view>

// Clipboard text from other programs on this platform often ends its lines
// with LF alone (or, rarely, CR alone), while the grid's paste reads lines
// ended by CR LF. Here it is decided that a lone CR or a lone LF ends a row
// just as CR LF does: each becomes CR LF, and CR LF stays as it is.
std::string WithCrLfLineEnds(std::string_view text);
