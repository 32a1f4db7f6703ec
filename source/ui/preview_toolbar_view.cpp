#include "platform/win32/win32_module.h"
#include "session/interface_language.h"
#include "settings/settings_store.h"
#include "ui/bitmap_drawing.h"
#include "ui/preview_window.h"
#include "ui/scanning_window.h"
#include "ui/tool_tips.h"
#include "window/preview_tool_bar.h"

namespace {

void DrawButton(HDC dc, const ToolBarButtonInfo& b, bool sunken) {
    RECT r{b.rect.left, b.rect.top, b.rect.right, b.rect.bottom};
    DrawBitmapStretched(dc, r, b.bitmap);
    // Raised: white top and left, black bottom and right; sunken the other way round.
    HPEN white = static_cast<HPEN>(GetStockObject(WHITE_PEN));
    HPEN black = static_cast<HPEN>(GetStockObject(BLACK_PEN));
    HGDIOBJ old = SelectObject(dc, sunken ? black : white);
    MoveToEx(dc, r.left, r.bottom - 1, nullptr);
    LineTo(dc, r.left, r.top);
    LineTo(dc, r.right - 1, r.top);
    SelectObject(dc, sunken ? white : black);
    LineTo(dc, r.right - 1, r.bottom - 1);
    LineTo(dc, r.left, r.bottom - 1);
    SelectObject(dc, old);
}

void Paint(HWND bar) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(bar, &ps);
    for (const ToolBarButtonInfo& b : kToolBar)
        DrawButton(dc, b, ToolBarButtonSunken(ThePreview.state, b.button, false));
    EndPaint(bar, &ps);
}

void Click(HWND bar, LPARAM lParam) {
    DestroyToolTip();
    if (TheWindow.helpMode || !TheWindow.interfaceEnabled) return;
    const PreviewPoint at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const ToolBarButtonInfo* b = ToolBarButtonAt(at);
    if (!b) return;
    const bool batchAllowed = !ApplicationIs(707);
    ClickToolBar(ThePreview.state, b->button, false, batchAllowed);
    // The density of the next prescan is one of the settings the profile keeps.
    TheSettings.settings.PrescanHiRes = ThePreview.state.highDensity ? 1 : 0;
    InvalidateRect(bar, nullptr, TRUE);
}

}  // namespace

LRESULT CALLBACK PreviewToolBarProcedure(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: Paint(bar); return 0;
    case WM_LBUTTONDOWN: Click(bar, lParam); return 0;
    default: return DefWindowProcW(bar, message, wParam, lParam);
    }
}
