#include "ui/progress_window.h"

#include <windows.h>

#include <string>

#include "platform/win32/win32_module.h"
#include "session/interface_language.h"
#include "ui/scanning_window.h"
#include "ui/window_texts.h"
#include "window/progress_display.h"
#include "resources/window_ids.h"

namespace {

HWND g_window = nullptr;
ProgressDisplay g_display;
std::string g_percent;

void DrawBar(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const RECT r = item.rcItem;
    const int width = r.right - r.left;
    const int filled = static_cast<int>(width * static_cast<int64_t>(g_display.drawnPercent) / 100);
    RECT done{r.left, r.top, r.left + filled, r.bottom};
    RECT rest{r.left + filled, r.top, r.right, r.bottom};
    HBRUSH dark = CreateSolidBrush(RGB(0, 0, 0x80));
    FillRect(dc, &done, dark);
    FillRect(dc, &rest, TheWindow.grayBrush ? TheWindow.grayBrush
                                            : static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    DeleteObject(dark);
    // The percentage centred on the bar: light on the filled part, dark on the rest.
    HGDIOBJ oldFont = SelectObject(dc, TheWindow.font ? TheWindow.font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    RECT text = r;
    SetTextColor(dc, RGB(0, 0, 0));
    DrawUiText(dc, g_percent, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    HRGN clip = CreateRectRgnIndirect(&done);
    SelectClipRgn(dc, clip);
    SetTextColor(dc, RGB(0xC0, 0xC0, 0xC0));
    DrawUiText(dc, g_percent, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
    SelectObject(dc, oldFont);
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

INT_PTR CALLBACK ProgressProcedure(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        return GrayBackground(reinterpret_cast<HDC>(wParam));
    if (message == WM_DRAWITEM) {
        DrawBar(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// Centred over the scanning window, or over the screen without one.
void Place(HWND window) {
    RECT r, over;
    GetWindowRect(window, &r);
    if (!TheWindow.main || !GetWindowRect(TheWindow.main, &over))
        over = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const int x = over.left + ((over.right - over.left) - (r.right - r.left)) / 2;
    const int y = over.top + ((over.bottom - over.top) - (r.bottom - r.top)) / 2;
    SetWindowPos(window, HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
}

}  // namespace

void CreateProgressWindow() {
    if (g_window) return;
    g_window = CreateDialogParamW(plat::win32::ModuleInstance(), MAKEINTRESOURCEW(IDD_PROGRESS),
                                  TheWindow.main, ProgressProcedure, 0);
    if (!g_window) return;
    g_display = ProgressDisplay{};
    g_percent = "  0 %";
    SetText(g_window, IDC_PROGRESS_ESCAPE, UiText(503));
    Place(g_window);
    ShowWindow(g_window, SW_SHOWNOACTIVATE);
    UpdateWindow(g_window);
}

void UpdateProgress(uint32_t done, uint32_t total, uint32_t messageId) {
    if (!g_window) return;
    const ProgressStep step = AdvanceProgress(g_display, done, total, TheWindow.feeder);
    if (step.destroy) return CloseProgressWindow();
    if (!step.draw) return;
    std::string caption = UiText(messageId);
    if (messageId == 403) caption += " ...";
    SetText(g_window, IDC_PROGRESS_TEXT, caption);
    g_percent = step.percentText;
    HWND bar = GetDlgItem(g_window, IDC_PROGRESS_BAR);
    InvalidateRect(bar, nullptr, FALSE);
    UpdateWindow(g_window);
}

void CloseProgressWindow() {
    if (!g_window) return;
    DestroyWindow(g_window);
    g_window = nullptr;
}
