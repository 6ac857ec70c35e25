#include "platform/core/OSError.h"

#include <cerrno>
#include <cstring>

void RaiseOSError()
{
    RaiseOSError(errno);
}

void RaiseOSError(int errorCode)
{
    // strerror_r (GNU) may return a static text instead of filling the buffer.
    char buffer[256] = {};
    const char* text = strerror_r(errorCode, buffer, sizeof buffer);
    throw EOSError(std::string("OS Error : ") + text, errorCode);
}
