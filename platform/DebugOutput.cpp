#include "platform/DebugOutput.h"

#include <cstdio>
#include <utility>

namespace platform {
namespace {

DebugSink& Sink()
{
    static DebugSink sink;
    return sink;
}

} // namespace

void DebugOutput(std::string_view text)
{
    if (Sink()) {
        Sink()(text);
        return;
    }
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

DebugSink SetDebugSink(DebugSink sink)
{
    return std::exchange(Sink(), std::move(sink));
}

} // namespace platform
