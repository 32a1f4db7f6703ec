#include <windows.h>

#include "tools/twainscan/win32_services.h"

namespace twainscan {
namespace {

class GlobalMemoryBlocks : public MemoryBlocks {
public:
    TW_HANDLE Alloc(size_t bytes) override { return GlobalAlloc(GHND, bytes); }
    void* Lock(TW_HANDLE block) override { return GlobalLock(block); }
    size_t Size(TW_HANDLE block) override { return GlobalSize(block); }
    void Unlock(TW_HANDLE block) override { GlobalUnlock(block); }
    void Free(TW_HANDLE block) override { GlobalFree(block); }
};

}  // namespace

std::unique_ptr<MemoryBlocks> MakeGlobalMemoryBlocks() { return std::make_unique<GlobalMemoryBlocks>(); }

}  // namespace twainscan
