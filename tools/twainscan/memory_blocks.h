// Movable memory blocks as TWAIN passes them between application and source: capability
// containers the application allocates, containers and native bitmaps the source hands over.
// Windows uses the global-memory functions; host tests give their own blocks.
#pragma once

#include <cstddef>

#include "common/twain.h"

namespace twainscan {

class MemoryBlocks {
public:
    virtual ~MemoryBlocks() = default;
    virtual TW_HANDLE Alloc(size_t bytes) = 0;  // zero-filled; nullptr on failure
    virtual void* Lock(TW_HANDLE block) = 0;    // nullptr when it cannot be locked
    virtual size_t Size(TW_HANDLE block) = 0;   // 0 when unknown
    virtual void Unlock(TW_HANDLE block) = 0;
    virtual void Free(TW_HANDLE block) = 0;
};

}  // namespace twainscan
