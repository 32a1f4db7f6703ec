#include <windows.h>

#include "tools/twainscan/manager_library.h"

namespace twainscan {

bool LoadManagerLibrary(ManagerLibrary& library, const std::string& name, std::string& error) {
    HMODULE module = LoadLibraryA(name.c_str());
    if (!module) {
        error = "cannot load " + name + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    FARPROC entry = GetProcAddress(module, "DSM_Entry");
    if (!entry) {
        FreeLibrary(module);
        error = name + " has no DSM_Entry";
        return false;
    }
    library.module = module;
    library.entry = reinterpret_cast<DSMENTRYPROC>(reinterpret_cast<void*>(entry));
    return true;
}

void FreeManagerLibrary(ManagerLibrary& library) {
    if (library.module) FreeLibrary(static_cast<HMODULE>(library.module));
    library = ManagerLibrary{};
}

}  // namespace twainscan
