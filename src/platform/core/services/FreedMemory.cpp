#include "platform/core/services/FreedMemory.h"

#include <atomic>
#include <cstdlib> // defines __GLIBC__ where the C library is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {
std::atomic<std::uint64_t> Returns{0};
}

void ReturnFreedMemoryToSystem()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
    ++Returns;
}

std::uint64_t FreedMemoryReturns()
{
    return Returns.load();
}
