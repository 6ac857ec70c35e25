#pragma once
// Hands the heap's free pages back to the system. The allocator keeps memory that was
// freed in the middle of its heap: after a path of millions of small polylines is cleared
// the process went on holding a gigabyte it no longer used.

#include <cstdint>

void ReturnFreedMemoryToSystem();

// How often freed memory was handed back since the start: what shows that a clear did,
// where the resident memory it gives back is too little to tell (a small preview).
std::uint64_t FreedMemoryReturns();
