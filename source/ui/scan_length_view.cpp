#include "link/scanner_link.h"
#include "settings/settings_store.h"
#include "ui/preview_window.h"
#include "ui/scanning_window.h"

namespace {

ScanLengthScale Scale() {
    return ScanLengthScale{ThePreview.state.height,
                           ScanLengthBedInches(TheLink.narrowBed != 0, TheSettings.settings.ScanSource)};
}

// The line across the preview area at the marker's height, drawn exclusive-or.
void ToggleLine(int32_t y) {
    PreviewWindows& p = ThePreview;
    if (y < 0 || !p.area) return;
    HDC dc = GetDC(p.area);
    const int oldRop = SetROP2(dc, R2_NOT);
    RECT r;
    GetClientRect(p.area, &r);
    MoveToEx(dc, 0, y, nullptr);
    LineTo(dc, r.right, y);
    SetROP2(dc, oldRop);
    ReleaseDC(p.area, dc);
}

void Paint(HWND strip) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(strip, &ps);
    const MarkerTriangle t = ScanLengthMarker(ThePreview.length);
    // Two sides black, the third white: a marker that stands out on the gray.
    HGDIOBJ old = SelectObject(dc, GetStockObject(BLACK_PEN));
    MoveToEx(dc, t.points[0].x, t.points[0].y, nullptr);
    LineTo(dc, t.points[1].x, t.points[1].y);
    LineTo(dc, t.points[2].x, t.points[2].y);
    SelectObject(dc, GetStockObject(WHITE_PEN));
    LineTo(dc, t.points[0].x, t.points[0].y);
    SelectObject(dc, old);
    EndPaint(strip, &ps);
}

}  // namespace

LRESULT CALLBACK ScanLengthProcedure(HWND strip, UINT message, WPARAM wParam, LPARAM lParam) {
    PreviewWindows& p = ThePreview;
    const PreviewPoint at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (message) {
    case WM_SIZE:
        p.length.width = LOWORD(lParam);
        p.length.height = HIWORD(lParam);
        return 0;
    case WM_PAINT: Paint(strip); return 0;
    case WM_LBUTTONDOWN:
        if (!TheWindow.interfaceEnabled || !ScanLengthPress(p.length, at)) return 0;
        SetCapture(strip);
        p.lengthLineY = MarkerCentre(p.length);
        ToggleLine(p.lengthLineY);
        return 0;
    case WM_MOUSEMOVE:
        if (!p.length.dragging) return 0;
        ToggleLine(p.lengthLineY);
        p.lengthLineY = ScanLengthDrag(p.length, at.y, Scale());
        ToggleLine(p.lengthLineY);
        InvalidateRect(strip, nullptr, TRUE);
        return 0;
    case WM_LBUTTONUP:
        if (!ScanLengthRelease(p.length, Scale())) return 0;
        ToggleLine(p.lengthLineY);
        p.lengthLineY = -1;
        ReleaseCapture();
        InvalidateRect(strip, nullptr, TRUE);
        return 0;
    default: return DefWindowProcW(strip, message, wParam, lParam);
    }
}
