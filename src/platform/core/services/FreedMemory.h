#pragma once
// Hands the heap's free pages back to the system. The allocator keeps memory that was
// freed in the middle of its heap: after a path of millions of small polylines is cleared
// the process went on holding a gigabyte it no longer used.

void ReturnFreedMemoryToSystem();
