#include <windows.h>

#include "manager_library.h"

namespace twainscan {

bool LoadManagerLibrary(ManagerLibrary& library, std::string& error) {
    HMODULE module = LoadLibraryA("twain_32.dll");
    if (!module) {
        error = "cannot load twain_32.dll (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    FARPROC entry = GetProcAddress(module, "DSM_Entry");
    if (!entry) {
        FreeLibrary(module);
        error = "twain_32.dll has no DSM_Entry";
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
