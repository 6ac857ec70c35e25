#pragma once
// Memory for the vertices a tessellation hands to GLU and receives from it: entries of
// one size, taken one after another from blocks that never move, all freed together
// with the pool.

#include <cstddef>
#include <memory>
#include <vector>

class TVectorPool {
public:
    // Both at least 1 (assertion). The first block is allocated at once.
    TVectorPool(int entriesPerBlock, int entrySize);
    ~TVectorPool();
    TVectorPool(const TVectorPool&) = delete;
    TVectorPool& operator=(const TVectorPool&) = delete;

    // A new entry (uninitialised); a full block makes a new one current.
    void* GetNewVector()
    {
        if (used_ >= entriesPerBlock_) {
            AddBlock();
        }
        return blocks_.back().get() + static_cast<std::size_t>(used_++) * entrySize_;
    }

    int EntrySize() const { return entrySize_; }
    int EntriesPerBlock() const { return entriesPerBlock_; }
    int BlockCount() const { return static_cast<int>(blocks_.size()); }

private:
    void AddBlock();

    int entrySize_;
    int entriesPerBlock_;
    int used_ = 0;
    std::vector<std::unique_ptr<std::byte[]>> blocks_;
};
