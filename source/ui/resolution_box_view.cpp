#include "ui/resolution_box_view.h"

#include <string>

#include "link/scanner_link.h"
#include "platform/win32/win32_module.h"
#include "session/interface_language.h"
#include "settings/settings_store.h"
#include "ui/custom_dialogs_view.h"
#include "ui/scanning_window.h"
#include "window/resolution_menu.h"
#include "resources/window_ids.h"

namespace {

bool g_menuOpen = false;

HMENU LoadResolutionMenu(HMENU& bar) {
    bar = LoadMenuA(plat::win32::ModuleInstance(),
                    MAKEINTRESOURCEA(TheWindow.menuBase + TheLanguage.index));
    return bar ? GetSubMenu(bar, 0) : nullptr;
}

// The recent custom values go before "Custom", oldest first; the current value is checked.
void AddRecentValues(HMENU menu, const uint16_t (&recent)[kRecentCustomValues]) {
    for (size_t i = 0; i < kRecentCustomValues; ++i) {
        if (!recent[i]) continue;
        const std::string text = std::to_string(recent[i]);
        InsertMenuA(menu, kMenuCustomCommand, MF_BYCOMMAND | MF_STRING,
                    kMenuRecentFirst + i, text.c_str());
    }
}

uint16_t ValueOfCommand(UINT command, const uint16_t (&recent)[kRecentCustomValues]) {
    for (const MenuItem& item : MenuItems(TheWindow.menuBase, recent))
        if (item.command == command) return item.value;
    if (command >= kMenuRecentFirst && command < kMenuRecentFirst + kRecentCustomValues)
        return recent[command - kMenuRecentFirst];
    return 0;
}

void CheckCurrent(HMENU menu, uint16_t resolution) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[16] = {};
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        if (std::to_string(resolution) == text) CheckMenuItem(menu, i, MF_BYPOSITION | MF_CHECKED);
    }
}

void Redraw(HWND page) { InvalidateRect(GetDlgItem(page, IDC_RES_BOX), nullptr, TRUE); }

}  // namespace

void DrawResolutionBox(const DRAWITEMSTRUCT& item, bool sunken) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    sunken = sunken || g_menuOpen;
    HBRUSH fill = CreateSolidBrush(sunken ? RGB(0x80, 0x80, 0x80) : RGB(0xC0, 0xC0, 0xC0));
    FillRect(dc, &r, fill);
    DeleteObject(fill);
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(sunken ? WHITE_BRUSH : BLACK_BRUSH)));
    // A two-pixel black line along the bottom and right edges.
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(0, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    MoveToEx(dc, r.left + 1, r.bottom - 1, nullptr);
    LineTo(dc, r.right - 1, r.bottom - 1);
    LineTo(dc, r.right - 1, r.top + 1);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    HGDIOBJ oldFont = SelectObject(dc, TheWindow.font ? TheWindow.font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    const std::string value = std::to_string(TheSettings.settings.ScanRes);
    RECT text{r.left, r.top, r.right - 20, r.bottom};
    DrawTextA(dc, value.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, oldFont);
    // The down-pointing triangle of a drop-down.
    const POINT triangle[3] = {{r.right - 15, r.top + 3}, {r.right - 5, r.top + 3},
                               {r.right - 10, r.top + 13}};
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    HGDIOBJ oldOutline = SelectObject(dc, GetStockObject(BLACK_PEN));
    Polygon(dc, triangle, 3);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldOutline);
}

bool OpenResolutionMenu(HWND page) {
    ScanSettings& s = TheSettings.settings;
    HMENU bar = nullptr;
    HMENU menu = LoadResolutionMenu(bar);
    if (!menu) return false;
    AddRecentValues(menu, s.CustomRes);
    CheckCurrent(menu, s.ScanRes);
    RECT box;
    GetWindowRect(GetDlgItem(page, IDC_RES_BOX), &box);
    g_menuOpen = true;
    Redraw(page);
    UpdateWindow(GetDlgItem(page, IDC_RES_BOX));
    const UINT command = static_cast<UINT>(TrackPopupMenu(
        menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY, box.left, box.top, 0,
        TheWindow.main, nullptr));
    g_menuOpen = false;
    Redraw(page);
    DestroyMenu(bar);
    if (command == 0) return false;
    if (command == kMenuCustomCommand) return AskCustomResolution();
    const uint16_t value = ValueOfCommand(command, s.CustomRes);
    if (!value) return false;
    s.ScanRes = value;
    s.DpiScale = 0;
    return true;
}
