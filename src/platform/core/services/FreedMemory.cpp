#include "platform/core/services/FreedMemory.h"

#include <cstdlib> // defines __GLIBC__ where the C library is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void ReturnFreedMemoryToSystem()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
