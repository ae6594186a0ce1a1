#pragma once

#include <functional>
#include <string_view>

namespace platform {

// Diagnostic text for developers, never shown to the user: standard error by default.
void DebugOutput(std::string_view text);

using DebugSink = std::function<void(std::string_view)>;

// Redirects the debug output (tests capture it); returns the previous sink.
// An empty sink restores standard error.
DebugSink SetDebugSink(DebugSink sink);

} // namespace platform
