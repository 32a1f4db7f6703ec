#include "engine/color_table.h"
#include "platform/win32/win32_module.h"
#include "settings/settings_store.h"
#include "ui/preview_window.h"
#include "ui/scanning_window.h"
#include "window/preview_drag.h"
#include "window/preview_mapping.h"
#include "window/preview_render.h"
#include "window/preview_scroll.h"

namespace {

PreviewPoint PointOf(LPARAM lParam) {
    return PreviewPoint{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

bool ShiftHeld() { return (GetKeyState(VK_SHIFT) & 0x8000) != 0; }

HitTolerance Tolerance() { return DialogUnitTolerance(static_cast<uint32_t>(GetDialogBaseUnits())); }

void SetCursorNamed(const char* name) {
    HCURSOR cursor = name && *name ? LoadCursorA(plat::win32::ModuleInstance(), name) : nullptr;
    SetCursor(cursor ? cursor : LoadCursor(nullptr, IDC_ARROW));
}

RECT DeviceRect(const PreviewRect& preview) {
    const PreviewRect d = RectToDevice(ThePreview.state, preview);
    return RECT{d.left, d.top, d.right, d.bottom};
}

// The running frame: the region framed one pixel wide with the turning stripe pattern.
void DrawAnts(HDC dc) {
    WORD rows[8];
    for (int i = 0; i < 8; ++i) rows[i] = ThePreview.ants.rows[i];
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, rows);
    HBRUSH brush = CreatePatternBrush(pattern);
    RECT r = DeviceRect(ThePreview.state.region);
    if (r.right - r.left < 1) r.right = r.left + 1;
    if (r.bottom - r.top < 1) r.bottom = r.top + 1;
    FrameRect(dc, &r, brush);
    DeleteObject(brush);
    DeleteObject(pattern);
}

// A dotted exclusive-or outline: drawn twice, it is gone.
void DrawOutline(const XorOutline& outline) {
    if (!outline.drawn) return;
    HDC dc = GetDC(ThePreview.area);
    const int oldRop = SetROP2(dc, R2_NOTXORPEN);
    HPEN pen = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    const RECT r = DeviceRect(outline.rect);
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    SetROP2(dc, oldRop);
    ReleaseDC(ThePreview.area, dc);
}

PreviewLook CurrentLook(HDC dc) {
    const ScanSettings& s = TheSettings.settings;
    PreviewLook look;
    look.record = TheSettings.WorkingEnhancement;
    look.scanMode = s.ScanMode;
    look.trueColour = PreviewShowsTrueColour(GetDeviceCaps(dc, PLANES), GetDeviceCaps(dc, BITSPIXEL),
                                             s.ScanMode);
    look.outputMatch = s.OutputMatch != 0;
    return look;
}

// On a palette display the working copy's colours go through a logical palette of its own,
// made again only after a render changed them.
void RealisePalette(HDC dc, const PreviewLook& look, bool rendered) {
    PreviewWindows& p = ThePreview;
    if (look.trueColour || look.outputMatch) return;
    if (!rendered && p.palette) {
        SelectPalette(dc, p.palette, FALSE);
        RealizePalette(dc);
        return;
    }
    struct {
        WORD version, entries;
        PALETTEENTRY colours[256];
    } logical{0x300, 256, {}};
    for (int i = 0; i < 256; ++i)
        logical.colours[i] = PALETTEENTRY{p.image.render.palette.rgb[i][0],
                                          p.image.render.palette.rgb[i][1],
                                          p.image.render.palette.rgb[i][2], 0};
    HPALETTE fresh = CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical));
    if (!fresh) return;
    SelectPalette(dc, fresh, FALSE);
    RealizePalette(dc);
    if (p.palette) DeleteObject(p.palette);
    p.palette = fresh;
}

