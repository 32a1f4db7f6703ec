// The Windows directory, the temporary path and unique temporary names.
#include "platform/win32/win32_api.h"

namespace plat {

// Both system calls answer the size needed (more than size) when the buffer is too small; the
// seam answers 0 then.
uint32_t WindowsDirectory(char* out, uint32_t size) {
    if (!out || size == 0) return 0;
    UINT n = ::GetWindowsDirectoryA(out, size);
    return (n == 0 || n >= size) ? 0 : n;
}

uint32_t TempPath(char* out, uint32_t size) {
    if (!out || size == 0) return 0;
    DWORD n = ::GetTempPathA(size, out);
    return (n == 0 || n >= size) ? 0 : n;
}

uint32_t TempFileName(const char* dir, const char* prefix, uint32_t unique, char* out) {
    if (!dir || !out) return 0;
    return ::GetTempFileNameA(dir, prefix ? prefix : "", unique, out);
}

}  // namespace plat
