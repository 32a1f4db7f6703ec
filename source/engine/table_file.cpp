#include "engine/table_file.h"

#include <cstdio>

#include "platform/platform.h"

bool TableFilePath(const char* folder, const char* name, char* out, uint32_t size) {
    char windows[260];
    const uint32_t length = plat::WindowsDirectory(windows, sizeof windows);
    if (length == 0 || length >= sizeof windows) return false;
    const int written = std::snprintf(out, size, "%s\\TWAIN_32\\%s\\%s", windows, folder, name);
    return written > 0 && uint32_t(written) < size;
}

int64_t ReadTableFile(const char* path, uint8_t* buffer) {
    const int64_t size = plat::FileSize(path);
    if (size < 0 || size > kTableFileLimit) return -1;
    const plat::FileHandle file = plat::FileOpen(path, plat::FileAccess::Read);
    if (file == plat::kNoFile) return -1;
    // Read until the end rather than trusting the size asked above: the file may have
    // changed since, and one byte of room past the limit shows a file that grew beyond it.
    int64_t total = 0;
    for (;;) {
        const int64_t got = plat::FileRead(file, buffer + total, size_t(kTableFileLimit + 1 - total));
        if (got < 0) total = -1;
        if (got <= 0) break;
        total += got;
        if (total > kTableFileLimit) {
            total = -1;
            break;
        }
    }
    plat::FileClose(file);
    return total;
}
