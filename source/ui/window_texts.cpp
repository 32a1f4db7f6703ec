#include "ui/window_texts.h"

#include "common/profile_text.h"
#include "platform/win32/win32_module.h"
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

std::string Utf8(const wchar_t* text, int length) {
    if (length <= 0) return std::string();
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, &out[0], bytes, nullptr, nullptr);
    return out;
}

std::string UiTextWithoutBase(uint32_t id) {
    // LoadStringW with a zero length hands out the resource's own read-only text.
    const wchar_t* text = nullptr;
    const int length = LoadStringW(plat::win32::ModuleInstance(), id,
                                   reinterpret_cast<LPWSTR>(&text), 0);
    return Utf8(text, length);
}

std::string UiText(uint32_t id) { return UiTextWithoutBase(TheLanguage.base + id); }

std::string FromProfile(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), &wide[0], length);
    return Utf8(wide.data(), length);
}

std::wstring Wide(const std::string& utf8) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &out[0], length);
    return out;
}

void SetText(HWND dialog, int control, const std::string& text) {
    SetDlgItemTextW(dialog, control, Wide(text).c_str());
}

void SetTitle(HWND window, const std::string& utf8) { SetWindowTextW(window, Wide(utf8).c_str()); }

int DrawUiText(HDC dc, const std::string& utf8, RECT* rect, UINT format) {
    return DrawTextW(dc, Wide(utf8).c_str(), -1, rect, format);
}

// The dialog font, sized so that the font mapper gives a legible face in every language
// (the dialog templates' own size; two pixels more for the Chinese characters' strokes).
void RecreateDialogFont() {
    HFONT previous = TheWindow.font;
    // The Chinese blocks ask for a face and character set that hold their characters, so
    // that the font mapper does not pick a Western face and leave gaps.
    const uint16_t language = TheLanguage.index;
    const bool chinese = language >= 6;
    const BYTE charset = language == 6 ? CHINESEBIG5_CHARSET : language == 7 ? GB2312_CHARSET
                                                                            : DEFAULT_CHARSET;
    const char* face = language == 6 ? "PMingLiU" : language == 7 ? "SimSun" : "MS Shell Dlg";
    TheWindow.font = CreateFontA(chinese ? -13 : -11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                 charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH, face);
    if (TheWindow.main) EnumChildWindows(TheWindow.main, SetFontOfChild,
                                         reinterpret_cast<LPARAM>(TheWindow.font));
    if (previous) DeleteObject(previous);
}

void SetAllWindowTexts() {
    HWND main = TheWindow.main;
    if (!main) return;
    const std::string brand = FromProfile(ReadProfileText("KVTINFO_A3", "BRAND", "SCANNER", 255));
    const std::string model = FromProfile(ReadProfileText("KVTINFO_A3", "1200", "A3 Flatbed Scanner", 255));
    SetTitle(main, MainWindowTitle(brand, model));
    static const struct { int control; uint32_t text; } kButtons[] = {
        {IDC_PRESCAN, 306}, {IDC_SCAN, 307}, {IDC_INFO, 302}, {IDC_LOAD, 309},
        {IDC_SAVE, 310}, {IDC_PREVIOUS, 352}, {IDC_RESET, 311}};
    for (const auto& b : kButtons) SetText(main, b.control, UiText(b.text));
    SetText(main, IDC_CLOSE, "&" + UiText(308));
    SetMainPageTexts();
    RefreshMainPage();
    SetAboutPageTexts();
    RedrawTabStrip();
    InvalidateRect(main, nullptr, TRUE);
}
