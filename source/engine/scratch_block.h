// A work copy for a filter (a row, a few rows, an image), taken from the platform's
// movable memory so that a test can make it fail. Locked for its whole life.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

class ScratchBlock {
public:
    explicit ScratchBlock(size_t bytes) {
        if (bytes == 0) return;
        handle_ = plat::MemAlloc(bytes);
        if (handle_) data_ = static_cast<uint8_t*>(plat::MemLock(handle_));
    }
    ~ScratchBlock() {
        if (!handle_) return;
        if (data_) plat::MemUnlock(handle_);
        plat::MemFree(handle_);
    }
    ScratchBlock(const ScratchBlock&) = delete;
    ScratchBlock& operator=(const ScratchBlock&) = delete;

    uint8_t* data() const { return data_; }  // nullptr when the allocation failed
    bool ok() const { return data_ != nullptr; }

private:
    plat::MemHandle handle_ = nullptr;
    uint8_t* data_ = nullptr;
};
