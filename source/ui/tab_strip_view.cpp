#include "ui/tab_strip_view.h"

#include "session/interface_language.h"
#include "settings/settings_store.h"
#include "ui/scanning_window.h"
#include "ui/window_texts.h"
#include "window/tab_strip.h"
#include "resources/window_ids.h"

namespace {

constexpr uint32_t kTabLabels[5] = {0, 300, 304, 305, 303};

TabRules CurrentRules() {
    const ScanSettings& s = TheSettings.settings;
    TabRules r;
    r.outputMatching = s.OutputMatch != 0;
    r.colour36 = s.ScanMode == kModeColor && s.ScanSubMode == kSubMode36Bit;
    r.colourManagementApplication = ApplicationIs(707);
    return r;
}

int TabWidth(const RECT& area) { return (area.right - area.left - 4) / 4; }

RECT TabRect(const RECT& area, int tab, int lineHeight) {
    const int width = TabWidth(area);
    RECT r{area.left + 2 + (tab - 1) * width, area.top, area.left + 2 + tab * width,
           area.top + lineHeight + 6};
    if (r.bottom > area.bottom) r.bottom = area.bottom;
    return r;
}

}  // namespace

void DrawTabStrip(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const RECT area = item.rcItem;
    FillRect(dc, &area, TheWindow.grayBrush);
    HGDIOBJ oldFont = SelectObject(dc, TheWindow.font ? TheWindow.font : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    const TabRules rules = CurrentRules();
    SetBkMode(dc, TRANSPARENT);
    for (int tab = 1; tab <= 4; ++tab) {
        RECT r = TabRect(area, tab, tm.tmHeight + tm.tmExternalLeading);
        const bool current = tab == TheWindow.tab;
        if (!current) InflateRect(&r, 0, -1), OffsetRect(&r, 0, 1);
        DrawEdge(dc, &r, current ? EDGE_RAISED : EDGE_ETCHED, BF_LEFT | BF_TOP | BF_RIGHT);
        // The cut counts characters of the Western blocks (one byte each in their code page);
        // the Chinese labels are shown whole.
        const std::string label = TheLanguage.index >= 6
                                      ? UiText(kTabLabels[tab])
                                      : FromProfile(TabLabel(LanguageString(kTabLabels[tab]), TheLanguage.index));
        const bool open = TabSelectable(static_cast<MainTab>(tab), rules);
        SetTextColor(dc, open ? GetSysColor(COLOR_BTNTEXT) : RGB(0x80, 0x80, 0x80));
        DrawUiText(dc, label, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, oldFont);
}

void ShowPageOfTab(int tab) {
    static const int kPageOfTab[5] = {kPageMain, kPageMain, kPageTone, kPageFilters, kPageAbout};
    int show = kPageOfTab[tab];
    if (tab == 2 && TheWindow.colourPage) show = kPageColour;
    for (int p = 0; p < kPageCount; ++p) {
        HWND page = TheWindow.pages[p];
        if (!page) continue;
        if (p != show && IsWindowVisible(page)) {
            // An open drop-down list of the page goes with it.
            for (HWND c = GetWindow(page, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                SendMessageA(c, CB_SHOWDROPDOWN, FALSE, 0);
        }
        ShowWindow(page, p == show ? SW_SHOW : SW_HIDE);
    }
    TheWindow.tab = tab;
    RedrawTabStrip();
}

void ClickTabStrip() {
    HWND strip = GetDlgItem(TheWindow.main, IDC_TABSTRIP);
    const DWORD at = GetMessagePos();
    POINT p{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    ScreenToClient(strip, &p);
    RECT area;
    GetClientRect(strip, &area);
    const int width = TabWidth(area);
    if (width <= 0 || p.x < 2) return;
    const int tab = (p.x - 2) / width + 1;
    if (tab < 1 || tab > 4 || tab == TheWindow.tab) return;
    if (!TabSelectable(static_cast<MainTab>(tab), CurrentRules())) return;
    ShowPageOfTab(tab);
}

void RedrawTabStrip() {
    if (TheWindow.main) InvalidateRect(GetDlgItem(TheWindow.main, IDC_TABSTRIP), nullptr, TRUE);
}
