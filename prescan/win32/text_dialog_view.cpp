#include "prescan/win32/prescan_views.h"

#include <string>

#include "platform/win32/win32_module.h"
#include "prescan/prescan_strings.h"

namespace {

constexpr uint16_t kLanguages = 8;
constexpr uint32_t kLanguageBlock = 50;
constexpr uint32_t kDeviceNameString = 14;

// Nothing to handle: the dialogs only inform. The caller's pump may hand them WM_CLOSE or
// Esc; left unanswered, neither closes a dialog that the prescan still owns.
INT_PTR CALLBACK TextDialogProcedure(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

}  // namespace

HWND OpenTextDialog(HWND owner, int dialogId, uint16_t language, uint32_t firstString) {
    // The dialogs of an unknown language are the English ones; so are their texts.
    const uint32_t base = kLanguageBlock * (language < kLanguages ? language : 0);
    // A window handle the caller has already destroyed would make the creation fail.
    if (owner && !IsWindow(owner)) owner = nullptr;
    HWND dialog = CreateDialogParamA(plat::win32::ModuleInstance(), MAKEINTRESOURCEA(dialogId),
                                     owner, TextDialogProcedure, 0);
    if (!dialog) return nullptr;
    SetWindowTextA(dialog, PrescanString(base + kDeviceNameString).c_str());
    SetDlgItemTextA(dialog, IDC_PRESCAN_FIRST_LINE, PrescanString(base + firstString).c_str());
    SetDlgItemTextA(dialog, IDC_PRESCAN_SECOND_LINE,
                    PrescanString(base + firstString + 1).c_str());
    ShowWindow(dialog, SW_SHOWNORMAL);
    UpdateWindow(dialog);
    return dialog;
}
