#include "ui/window_texts.h"

#include "common/profile_text.h"
#include "session/interface_language.h"
#include "ui/about_page_view.h"
#include "ui/main_page_view.h"
#include "ui/scanning_window.h"
#include "ui/tab_strip_view.h"
#include "window/main_window_model.h"
#include "resources/window_ids.h"

namespace {

// Every child of a window (the pages' labels and lists) gets the dialog font.
BOOL CALLBACK SetFontOfChild(HWND child, LPARAM font) {
    SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    return TRUE;
}

}  // namespace

void SetText(HWND dialog, int control, const std::string& text) {
    SetDlgItemTextA(dialog, control, text.c_str());
}

// The dialog font, sized so that the font mapper gives a legible face in every language
// (the dialog templates' own size).
void RecreateDialogFont() {
    HFONT previous = TheWindow.font;
    TheWindow.font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH, "MS Shell Dlg");
    if (TheWindow.main) EnumChildWindows(TheWindow.main, SetFontOfChild,
                                         reinterpret_cast<LPARAM>(TheWindow.font));
    if (previous) DeleteObject(previous);
}

void SetAllWindowTexts() {
    HWND main = TheWindow.main;
    if (!main) return;
    const std::string brand = ReadProfileText("KVTINFO_A3", "BRAND", "SCANNER", 255);
    const std::string model = ReadProfileText("KVTINFO_A3", "1200", "A3 Flatbed Scanner", 255);
    SetWindowTextA(main, MainWindowTitle(brand, model).c_str());
    static const struct { int control; uint32_t text; } kButtons[] = {
        {IDC_PRESCAN, 306}, {IDC_SCAN, 307}, {IDC_INFO, 302}, {IDC_LOAD, 309},
        {IDC_SAVE, 310}, {IDC_PREVIOUS, 352}, {IDC_RESET, 311}};
    for (const auto& b : kButtons) SetText(main, b.control, LanguageString(b.text));
    SetText(main, IDC_CLOSE, "&" + LanguageString(308));
    SetMainPageTexts();
    RefreshMainPage();
    SetAboutPageTexts();
    RedrawTabStrip();
    InvalidateRect(main, nullptr, TRUE);
}
