#include "ui/warm_up_dialog.h"

#include <windows.h>

#include "platform/win32/win32_module.h"
#include "session/interface_language.h"

namespace {

HWND g_dialog = nullptr;
constexpr int kTextControl = 101;

INT_PTR CALLBACK WarmUpProcedure(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// Centred across the screen, at one third of its height.
void Place(HWND dialog) {
    RECT r;
    GetWindowRect(dialog, &r);
    const int width = r.right - r.left;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 3;
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

}  // namespace

void OpenWarmUpDialog(int dialogId) {
    if (g_dialog) return;
    g_dialog = CreateDialogA(plat::win32::ModuleInstance(), MAKEINTRESOURCEA(dialogId), nullptr,
                             WarmUpProcedure);
    if (!g_dialog) return;
    SetDlgItemTextA(g_dialog, kTextControl, LanguageString(702).c_str());
    Place(g_dialog);
    ShowWindow(g_dialog, SW_SHOW);
    UpdateWindow(g_dialog);
}

void CloseWarmUpDialog() {
    if (!g_dialog) return;
    DestroyWindow(g_dialog);
    g_dialog = nullptr;
}
