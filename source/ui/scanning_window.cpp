#include "ui/scanning_window.h"

#include "link/request_blocks_in_use.h"
#include "link/scanner_link.h"
#include "platform/win32/win32_module.h"
#include "session/interface_language.h"
#include "settings/settings_store.h"
#include "twain/capability_kept.h"
#include "twain/source_record.h"
#include "ui/about_page_view.h"
#include "ui/main_page_view.h"
#include "ui/preview_window.h"
#include "ui/tab_strip_view.h"
#include "ui/tool_tips.h"
#include "ui/window_commands.h"
#include "ui/window_texts.h"
#include "window/main_window_model.h"
#include "resources/window_ids.h"

ScanningWindowViews TheWindow;

namespace {

constexpr COLORREF kLightGray = RGB(0xC0, 0xC0, 0xC0);
constexpr UINT_PTR kFailedScanTimer = 12;
constexpr UINT_PTR kScannerAvailableTimer = 6;

// Timer 6 asks the scanner who it is until it answers ready; then it may be used again.
void PollScannerAvailable(HWND main) {
    if (!ScannerRequest(ScanRequestInquiry, &TheRequests.inquiry)) return;
    if (TheRequests.inquiry.header.status != 0) return;
    KillTimer(main, kScannerAvailableTimer);
    EnableWindow(GetDlgItem(main, IDC_SCAN), TRUE);
    EnableWindow(GetDlgItem(main, IDC_PRESCAN), !TheWindow.feeder);
}

// The pages whose controls come later: gray, and nothing else.
INT_PTR CALLBACK PageProcedure(HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        return GrayBackground(reinterpret_cast<HDC>(wParam));
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

DLGPROC ProcedureOf(int page) {
    if (page == kPageMain) return MainPageProcedure;
    if (page == kPageAbout) return AboutPageProcedure;
    return PageProcedure;
}

// Every page is a child dialog under the tab strip; only the current tab's is visible.
void CreatePages(HWND main) {
    static const int kIds[kPageCount] = {IDD_MAIN_PAGE, IDD_TONE_PAGE, IDD_COLOUR_PAGE,
                                         IDD_FILTERS_PAGE, IDD_ABOUT_PAGE};
    RECT strip;
    GetWindowRect(GetDlgItem(main, IDC_TABSTRIP), &strip);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&strip), 2);
    for (int p = 0; p < kPageCount; ++p) {
        HWND page = CreateDialogParamW(plat::win32::ModuleInstance(), MAKEINTRESOURCEW(kIds[p]),
                                       main, ProcedureOf(p), 0);
        TheWindow.pages[p] = page;
        if (page)
            SetWindowPos(page, HWND_TOP, strip.left, strip.bottom + 2, 0, 0,
                         SWP_NOSIZE | SWP_NOACTIVATE);
    }
    ShowPageOfTab(1);
}

