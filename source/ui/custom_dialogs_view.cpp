#include "ui/custom_dialogs_view.h"

#include <windows.h>

#include <cstdlib>
#include <string>

#include "link/scanner_link.h"
#include "platform/win32/win32_module.h"
#include "session/interface_language.h"
#include "settings/settings_store.h"
#include "twain/capability_tables.h"
#include "ui/main_page_view.h"
#include "ui/scanning_window.h"
#include "ui/window_texts.h"
#include "window/custom_resolution.h"
#include "window/progress_display.h"
#include "window/resolution_menu.h"
#include "resources/window_ids.h"

namespace {

struct CustomResolutionState {
    ResolutionRange range;
    uint32_t value = 0;
    uint16_t restore = 0;
    bool settingEdit = false;  // the edit is being corrected by the dialog itself
};
CustomResolutionState g_custom;

int64_t EditNumber(HWND dialog, int control) {
    char text[16] = {};
    GetDlgItemTextA(dialog, control, text, sizeof text);
    return text[0] ? std::strtoll(text, nullptr, 10) : -1;
}

void SetEditNumber(HWND dialog, int control, uint32_t value, bool& guard) {
    guard = true;
    SetDlgItemTextA(dialog, control, std::to_string(value).c_str());
    guard = false;
}

bool Colour36() {
    const ScanSettings& s = TheSettings.settings;
    return s.ScanMode == kModeColor && s.ScanSubMode == kSubMode36Bit;
}

// Every change is applied at once: the box, the size and, in 36-bit colour, Scan.
void ApplyResolution(HWND dialog, uint32_t value) {
    g_custom.value = value;
    TheSettings.settings.ScanRes = static_cast<uint16_t>(value);
    SetScrollPos(GetDlgItem(dialog, IDC_CUSTOM_SLIDER), SB_CTL, static_cast<int>(value), TRUE);
    HWND page = TheWindow.pages[kPageMain];
    if (page) InvalidateRect(GetDlgItem(page, IDC_RES_BOX), nullptr, TRUE);
    RunSizeRoutine();
    if (TheWindow.main)
        EnableWindow(GetDlgItem(TheWindow.main, IDC_SCAN), ScanAllowedAt(value, Colour36()));
}

SliderAction ActionOf(WORD code) {
    switch (code) {
    case SB_LINELEFT: return SliderAction::LineLess;
    case SB_LINERIGHT: return SliderAction::LineMore;
    case SB_PAGELEFT: return SliderAction::PageLess;
    case SB_PAGERIGHT: return SliderAction::PageMore;
    case SB_LEFT: return SliderAction::Least;
    case SB_RIGHT: return SliderAction::Most;
    default: return SliderAction::Thumb;
    }
}

void InitialiseCustomResolution(HWND dialog) {
    const ScanSettings& s = TheSettings.settings;
    g_custom = CustomResolutionState{};
    // Memory and file transfers interpolate up to twice the optical resolution.
    g_custom.range = CustomResolutionRange(TheLink.opticalResolution, CurrentXferMech() != TWSX_NATIVE);
    g_custom.restore = s.ScanRes;
    g_custom.value = s.ScanRes;
    SetTitle(dialog, UiText(316));
    SetText(dialog, IDC_CUSTOM_LABEL, UiText(316));
    SetText(dialog, IDC_CUSTOM_UNIT, UiText(s.Destination == kDestinationHalftone ? 359 : 317));
    SetText(dialog, IDOK, UiText(700));
    SetText(dialog, IDCANCEL, UiText(308));
    HWND slider = GetDlgItem(dialog, IDC_CUSTOM_SLIDER);
    SetScrollRange(slider, SB_CTL, static_cast<int>(g_custom.range.least),
                   static_cast<int>(g_custom.range.most), FALSE);
    SetScrollPos(slider, SB_CTL, static_cast<int>(s.ScanRes), TRUE);
    SendDlgItemMessageA(dialog, IDC_CUSTOM_EDIT, EM_LIMITTEXT, 4, 0);
    SetEditNumber(dialog, IDC_CUSTOM_EDIT, s.ScanRes, g_custom.settingEdit);
}

// A typed value is applied while it is in the range; leaving the edit (or OK) corrects it,
// so that a value can be typed digit by digit.
void TypedResolution(HWND dialog, bool correct) {
    const int64_t typed = EditNumber(dialog, IDC_CUSTOM_EDIT);
    const uint32_t value = TypedCustomResolution(g_custom.range, typed);
    if (value == typed) ApplyResolution(dialog, value);
    else if (correct) {
        SetEditNumber(dialog, IDC_CUSTOM_EDIT, value, g_custom.settingEdit);
        ApplyResolution(dialog, value);
    }
}

INT_PTR CALLBACK CustomResolutionProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC && message != WM_CTLCOLOREDIT)
        return GrayBackground(reinterpret_cast<HDC>(wParam));
    switch (message) {
    case WM_INITDIALOG: InitialiseCustomResolution(dialog); return TRUE;
    case WM_HSCROLL: {
        const uint32_t value = MoveCustomResolution(TheLink.opticalResolution, g_custom.range,
                                                    g_custom.value, ActionOf(LOWORD(wParam)),
                                                    HIWORD(wParam));
        SetEditNumber(dialog, IDC_CUSTOM_EDIT, value, g_custom.settingEdit);
        ApplyResolution(dialog, value);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_CUSTOM_EDIT && !g_custom.settingEdit) {
            if (HIWORD(wParam) == EN_CHANGE) TypedResolution(dialog, false);
            if (HIWORD(wParam) == EN_KILLFOCUS) TypedResolution(dialog, true);
            return TRUE;
        }
        if (LOWORD(wParam) == IDOK) {
            TypedResolution(dialog, true);
            ScanSettings& s = TheSettings.settings;
            RememberCustomResolution(s.CustomRes, static_cast<uint16_t>(g_custom.value));
            s.DpiScale = 0;
            ApplyResolution(dialog, g_custom.value);
            EndDialog(dialog, 1);
        } else if (LOWORD(wParam) == IDCANCEL) {
            ApplyResolution(dialog, g_custom.restore);
            EndDialog(dialog, 0);
        }
        return TRUE;
    default: return FALSE;
    }
}

