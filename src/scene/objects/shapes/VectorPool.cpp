#include "scene/objects/shapes/VectorPool.h"

#include "platform/core/Assert.h"

TVectorPool::TVectorPool(int entriesPerBlock, int entrySize) : entrySize_(entrySize), entriesPerBlock_(entriesPerBlock)
{
    KP_ASSERT(entriesPerBlock >= 1);
    KP_ASSERT(entrySize >= 1);
    AddBlock();
}

TVectorPool::~TVectorPool()
{
    while (!blocks_.empty()) {
        blocks_.pop_back();
    }
}

void TVectorPool::AddBlock()
{
    blocks_.push_back(std::make_unique_for_overwrite<std::byte[]>(static_cast<std::size_t>(entriesPerBlock_) *
                                                                  static_cast<std::size_t>(entrySize_)));
    used_ = 0;
}
