#include <string>

#include "platform/win32/win32_module.h"
#include "session/interface_language.h"
#include "session/messages.h"
#include "settings/settings_store.h"
#include "ui/main_page_view.h"
#include "ui/preview_window.h"
#include "ui/scanning_window.h"
#include "ui/window_texts.h"
#include "ui/tool_tips.h"
#include "window/prescan_bitmap_file.h"
#include "window/preview_zoom.h"

PreviewWindows ThePreview;

namespace {

// Fixed: the image is the bed at a known scale only while the area keeps the preview's size;
// the frame grows and shrinks with the scroll bars of a zoomed view alone.
constexpr DWORD kFrameStyle = WS_POPUP | WS_CAPTION | WS_BORDER;

LRESULT CALLBACK FrameProcedure(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: LayOutPreviewChildren(); return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(frame, &ps);
        RECT r;
        GetClientRect(frame, &r);
        const PreviewFrameLayout layout = LayOutPreviewFrame(r.right, r.bottom, ThePreview.state.zoom > 1);
        if (layout.divider) {
            MoveToEx(dc, layout.dividerLeft, layout.dividerY, nullptr);
            LineTo(dc, layout.dividerRight, layout.dividerY);
        }
        EndPaint(frame, &ps);
        return 0;
    }
    case WM_NCMOUSEMOVE: DestroyToolTip(); break;
    case WM_CLOSE: return 0;  // the frame goes with the scanning window
    default: break;
    }
    return DefWindowProcW(frame, message, wParam, lParam);
}

bool RegisterClassOnce(const wchar_t* name, WNDPROC procedure, UINT style, int brush) {
    WNDCLASSW wc{};
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = plat::win32::ModuleInstance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(brush));
    wc.lpszClassName = name;
    return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool RegisterPreviewClasses() {
    return RegisterClassOnce(L"ParentClass", FrameProcedure, CS_HREDRAW | CS_VREDRAW, LTGRAY_BRUSH) &&
           RegisterClassOnce(L"ToolBarClass", PreviewToolBarProcedure, 0, LTGRAY_BRUSH) &&
           RegisterClassOnce(L"ScanLengthClass", ScanLengthProcedure, 0, LTGRAY_BRUSH) &&
           RegisterClassOnce(L"PreviewClass", PreviewAreaProcedure, CS_HREDRAW | CS_VREDRAW, WHITE_BRUSH);
}

FrameMetrics SystemFrameMetrics() {
    FrameMetrics m;
    m.borderWidth = GetSystemMetrics(SM_CXFRAME);
    m.borderHeight = GetSystemMetrics(SM_CYFRAME);
    m.captionHeight = GetSystemMetrics(SM_CYCAPTION);
    m.vScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
    m.hScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
    return m;
}

// The frame measured from its client area, so that the preview area gets exactly the
// preview's size whatever the border metrics: the strip's 10 beside it, the tool bar's 30
// above and 7 below.
SIZE FrameOuterSize(int32_t previewWidth, int32_t previewHeight) {
    RECT r{0, 0, previewWidth + 10, previewHeight + 37};
    AdjustWindowRectEx(&r, kFrameStyle, FALSE, 0);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

HWND Child(const wchar_t* cls, DWORD style, HWND frame) {
    return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 1, 1, frame, nullptr,
                           plat::win32::ModuleInstance(), nullptr);
}

void FreePalette() {
    if (ThePreview.palette) DeleteObject(ThePreview.palette);
    ThePreview.palette = nullptr;
}

}  // namespace

void SetPreviewTitle() {
    if (ThePreview.frame)
        SetTitle(ThePreview.frame, PreviewTitle(UiText(101), ThePreview.state.zoom));
}

void LayOutPreviewChildren() {
    PreviewWindows& p = ThePreview;
    if (!p.frame) return;
    RECT r;
    GetClientRect(p.frame, &r);
    const PreviewFrameLayout layout = LayOutPreviewFrame(r.right, r.bottom, p.state.zoom > 1);
    const auto place = [](HWND w, const PreviewRect& at) {
        if (w) MoveWindow(w, at.left, at.top, at.right - at.left, at.bottom - at.top, TRUE);
    };
    place(p.toolBar, layout.toolBar);
    place(p.strip, layout.scanLength);
    place(p.area, layout.previewArea);
    InvalidateRect(p.frame, nullptr, TRUE);
}

void CreatePreviewFrame(HWND main) {
    PreviewWindows& p = ThePreview;
    if (p.frame || !RegisterPreviewClasses()) return;
    p.state = PreviewState{};
    p.state.width = TheWindow.client.right - TheWindow.client.left;
    p.state.height = TheWindow.client.bottom - TheWindow.client.top;
    p.state.zoomRect = PreviewRect{0, 0, p.state.width / 2, p.state.height / 2};
    p.state.region = TheWindow.region;
    p.state.highDensity = TheSettings.settings.PrescanHiRes != 0;
    p.length = ScanLengthStrip{};
    p.metrics = SystemFrameMetrics();
    const SIZE outer = FrameOuterSize(p.state.width, p.state.height);
    RECT m;
    GetWindowRect(main, &m);
    // Owned by the scanning window, at its right edge.
    p.frame = CreateWindowExW(0, L"ParentClass", L"", kFrameStyle, m.right + 1, m.top, outer.cx,
                              outer.cy, main, nullptr, plat::win32::ModuleInstance(), nullptr);
    if (!p.frame) return;
    p.toolBar = Child(L"ToolBarClass", 0, p.frame);
    p.strip = Child(L"ScanLengthClass", 0, p.frame);
    p.area = Child(L"PreviewClass", WS_HSCROLL | WS_VSCROLL, p.frame);
    SetPreviewScrollBars();
    LayOutPreviewChildren();
    SetPreviewTitle();
    SetTimer(p.area, kTimerMarchingAnts, kPreviewTimerMs, nullptr);
    ReloadPrescanImage();
}

void DestroyPreviewFrame() {
    PreviewWindows& p = ThePreview;
    if (p.frame) DestroyWindow(p.frame);
    FreePreviewImage(p.image);
    FreePalette();
    p.frame = p.toolBar = p.strip = p.area = nullptr;
    p.hasImage = false;
}

void FollowScanningWindow(HWND main) {
    if (!ThePreview.frame) return;
    RECT m;
    GetWindowRect(main, &m);
    SetWindowPos(ThePreview.frame, nullptr, m.right + 1, m.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ReloadPrescanImage() {
    PreviewWindows& p = ThePreview;
    const std::string path = PrescanBitmapFilePath();
    const PrescanRead read = LoadPreviewImage(path.c_str(), p.image);
    if (read == PrescanRead::OutOfMemory) ShowErrorMessage(TheWindow.main, 604);
    p.hasImage = !p.image.asRead.Empty();
    if (!p.frame) return;
    // With the document feeder there is nothing on the bed to show.
    ShowWindow(p.frame, p.hasImage && !TheWindow.feeder ? SW_SHOWNOACTIVATE : SW_HIDE);
    if (p.hasImage) RepaintPreview(false, true);
}

void RepaintPreview(bool modeChanged, bool forced) {
    PreviewWindows& p = ThePreview;
    if (modeChanged) p.image.render.modeChanged = true;
    if (forced) p.image.render.forced = true;
    if (p.area) InvalidateRect(p.area, nullptr, FALSE);
}

void PreviewRegionChanged() {
    TheWindow.region = ThePreview.state.region;
    RunSizeRoutine();
}
