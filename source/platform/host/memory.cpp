// Movable memory blocks as a handle table. A handle is an opaque number in a range that is
// never a valid address, so code that uses a handle as a pointer crashes in the tests instead
// of working by accident; a freed handle is never given out again.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/host/host_control.h"
#include "platform/host/host_internal.h"
#include "platform/platform.h"

namespace plat {
namespace {

struct FreeBytes {
    void operator()(unsigned char* p) const { std::free(p); }
};

struct Block {
    // calloc, not new[]() and its memset: a large block comes zeroed from the system as it is,
    // and only the pages the program touches are ever paid for.
    std::unique_ptr<unsigned char, FreeBytes> data;  // null for a 0-byte block
    size_t size = 0;
    int locks = 0;
};

// Non-canonical on x86-64: dereferencing faults. Ids are spaced by 16 so that a handle plus a
// small offset is not another handle.
constexpr uintptr_t kHandleBase = uintptr_t(0x4B56) << 48;
// No 32-bit Windows process gets a larger block; refusing it here keeps a runaway size from
// exhausting the test machine.
constexpr size_t kLargestBlock = 0xFFFFFFFFu;

std::mutex gMutex;
std::unordered_map<uintptr_t, Block> gBlocks;
uintptr_t gNextId = 1;
unsigned gFailAt = 0;  // counts down; the allocation that brings it to 0 fails
size_t gLargestAllowed = kLargestBlock;

MemHandle ToHandle(uintptr_t id) { return reinterpret_cast<MemHandle>(kHandleBase + id * 16); }

Block* Find(MemHandle h) {
    auto it = gBlocks.find(reinterpret_cast<uintptr_t>(h));
    return it == gBlocks.end() ? nullptr : &it->second;
}

}  // namespace

MemHandle MemAlloc(size_t bytes) {
    std::lock_guard lock(gMutex);
    if (gFailAt != 0 && --gFailAt == 0) return nullptr;
    if (bytes > kLargestBlock || bytes > gLargestAllowed) return nullptr;
    Block block;
    if (bytes > 0) {
        block.data.reset(static_cast<unsigned char*>(std::calloc(bytes, 1)));
        if (!block.data) return nullptr;
    }
    block.size = bytes;
    MemHandle h = ToHandle(gNextId++);
    gBlocks.emplace(reinterpret_cast<uintptr_t>(h), std::move(block));
    return h;
}

void* MemLock(MemHandle h) {
    std::lock_guard lock(gMutex);
    Block* block = Find(h);
    if (!block || !block->data) return nullptr;
    ++block->locks;
    return block->data.get();
}

bool MemUnlock(MemHandle h) {
    std::lock_guard lock(gMutex);
    Block* block = Find(h);
    if (!block || block->locks == 0) return false;
    --block->locks;
    return true;
}

bool MemFree(MemHandle h) {
    std::lock_guard lock(gMutex);
    return gBlocks.erase(reinterpret_cast<uintptr_t>(h)) == 1;
}

size_t MemSize(MemHandle h) {
    std::lock_guard lock(gMutex);
    Block* block = Find(h);
    return block ? block->size : 0;
}

namespace host {

void FailAllocationAt(unsigned n) {
    std::lock_guard lock(gMutex);
    gFailAt = n;
}

void FailAllocationsAbove(size_t bytes) {
    std::lock_guard lock(gMutex);
    gLargestAllowed = bytes == 0 ? kLargestBlock : bytes;
}

size_t LiveBlocks() {
    std::lock_guard lock(gMutex);
    return gBlocks.size();
}

int LockCount(MemHandle h) {
    std::lock_guard lock(gMutex);
    Block* block = Find(h);
    return block ? block->locks : -1;
}

namespace internal {

void ResetMemory() {
    std::lock_guard lock(gMutex);
    gBlocks.clear();
    gFailAt = 0;
    gLargestAllowed = kLargestBlock;
}

}  // namespace internal
}  // namespace host
}  // namespace plat