void Paint(HWND area) {
    PreviewWindows& p = ThePreview;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(area, &ps);
    if (p.hasImage) {
        const PreviewLook look = CurrentLook(dc);
        const PreviewRender render =
            RenderPreview(p.image.asRead, p.image.working, look, TheColorTable, p.image.render);
        RealisePalette(dc, look, render == PreviewRender::Rendered);
        const PreviewMapping m = MappingOf(p.state);
        SetMapMode(dc, MM_ANISOTROPIC);
        SetWindowExtEx(dc, m.windowExtent, m.windowExtent, nullptr);
        SetViewportExtEx(dc, m.viewportExtent, m.viewportExtent, nullptr);
        SetWindowOrgEx(dc, m.windowOrigin.x, m.windowOrigin.y, nullptr);
        SetViewportOrgEx(dc, m.viewportOrigin.x, m.viewportOrigin.y, nullptr);
        LockedBitmap working(p.image.working);
        if (working.ok()) {
            const auto* info = reinterpret_cast<const BITMAPINFO*>(working.header());
            SetStretchBltMode(dc, COLORONCOLOR);
            StretchDIBits(dc, 0, 0, p.state.width, p.state.height, 0, 0, p.image.working.width,
                          p.image.working.height, working.row(0), info, DIB_RGB_COLORS, SRCCOPY);
        }
        SetMapMode(dc, MM_TEXT);
        SetWindowOrgEx(dc, 0, 0, nullptr);
        SetViewportOrgEx(dc, 0, 0, nullptr);
        DrawAnts(dc);
    }
    EndPaint(area, &ps);
}

void ApplyStep(const DragStep& step) {
    PreviewWindows& p = ThePreview;
    if (step.repaint) {
        SetPreviewScrollBars();
        InvalidateRect(p.area, nullptr, FALSE);
        UpdateWindow(p.area);
    }
    DrawOutline(step.erase);
    DrawOutline(step.draw);
    if (step.stopTimers)
        for (UINT_PTR id : {kTimerNewRegion, kTimerMoveRegion, kTimerResizeRegion}) KillTimer(p.area, id);
    if (step.startTimer) SetTimer(p.area, step.startTimer, kPreviewTimerMs, nullptr);
    if (step.beep) MessageBeep(MB_OK);
    if (step.regionChanged) PreviewRegionChanged();
}

void ButtonDown(HWND area, LPARAM lParam) {
    PreviewWindows& p = ThePreview;
    if (!p.hasImage || !TheWindow.interfaceEnabled) return;
    const ButtonDownOutcome out = PreviewButtonDown(p.state, PointOf(lParam), ShiftHeld(),
                                                    Tolerance(), p.metrics);
    SetCapture(area);
    if (out.stopMarchingAnts) KillTimer(area, kTimerMarchingAnts);
    if (out.zoomStep) ApplyZoomOutcome(out.zoom);
    if (out.confineCursor) {
        RECT r;
        GetClientRect(area, &r);
        MapWindowPoints(area, nullptr, reinterpret_cast<POINT*>(&r), 2);
        ClipCursor(&r);
    }
    InvalidateRect(area, nullptr, FALSE);
    UpdateWindow(area);
}

void ButtonUp(HWND area) {
    PreviewWindows& p = ThePreview;
    if (!p.state.dragging) return;
    const ButtonUpOutcome out = PreviewButtonUp(p.state);
    for (UINT_PTR id : {kTimerNewRegion, kTimerMoveRegion, kTimerResizeRegion}) KillTimer(area, id);
    SetTimer(area, kTimerMarchingAnts, kPreviewTimerMs, nullptr);
    ReleaseCapture();
    if (out.releaseConfinement) ClipCursor(nullptr);
    if (out.regionFinished) {
        InvalidateRect(area, nullptr, FALSE);
        PreviewRegionChanged();
    }
}

void MouseMove(LPARAM lParam) {
    PreviewWindows& p = ThePreview;
    if (!p.hasImage) return;
    if (!p.state.dragging) {
        SetCursorNamed(PreviewHover(p.state, PointOf(lParam), ShiftHeld(), Tolerance()));
        return;
    }
    if (p.state.tool == PreviewTool::Crop) ApplyStep(PreviewDragTo(p.state, PointOf(lParam)));
}

