#include "ui/tool_tips.h"

#include <string>

#include "platform/win32/win32_module.h"
#include "session/interface_language.h"
#include "ui/preview_window.h"
#include "ui/scanning_window.h"
#include "ui/window_texts.h"
#include "window/help_contexts.h"
#include "window/preview_tool_bar.h"

namespace {

constexpr COLORREF kPaleYellow = 0x80FFFF;
const wchar_t* const kClass = L"Tooltips Class";

struct TipState {
    HWND window = nullptr;
    HWND anchor = nullptr;
    int part = -1;  // a tool-bar button, -1 for a whole control
    ULONGLONG shownAt = 0;
    std::string text;
};
TipState g_tip;

LRESULT CALLBACK TipProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT r;
        GetClientRect(window, &r);
        HBRUSH fill = CreateSolidBrush(kPaleYellow);
        FillRect(dc, &r, fill);
        DeleteObject(fill);
        HGDIOBJ old = SelectObject(dc, TheWindow.font ? TheWindow.font : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        DrawUiText(dc, g_tip.text, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
        EndPaint(window, &ps);
        return 0;
    }
    if (message == WM_MOUSEMOVE) {
        DestroyToolTip();  // the mouse came onto the tip
        return 0;
    }
    if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterTipClass() {
    static bool registered = false;
    if (registered) return true;
    WNDCLASSW wc{};
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = TipProcedure;
    wc.hInstance = plat::win32::ModuleInstance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kClass;
    registered = RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    return registered;
}

HelpWindow WindowOf(HWND parent) {
    if (parent == TheWindow.pages[kPageMain]) return HelpWindow::MainPage;
    if (parent == TheWindow.pages[kPageTone]) return HelpWindow::TonePage;
    if (parent == TheWindow.pages[kPageColour]) return HelpWindow::ColourPage;
    if (parent == TheWindow.main) return HelpWindow::MainWindow;
    return HelpWindow::Other;
}

// Below the anchor's rectangle (screen pixels), 5 pixels in from its left edge.
void Show(HWND anchor, int part, const RECT& r, uint32_t textId) {
    if (!RegisterTipClass()) return;
    g_tip.text = UiText(textId);
    HDC dc = GetDC(anchor);
    HGDIOBJ old = SelectObject(dc, TheWindow.font ? TheWindow.font : GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    const std::wstring wide = Wide(g_tip.text);
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(anchor, dc);
    g_tip.window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClass, L"", WS_POPUP | WS_BORDER,
                                   r.left + 5, r.bottom, size.cx + 8, size.cy + 4, TheWindow.main,
                                   nullptr, plat::win32::ModuleInstance(), nullptr);
    if (!g_tip.window) return;
    g_tip.anchor = anchor;
    g_tip.part = part;
    g_tip.shownAt = GetTickCount64();
    ShowWindow(g_tip.window, SW_SHOWNOACTIVATE);
    SetTimer(TheWindow.main, kToolTipTimer, kToolTipTickMs, nullptr);
}

}  // namespace

// The tool bar's buttons are drawn, not windows: each is an anchor of its own.
bool TrackToolBar(const MSG& message) {
    if (!ThePreview.toolBar || message.hwnd != ThePreview.toolBar) return false;
    const PreviewPoint at{static_cast<short>(LOWORD(message.lParam)),
                          static_cast<short>(HIWORD(message.lParam))};
    const ToolBarButtonInfo* b = ToolBarButtonAt(at);
    const int part = b ? static_cast<int>(b - kToolBar) : -1;
    if (message.hwnd == g_tip.anchor && part == g_tip.part) return true;
    DestroyToolTip();
    if (!b || TheWindow.helpMode) return true;
    RECT r{b->rect.left, b->rect.top, b->rect.right, b->rect.bottom};
    MapWindowPoints(message.hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    Show(message.hwnd, part, r, b->toolTip);
    return true;
}

void TrackToolTip(const MSG& message) {
    if (message.message != WM_MOUSEMOVE || message.hwnd == g_tip.window) return;
    if (TrackToolBar(message)) return;
    if (message.hwnd == g_tip.anchor) return;
    DestroyToolTip();
    if (TheWindow.helpMode || !TheWindow.main) return;
    const uint32_t text = ToolTipText(WindowOf(GetParent(message.hwnd)),
                                      static_cast<uint16_t>(GetDlgCtrlID(message.hwnd)));
    if (!text) return;
    RECT r;
    GetWindowRect(message.hwnd, &r);
    Show(message.hwnd, -1, r, text);
}

void ToolTipTick() {
    if (g_tip.window && ToolTipExpired(g_tip.shownAt, GetTickCount64())) DestroyToolTip();
}

void DestroyToolTip() {
    if (g_tip.window) DestroyWindow(g_tip.window);
    if (TheWindow.main) KillTimer(TheWindow.main, kToolTipTimer);
    g_tip = TipState{};
}
