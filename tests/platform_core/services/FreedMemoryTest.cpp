// Memory freed in the middle of the heap goes back to the system: what a cleared path
// of millions of small polylines leaves.

#include "platform/core/services/FreedMemory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

[[maybe_unused]] long ResidentPages()
{
    long pages = 0;
    long resident = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr) {
        return -1;
    }
    const int read = std::fscanf(statm, "%ld %ld", &pages, &resident);
    std::fclose(statm);
    return read == 2 ? resident : -1;
}

TEST(FreedMemory, SmallBlocksFreedBelowALiveOneGoBack)
{
#if defined(__SANITIZE_ADDRESS__) || !defined(__GLIBC__)
    GTEST_SKIP() << "glibc's own heap only";
#else
    constexpr std::size_t Blocks = 1 << 20;
    std::vector<std::unique_ptr<char[]>> blocks(Blocks);
    for (auto& block : blocks) {
        block = std::make_unique<char[]>(96);
        block[0] = 1; // touched: resident
    }
    // A block above them all keeps the heap's top where it is.
    const auto above = std::make_unique<char[]>(96);
    const long before = ResidentPages();
    blocks.clear();
    blocks.shrink_to_fit();
    ReturnFreedMemoryToSystem();
    const long after = ResidentPages();
    ASSERT_GT(before, 0);
    const long freedPages = static_cast<long>(Blocks * 112 / static_cast<std::size_t>(sysconf(_SC_PAGESIZE)));
    EXPECT_LT(after, before - freedPages / 2) << "of " << freedPages << " pages freed";
#endif
}

} // namespace
