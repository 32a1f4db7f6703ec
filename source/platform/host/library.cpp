// Dynamic libraries through dlopen; the path is mapped like every file path.
#include <dlfcn.h>

#include "platform/host/host_control.h"
#include "platform/platform.h"

namespace plat {

LibHandle LibraryLoad(const char* path) {
    if (!path) return nullptr;
    return ::dlopen(host::MapPath(path).c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* LibrarySymbol(LibHandle lib, const char* name) {
    if (!lib || !name) return nullptr;
    return ::dlsym(lib, name);
}

void LibraryFree(LibHandle lib) {
    if (lib) ::dlclose(lib);
}

}  // namespace plat
