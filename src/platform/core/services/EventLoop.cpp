#include "platform/core/services/EventLoop.h"

namespace {
IEventLoop* gLoop = nullptr;
}

IEventLoop* SetEventLoop(IEventLoop* loop)
{
    IEventLoop* previous = gLoop;
    gLoop = loop;
    return previous;
}

IEventLoop* GetEventLoop()
{
    return gLoop;
}

void ProcessPendingEvents()
{
    if (gLoop) {
        gLoop->ProcessPendingEvents();
    }
}

std::string ExceptionMessage(std::exception_ptr error)
{
    try {
        if (error) {
            std::rethrow_exception(error);
        }
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
    }
    return "Unknown exception";
}
