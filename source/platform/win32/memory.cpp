// Movable global memory: the handles are real HGLOBALs, so a bitmap or container handed to
// the application is one it can lock and free itself.
#include "platform/win32/win32_api.h"

namespace plat {

MemHandle MemAlloc(size_t bytes) { return ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes); }

void* MemLock(MemHandle h) { return h ? ::GlobalLock(h) : nullptr; }

bool MemUnlock(MemHandle h) {
    if (!h) return false;
    // GlobalUnlock answers FALSE both for "now unlocked" and for failure; the last error tells.
    ::SetLastError(NO_ERROR);
    if (::GlobalUnlock(h)) return true;
    return ::GetLastError() == NO_ERROR;
}

bool MemFree(MemHandle h) { return h && ::GlobalFree(h) == nullptr; }

size_t MemSize(MemHandle h) { return h ? ::GlobalSize(h) : 0; }

}  // namespace plat
