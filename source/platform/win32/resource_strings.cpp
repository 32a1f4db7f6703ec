// Strings of the module's STRINGTABLE. The table is stored as UTF-16; LoadStringA converts it
// to the system's ANSI code page, which is how the Chinese blocks reach the user interface in
// Big5 or GB2312 on systems that run with those code pages.
#include <climits>

#include "platform/win32/win32_api.h"
#include "platform/win32/win32_module.h"

namespace plat {

uint32_t LoadResourceString(uint32_t id, char* out, uint32_t size) {
    if (!out || size == 0) return 0;
    // A missing string must read as empty whatever the system leaves in the buffer.
    out[0] = '\0';
    // String resources are numbered in 16 bits; a larger id would alias a smaller one.
    if (id > 0xFFFF) return 0;
    const int capacity = size > uint32_t(INT_MAX) ? INT_MAX : int(size);
    const int length = ::LoadStringA(win32::ModuleInstance(), id, out, capacity);
    return length > 0 ? uint32_t(length) : 0;
}

}  // namespace plat
