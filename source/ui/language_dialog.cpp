#include "ui/language_dialog.h"

#include "common/profile_text.h"
#include "platform/platform.h"
#include "platform/win32/win32_module.h"
#include "session/interface_language.h"
#include "ui/scanning_window.h"
#include "ui/window_texts.h"
#include "window/language_choice.h"
#include "resources/window_ids.h"

namespace {

Edition g_edition = Edition::Western;

const char* ProfileValueOf(uint16_t index) {
    static const char* const kValues[] = {"English", "Deutsch", "Francais", "Italiano",
                                          "Espanol", "Nederlands", "Chinese", "Simple"};
    return index < 8 ? kValues[index] : "English";
}

void Centre(HWND dialog) {
    RECT r;
    GetWindowRect(dialog, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void Initialise(HWND dialog) {
    Centre(dialog);
    g_edition = EditionOf(ReadProfileText("KVTINFO_A3", "DSLANGUAGE", "None", 255));
    SetTitle(dialog, UiText(104));
    for (int control : {IDC_LANGUAGE_LIST, IDC_LANGUAGE_OK, IDC_LANGUAGE_CANCEL})
        SendDlgItemMessageA(dialog, control, WM_SETFONT, reinterpret_cast<WPARAM>(TheWindow.font), FALSE);
    SetText(dialog, IDC_LANGUAGE_OK, UiText(700));
    SetText(dialog, IDC_LANGUAGE_CANCEL, UiText(308));
    HWND list = GetDlgItem(dialog, IDC_LANGUAGE_LIST);
    for (uint32_t text : LanguageEntryStrings(g_edition))
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(UiText(text)).c_str()));
    const int entry = EntryForLanguage(g_edition, TheLanguage.index);
    if (entry >= 0) SendMessageA(list, LB_SETCURSEL, entry, 0);
}

// A choice applies at once; the window takes the texts over only on OK.
void Choose(HWND dialog) {
    const int entry = static_cast<int>(SendDlgItemMessageA(dialog, IDC_LANGUAGE_LIST, LB_GETCURSEL, 0, 0));
    if (entry < 0) return;
    TheLanguage.index = LanguageForEntry(g_edition, entry, TheLanguage.index);
    TheLanguage.base = static_cast<uint16_t>(TheLanguage.index * 1000);
}

INT_PTR CALLBACK LanguageProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        return GrayBackground(reinterpret_cast<HDC>(wParam));
    switch (message) {
    case WM_INITDIALOG: Initialise(dialog); return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_LANGUAGE_LIST:
            if (HIWORD(wParam) == LBN_SELCHANGE) Choose(dialog);
            return TRUE;
        case IDC_LANGUAGE_OK:
        case IDOK:
            plat::WriteProfileString("KVTINFO_A3", "LANGUAGE", ProfileValueOf(TheLanguage.index));
            EndDialog(dialog, 1);
            return TRUE;
        case IDC_LANGUAGE_CANCEL:
        case IDCANCEL: EndDialog(dialog, 0); return TRUE;
        default: return FALSE;
        }
    case WM_CLOSE: EndDialog(dialog, 0); return TRUE;
    default: return FALSE;
    }
}

}  // namespace

bool RunLanguageDialog(HWND owner) {
    return DialogBoxParamW(plat::win32::ModuleInstance(), L"LANGUAGEDLG", owner, LanguageProcedure,
                           0) == 1;
}
