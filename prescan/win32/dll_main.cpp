// DLL entry of the prescan library (Windows builds only).
#include <windows.h>

#include "platform/win32/win32_module.h"
#include "prescan/prescan_ui.h"
#include "prescan/win32/prescan_views.h"

namespace {

void InstallViews() {
    ThePrescanUi.OpenWarmUpDialog = OpenWarmUpView;
    ThePrescanUi.CloseWarmUpDialog = CloseWarmUpView;
    ThePrescanUi.OpenNotReadyDialog = OpenNotReadyView;
    ThePrescanUi.CloseNotReadyDialog = CloseNotReadyView;
    ThePrescanUi.ShowWaitCursor = ShowWaitCursorView;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    try {
        if (reason == DLL_PROCESS_ATTACH) {
            // The seam loads strings and dialogs from this module, not from the caller's.
            plat::win32::SetModuleInstance(instance);
            InstallViews();
            DisableThreadLibraryCalls(instance);
        } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
            // Unloaded by FreeLibrary while the process goes on: a dialog still up would be
            // left with a procedure in code that is no longer there.
            CloseWarmUpView();
            CloseNotReadyView();
        }
    } catch (...) {
        return reason == DLL_PROCESS_ATTACH ? FALSE : TRUE;
    }
    return TRUE;
}
