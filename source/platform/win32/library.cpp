// Dynamic libraries through LoadLibrary.
#include "platform/win32/win32_api.h"

namespace plat {

LibHandle LibraryLoad(const char* path) { return path ? ::LoadLibraryA(path) : nullptr; }

void* LibrarySymbol(LibHandle lib, const char* name) {
    if (!lib || !name) return nullptr;
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(lib), name));
}

void LibraryFree(LibHandle lib) {
    if (lib) ::FreeLibrary(static_cast<HMODULE>(lib));
}

}  // namespace plat