void PlaceMainWindow(HWND main) {
    RECT r;
    GetWindowRect(main, &r);
    const WindowPlace p = MainWindowPlace(GetSystemMetrics(SM_CXSCREEN),
                                          GetSystemMetrics(SM_CYSCREEN), r.right - r.left,
                                          r.bottom - r.top);
    SetWindowPos(main, nullptr, p.left, p.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The settings of the model's section, the feeder's fixed ones when the application enabled
// it, and the snapshot Previous returns to.
void LoadWindowSettings() {
    const char* section = ModelSectionName(TheLink.opticalResolution);
    const SettingsLoadContext context{TheLink.optionInstalled, ApplicationIs(707)};
    LoadScanSettings(section ? section : "", context, TheSettings);
    ScanSettings& s = TheSettings.settings;
    TheWindow.feeder = TheKeptCapabilities.FeederEnabled;
    if (TheWindow.feeder) {
        s.ScanSource = 3;
        s.FilterMode = 2;
        s.ScanRes = (ApplicationIs(55) || ApplicationIs(60)) ? 200 : 300;
        s.ScanMode = kModeLineArt;
        s.ScanSubMode = 0;
        s.Scaling = 100;
    }
    TheSettings.WorkingEnhancement = s.Enhancement;
    TheWindow.snapshot = s;
}

// The preview area at 30 pixels per inch (fitted to a short screen), its scale, and the
// stored region kept inside it.
void SetUpPreviewGeometry() {
    const double bedWidth = BedInches(TheLink.maxWidthInches);
    const double bedLength = BedInches(TheLink.maxLengthInches);
    const PreviewSize p = PreviewAreaSize(bedWidth, bedLength, 30, GetSystemMetrics(SM_CYSCREEN));
    TheWindow.client = PreviewRect{0, 0, p.width, p.height};
    TheWindow.size.opticalResolution = TheLink.opticalResolution;
    TheWindow.size.feeder = TheWindow.feeder;
    PreviewScale(bedWidth, bedLength, TheWindow.client, TheWindow.size);
    TheWindow.region = RegionOfFrame(TheSettings.settings.Frame, TheWindow.client);
}

void InitialiseWindow(HWND main) {
    TheWindow.main = main;
    TheWindow.interfaceEnabled = true;
    TheWindow.tab = 1;
    TheWindow.colourPage = false;
    TheWindow.grayBrush = CreateSolidBrush(kLightGray);
    HICON icon = LoadIconA(plat::win32::ModuleInstance(), "IDMAIN");
    SendMessageA(main, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(main, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    LoadWindowSettings();
    RecreateDialogFont();
    SetUpPreviewGeometry();
    CreatePages(main);
    PlaceMainWindow(main);
    CreatePreviewFrame(main);
    SetAllWindowTexts();
    RefreshMainPage();
    // The first prescan of every window measures the shading whatever the scanner asks.
    TheWindow.store.ForceCalibration();
    if (TheWindow.feeder) EnableWindow(GetDlgItem(main, IDC_PRESCAN), FALSE);
}

void ReleaseWindowResources() {
    DestroyToolTip();
    DestroyPreviewFrame();
    for (HWND& page : TheWindow.pages) {
        if (page) DestroyWindow(page);
        page = nullptr;
    }
    if (TheWindow.font) DeleteObject(TheWindow.font);
    if (TheWindow.grayBrush) DeleteObject(TheWindow.grayBrush);
    TheWindow.font = nullptr;
    TheWindow.grayBrush = nullptr;
    TheWindow.main = nullptr;
    TheSource.ScanningWindow = nullptr;
    TheSource.ScanWindowProcedure = nullptr;
}

bool OnCommand(HWND main, WORD control, WORD code) {
    // A command that arrives while a prescan, scan or modal step runs, or for a button that
    // is disabled, is not the user's: it is dropped.
    if (!TheWindow.interfaceEnabled) return true;
    HWND button = GetDlgItem(main, control);
    if (button && !IsWindowEnabled(button)) return true;
    switch (control) {
    case IDC_PRESCAN: RunPrescanCommand(); return true;
    case IDC_SCAN: RunScanCommand(); return true;
    case IDC_CLOSE:
    case IDCANCEL: RunCancelCommand(); return true;
    case IDC_PREVIOUS: RunPreviousCommand(); return true;
    case IDC_RESET: RunResetCommand(); return true;
    case IDC_QUICKHELP: EnterHelpMode(); return true;
    case IDC_TABSTRIP:
        if (code == STN_CLICKED) ClickTabStrip();
        return true;
    default: return false;
    }
}

INT_PTR CALLBACK ScanningWindowProcedure(HWND main, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        return GrayBackground(reinterpret_cast<HDC>(wParam));
    switch (message) {
    case WM_INITDIALOG: InitialiseWindow(main); return TRUE;
    case WM_COMMAND: return OnCommand(main, LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID == IDC_TABSTRIP) DrawTabStrip(*item);
        else if (item->CtlID == IDC_QUICKHELP) DrawQuickHelpButton(*item);
        return TRUE;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (TheWindow.helpMode) HelpClick(lParam);
        return TRUE;
    case WM_TIMER:
        if (wParam == kToolTipTimer) ToolTipTick();
        if (wParam == kScannerAvailableTimer && TheWindow.interfaceEnabled) PollScannerAvailable(main);
        return TRUE;
    case WM_MOVE: FollowScanningWindow(main); return TRUE;
    case WM_CLOSE: SendMessageA(main, WM_COMMAND, IDC_CLOSE, 0); return TRUE;
    case WM_DESTROY: ReleaseWindowResources(); return TRUE;
    default: return FALSE;
    }
}

}  // namespace

bool ApplicationIs(uint32_t stringId) {
    return LanguageString(stringId) == TheSource.AppIdentity.ProductName;
}

INT_PTR GrayBackground(HDC dc) {
    SetBkColor(dc, kLightGray);
    return reinterpret_cast<INT_PTR>(TheWindow.grayBrush ? TheWindow.grayBrush
                                                          : GetStockObject(LTGRAY_BRUSH));
}

void* CreateScanningWindow() {
    TheSource.ScanWindowProcedure = reinterpret_cast<void*>(ScanningWindowProcedure);
    // No owner: the application's window is not the scanning window's parent.
    HWND main = CreateDialogParamW(plat::win32::ModuleInstance(), L"SCANNER", nullptr,
                                   ScanningWindowProcedure, 0);
    if (!main) {
        TheSource.ScanWindowProcedure = nullptr;
        return nullptr;
    }
    ShowWindow(main, SW_SHOW);
    UpdateWindow(main);
    return main;
}

void ShowScanningWindow() {
    if (TheWindow.main) ShowWindow(TheWindow.main, SW_SHOW);
}

void HideScanningWindow() {
    if (TheWindow.main) ShowWindow(TheWindow.main, SW_HIDE);
}

bool FilterScanningWindowMessage(void* message) {
    if (!TheWindow.main) return false;
    MSG* msg = static_cast<MSG*>(message);
    TrackToolTip(*msg);
    // The dialog's own messages and those of its pages (children) are the window's.
    return IsDialogMessageW(TheWindow.main, msg) != FALSE;
}

void SetCommandsEnabled(bool enabled) {
    HWND main = TheWindow.main;
    if (!main) return;
    EnableWindow(GetDlgItem(main, IDC_SCAN), enabled);
    EnableWindow(GetDlgItem(main, IDC_CLOSE), enabled);
    EnableWindow(GetDlgItem(main, IDC_PRESCAN), enabled && !TheWindow.feeder);
}

void EnableWindowScanControls() {
    if (!TheWindow.main) return;
    KillTimer(TheWindow.main, kFailedScanTimer);
    SetCommandsEnabled(true);
    TheWindow.interfaceEnabled = true;
}

void DestroyScanningWindow() {
    if (TheWindow.main) DestroyWindow(TheWindow.main);
}
