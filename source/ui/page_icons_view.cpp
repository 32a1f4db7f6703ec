#include "ui/page_icons_view.h"

#include <string>

#include "common/profile_text.h"
#include "platform/win32/win32_module.h"
#include "session/interface_language.h"
#include "session/messages.h"
#include "settings/settings_store.h"
#include "ui/bitmap_drawing.h"
#include "ui/language_dialog.h"
#include "ui/preview_window.h"
#include "ui/scanning_window.h"
#include "ui/window_texts.h"
#include "window/language_choice.h"
#include "window/main_page_lists.h"
#include "resources/window_ids.h"

namespace {

int g_sunken = 0;  // the icon whose action runs

std::string Profile(const char* section, const char* key, const char* fallback) {
    return ReadProfileText(section, key, fallback, 255);
}

bool SameIgnoringCase(const std::string& a, const char* b) {
    return lstrcmpiA(a.c_str(), b) == 0;
}

const char* BitmapOf(UINT control) {
    switch (control) {
    case IDC_CALIBRATOR: return "IDB_MCALIBZ";
    case IDC_LANGUAGE: return "IDB_EARTH";
    case IDC_SAVER: return "IDB_SCANNER";
    default: return nullptr;
    }
}

bool IconActive(UINT control) {
    if (control == IDC_CALIBRATOR) return CalibratorAvailable();
    if (control == IDC_LANGUAGE)
        return GlobeOpensDialog(EditionOf(Profile("KVTINFO_A3", "DSLANGUAGE", "None")));
    return true;
}

void Redraw(int control) {
    HWND page = TheWindow.pages[kPageMain];
    if (!page) return;
    HWND icon = GetDlgItem(page, control);
    InvalidateRect(icon, nullptr, TRUE);
    UpdateWindow(icon);
}

}  // namespace

void DrawPageIcon(const DRAWITEMSTRUCT& item) {
    const char* name = BitmapOf(item.CtlID);
    if (!name) return;
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    FillRect(dc, &r, TheWindow.grayBrush);
    const bool active = IconActive(item.CtlID);
    const bool sunken = g_sunken == static_cast<int>(item.CtlID) || (item.itemState & ODS_SELECTED);
    if (active) DrawEdge(dc, &r, sunken ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    DrawBitmapCentred(dc, r, name, sunken ? 1 : 0);
}

bool CalibratorAvailable() {
    const bool installed = !SameIgnoringCase(Profile("tintara", "path", "None"), "None");
    return installed && !ApplicationIs(707);
}

// The calibrator works on 24-bit colour scans; it is found by its window title, started by
// its command line otherwise.
void StartCalibrator() {
    if (!CalibratorAvailable()) return;
    HWND main = TheWindow.main;
    g_sunken = IDC_CALIBRATOR;
    Redraw(IDC_CALIBRATOR);
    const ScanSettings& s = TheSettings.settings;
    if (EntryOfScanMode(s.ScanMode, s.ScanSubMode) != 3) {
        MessageBoxW(main, Wide(UiText(635)).c_str(), Wide(UiText(636)).c_str(),
                    MB_OK | MB_ICONINFORMATION);
    } else {
        const std::string title = Profile("TIVENA", "BRAND", "") + " " +
                                  Profile("TIVENA", "PACKAGE", "") + " Calibrator";
        HWND running = FindWindowA(nullptr, title.c_str());
        if (running) {
            if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
            SetForegroundWindow(running);
        } else {
            const std::string command =
                Profile("tintara", "path", "c:\\windows\\twain\\kvtc_a3") + " dscall";
            if (WinExec(command.c_str(), SW_SHOWNORMAL) < 32)
                MessageBoxW(main, Wide(UiText(634)).c_str(), Wide(UiText(636)).c_str(),
                            MB_OK | MB_ICONINFORMATION);
        }
    }
    g_sunken = 0;
    Redraw(IDC_CALIBRATOR);
}

void ChooseLanguage() {
    if (!IconActive(IDC_LANGUAGE)) return;
    const InterfaceLanguage before = TheLanguage;
    g_sunken = IDC_LANGUAGE;
    Redraw(IDC_LANGUAGE);
    const bool ok = RunLanguageDialog(TheWindow.pages[kPageMain]);
    g_sunken = 0;
    Redraw(IDC_LANGUAGE);
    if (!ok) {
        TheLanguage = before;
        return;
    }
    RecreateDialogFont();
    SetAllWindowTexts();
    SetPreviewTitle();
}
