#include "platform/core/services/DebugLog.h"

#include <cstdio>
#include <utility>

namespace {

std::function<void(std::string_view)>& Sink()
{
    static std::function<void(std::string_view)> sink;
    return sink;
}

} // namespace

void DebugLog(std::string_view message)
{
    if (Sink()) {
        Sink()(message);
    } else {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(message.size()), message.data());
    }
}

std::function<void(std::string_view)> SetDebugLogSink(std::function<void(std::string_view)> sink)
{
    return std::exchange(Sink(), std::move(sink));
}
