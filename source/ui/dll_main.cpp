// DLL entry of the data source (Windows builds only).
#include <windows.h>

#include "platform/win32/win32_module.h"
#include "twain/initialise.h"
#include "ui/install_ui_hooks.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        plat::win32::SetModuleInstance(instance);
        InstallUiHooks();
        InitialiseSource();
    }
    return TRUE;
}
