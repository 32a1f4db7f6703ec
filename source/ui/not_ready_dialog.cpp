#include "ui/not_ready_dialog.h"

#include <windows.h>

#include "platform/win32/win32_module.h"

namespace {

HWND g_dialog = nullptr;

INT_PTR CALLBACK NotReadyProcedure(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

}  // namespace

// The dialog has no owner: it comes up while the source is being opened, before the
// application has handed over a window.
void OpenNotReadyDialog(int dialogId) {
    if (g_dialog) return;
    g_dialog = CreateDialogA(plat::win32::ModuleInstance(), MAKEINTRESOURCEA(dialogId), nullptr,
                             NotReadyProcedure);
    if (!g_dialog) return;
    ShowWindow(g_dialog, SW_SHOW);
    UpdateWindow(g_dialog);
}

void CloseNotReadyDialog() {
    if (!g_dialog) return;
    DestroyWindow(g_dialog);
    g_dialog = nullptr;
}