struct CustomScalingState {
    uint16_t start = 100;
    uint32_t most = 600;
    bool settingEdit = false;
};
CustomScalingState g_scaling;

uint32_t CorrectedScaling(HWND dialog) {
    const int64_t typed = EditNumber(dialog, IDC_SCALING_EDIT);
    const int64_t value = typed < 1 ? 1 : (typed > g_scaling.most ? g_scaling.most : typed);
    if (value != typed) SetEditNumber(dialog, IDC_SCALING_EDIT, uint32_t(value), g_scaling.settingEdit);
    return static_cast<uint32_t>(value);
}

INT_PTR CALLBACK CustomScalingProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC && message != WM_CTLCOLOREDIT)
        return GrayBackground(reinterpret_cast<HDC>(wParam));
    switch (message) {
    case WM_INITDIALOG:
        SetTitle(dialog, UiText(327));
        SetText(dialog, IDOK, UiText(700));
        SetText(dialog, IDCANCEL, UiText(308));
        SendDlgItemMessageA(dialog, IDC_SCALING_EDIT, EM_LIMITTEXT, 4, 0);
        SetEditNumber(dialog, IDC_SCALING_EDIT, g_scaling.start, g_scaling.settingEdit);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_SCALING_EDIT && HIWORD(wParam) == EN_KILLFOCUS &&
            !g_scaling.settingEdit)
            CorrectedScaling(dialog);
        if (LOWORD(wParam) == IDOK) EndDialog(dialog, CorrectedScaling(dialog));
        if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, g_scaling.start);
        return TRUE;
    default: return FALSE;
    }
}

}  // namespace

bool AskCustomResolution() {
    const INT_PTR ok = DialogBoxParamW(plat::win32::ModuleInstance(), L"CUSTOM", TheWindow.main,
                                       CustomResolutionProcedure, 0);
    return ok == 1;
}

uint16_t AskCustomScalingDialog(uint16_t current) {
    g_scaling = CustomScalingState{current, MostCustomScaling(TheSettings.settings.ScanRes), false};
    const INT_PTR chosen = DialogBoxParamW(plat::win32::ModuleInstance(), L"CUSTOMSCAL",
                                           TheWindow.main, CustomScalingProcedure, 0);
    return chosen > 0 ? static_cast<uint16_t>(chosen) : current;
}
