#pragma once
// The memory readings the benchmarks report beside their times.

#include <malloc.h>
#include <sys/resource.h>

#include <cstddef>
#include <cstdio>
#include <unistd.h>

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

// The process's resident memory now.
inline double RssMB()
{
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6;
}

} // namespace benchmemory
