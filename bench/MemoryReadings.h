#pragma once
// The memory readings the benchmarks report beside their times.

#include <malloc.h>
#include <sys/resource.h>

#include <cstddef>

namespace benchmemory {

// The heap in use, malloc's own mapped blocks included.
inline std::size_t HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

inline double HeapInUseMB()
{
    return static_cast<double>(HeapInUse()) / 1e6;
}

// The whole process's peak resident memory so far.
inline double PeakRssMB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

} // namespace benchmemory