void AntsTick(HWND area) {
    PreviewWindows& p = ThePreview;
    if (!p.hasImage || p.state.dragging) return;
    if (p.state.tool == PreviewTool::Zoom) {
        if (const char* cursor = ZoomCursorAfterShift(p.state, ShiftHeld())) SetCursorNamed(cursor);
    }
    AdvanceAnts(p.ants);
    HDC dc = GetDC(area);
    DrawAnts(dc);
    ReleaseDC(area, dc);
}

ScrollAction ActionOf(WORD code) {
    switch (code) {
    case SB_LINEUP: return ScrollAction::LineLess;
    case SB_LINEDOWN: return ScrollAction::LineMore;
    case SB_PAGEUP: return ScrollAction::PageLess;
    case SB_PAGEDOWN: return ScrollAction::PageMore;
    case SB_THUMBPOSITION: return ScrollAction::ThumbPosition;
    case SB_THUMBTRACK: return ScrollAction::ThumbTrack;
    default: return ScrollAction::Other;
    }
}

void Scroll(HWND area, ScrollAxis axis, WPARAM wParam) {
    if (!ScrollPreview(ThePreview.state, axis, ActionOf(LOWORD(wParam)), static_cast<short>(HIWORD(wParam))))
        return;
    SetPreviewScrollBars();
    InvalidateRect(area, nullptr, FALSE);
}

}  // namespace

void SetPreviewScrollBars() {
    PreviewWindows& p = ThePreview;
    if (!p.area) return;
    const PreviewPoint limit = ScrollLimit(p.state);
    SetScrollRange(p.area, SB_HORZ, 0, limit.x, FALSE);
    SetScrollRange(p.area, SB_VERT, 0, limit.y, FALSE);
    SetScrollPos(p.area, SB_HORZ, p.state.scroll.x, TRUE);
    SetScrollPos(p.area, SB_VERT, p.state.scroll.y, TRUE);
}

void ApplyZoomOutcome(const ZoomOutcome& outcome) {
    PreviewWindows& p = ThePreview;
    if (outcome.beep) {
        MessageBeep(MB_OK);
        return;
    }
    if (outcome.frameChange.width || outcome.frameChange.height) {
        RECT r;
        GetWindowRect(p.frame, &r);
        SetWindowPos(p.frame, nullptr, 0, 0, r.right - r.left + outcome.frameChange.width,
                     r.bottom - r.top + outcome.frameChange.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetPreviewScrollBars();
    LayOutPreviewChildren();
    SetPreviewTitle();
    InvalidateRect(p.area, nullptr, FALSE);
}

LRESULT CALLBACK PreviewAreaProcedure(HWND area, UINT message, WPARAM wParam, LPARAM lParam) {
    PreviewWindows& p = ThePreview;
    switch (message) {
    case WM_PAINT: Paint(area); return 0;
    case WM_ERASEBKGND:
        if (p.hasImage) return 1;  // the image covers the whole area
        break;
    case WM_MOUSEMOVE: MouseMove(lParam); return 0;
    case WM_LBUTTONDOWN: ButtonDown(area, lParam); return 0;
    case WM_LBUTTONUP: ButtonUp(area); return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) return 1;  // the mouse handler chose it
        break;
    case WM_TIMER:
        if (wParam == kTimerMarchingAnts) AntsTick(area);
        else if (wParam >= kTimerNewRegion && wParam <= kTimerResizeRegion)
            ApplyStep(PreviewAutoScrollTick(p.state));
        return 0;
    case WM_HSCROLL: Scroll(area, ScrollAxis::Horizontal, wParam); return 0;
    case WM_VSCROLL: Scroll(area, ScrollAxis::Vertical, wParam); return 0;
    default: break;
    }
    return DefWindowProcW(area, message, wParam, lParam);
}
