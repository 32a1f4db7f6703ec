#include "ui/window_commands.h"

#include <string>

#include "engine/color_table.h"
#include "engine/scan_admission.h"
#include "link/remote_client.h"
#include "link/scanner_link.h"
#include "platform/platform.h"
#include "platform/win32/win32_module.h"
#include "session/call_codes.h"
#include "session/interface_language.h"
#include "session/messages.h"
#include "session/ui_hooks.h"
#include "settings/settings_store.h"
#include "twain/announced_scan.h"
#include "twain/notify.h"
#include "ui/bitmap_drawing.h"
#include "ui/main_page_view.h"
#include "ui/preview_window.h"
#include "ui/scanning_window.h"
#include "ui/tab_strip_view.h"
#include "window/help_contexts.h"
#include "window/main_window_model.h"
#include "window/prescan_binding.h"
#include "window/scan_region.h"
#include "resources/window_ids.h"

namespace {

constexpr UINT_PTR kFailedScanTimer = 12;

std::string WindowsDirectoryPath() {
    char dir[MAX_PATH] = {};
    const uint32_t n = plat::WindowsDirectory(dir, sizeof dir);
    return std::string(dir, n < sizeof dir ? n : 0);
}

// Scan source in the high half; the films scan at speed 3.
uint32_t SpeedAndSource(const ScanSettings& s) {
    const bool film = s.ScanSource == 1 || s.ScanSource == 2;
    return (uint32_t(s.ScanSource) << 16) | (film ? 3u : 0u);
}

const char* ModelSection() {
    const char* section = ModelSectionName(TheLink.opticalResolution);
    return section ? section : "";
}

void SaveWindowSettings(const ScanSettings& s) {
    if (!*ModelSection()) return;
    SaveScanSettings(s, SaveContext{ModelSection(), s.Frame, TheLanguage.index,
                                    TheLink.narrowBed != 0});
}

// The user interface's commands are off while something runs inside a command.
struct CommandsOff {
    CommandsOff() {
        TheWindow.interfaceEnabled = false;
        SetCommandsEnabled(false);
    }
    ~CommandsOff() { TheWindow.interfaceEnabled = true; }
};

}  // namespace

void RunPrescanCommand() {
    HWND main = TheWindow.main;
    const ScanSettings& s = TheSettings.settings;
    if (ThePreview.area) KillTimer(ThePreview.area, kTimerMarchingAnts);
    {
        CommandsOff off;
        SetCapture(main);
        HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
        PrescanArguments a;
        a.owner = main;
        a.sourceWord = SpeedAndSource(s);
        a.language = TheLanguage.index;
        a.narrowBed = TheLink.narrowBed;
        a.highDensity = ThePreview.state.highDensity;
        a.scanLength = ThePreview.length.inches;
        a.store = TheWindow.store.Lend();
        a.enhancement = &TheSettings.WorkingEnhancement;
        a.socket = TheLink.remote ? static_cast<uintptr_t>(TheRemote.connection.socket) : 0;
        const PrescanCallOutcome outcome =
            CallPrescanLibrary(WindowsDirectoryPath(), a, TheWindow.lastPrescan);
        TheWindow.store.Release();
        SetCursor(previous);
        ReleaseCapture();
        // Without the library nothing can be shown; the application may ask why.
        if (outcome == PrescanCallOutcome::LibraryMissing) TheCall.SourceConditionCode = 5;
        ReloadPrescanImage();
    }
    SetCommandsEnabled(true);
    if (ThePreview.area) SetTimer(ThePreview.area, kTimerMarchingAnts, kPreviewTimerMs, nullptr);
}

void RunScanCommand() {
    HWND main = TheWindow.main;
    ScanSettings& s = TheSettings.settings;
    TheWindow.snapshot = s;
    ScanJobRequest request = ApplicationScanRequest(main, true);
    if (!CheckDiskSpace(TheWindow.shown.bytes, request.fileFormat, main)) return;
    PreviewRect region = TheWindow.region;
    if (!TheWindow.feeder) region = RegionForScan(region, TheWindow.client);
    request.area = AreaForScan(region, TheWindow.client, TheWindow.size);
    request.speedAndSource = SpeedAndSource(s);
    bool started = false;
    {
        CommandsOff off;
        if (!WidthWithinLimit(s, region, TheWindow.size.inchesPerPixelX)) {
            ShowBufferMessage(main);
        } else {
            started = RunAnnouncedScanJob(request);
        }
    }
    if (started) {
        // Only a started scan keeps what the user set: the profile then holds it.
        TheWindow.region = region;
        FrameOfRegion(region, s.Frame);
        SaveWindowSettings(s);
    } else {
        KillTimer(main, kFailedScanTimer);
        SetCommandsEnabled(true);
    }
    DestroyProgressWindow();
}

void RunCancelCommand() {
    HWND main = TheWindow.main;
    if (!main) return;
    const bool scanOrPrescan = IsWindowEnabled(GetDlgItem(main, IDC_SCAN)) ||
                               IsWindowEnabled(GetDlgItem(main, IDC_PRESCAN));
    DisconnectRemoteScanner();
    if (*ModelSection()) SaveCustomResolutions(TheSettings.settings, ModelSection());
    if (TheSettings.settings.OutputMatch) FreeColorTable(TheColorTable);
    DestroyProgressWindow();
    DestroyWindow(main);
    if (scanOrPrescan) NotifyCloseRequest();
}

void RunPreviousCommand() {
    TheSettings.settings = TheWindow.snapshot;
    TheSettings.WorkingEnhancement = TheSettings.settings.Enhancement;
    RefreshMainPage();
    RedrawTabStrip();
    RepaintPreview(true, false);
}

void RunResetCommand() {
    ResetWindowSettings(TheSettings.settings, ApplicationIs(707));
    FreeColorTable(TheColorTable);
    TheSettings.WorkingEnhancement = TheSettings.settings.Enhancement;
    RefreshMainPage();
    RedrawTabStrip();
    RepaintPreview(true, false);
}

void EnterHelpMode() {
    HWND main = TheWindow.main;
    TheWindow.helpMode = true;
    InvalidateRect(GetDlgItem(main, IDC_QUICKHELP), nullptr, TRUE);
    SetCursor(LoadCursorA(plat::win32::ModuleInstance(), "IDC_SENSIHELP"));
    SetCapture(main);
}

namespace {

// The control under a point of the main window, and the window whose help it belongs to.
bool ControlUnder(POINT screen, HelpWindow& window, UINT& control) {
    HWND hit = WindowFromPoint(screen);
    if (!hit || hit == TheWindow.main) return false;
    HWND parent = GetParent(hit);
    control = static_cast<UINT>(GetDlgCtrlID(hit));
    if (parent == TheWindow.main) window = HelpWindow::MainWindow;
    else if (parent == TheWindow.pages[kPageMain]) window = HelpWindow::MainPage;
    else if (parent == TheWindow.pages[kPageTone]) window = HelpWindow::TonePage;
    else if (parent == TheWindow.pages[kPageFilters]) window = HelpWindow::FiltersPage;
    else window = HelpWindow::Other;
    return true;
}

}  // namespace

void HelpClick(LPARAM point) {
    HWND main = TheWindow.main;
    POINT p{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    ClientToScreen(main, &p);
    ReleaseCapture();
    TheWindow.helpMode = false;
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    InvalidateRect(GetDlgItem(main, IDC_QUICKHELP), nullptr, TRUE);
    HelpWindow window = HelpWindow::Other;
    UINT control = 0;
    if (!ControlUnder(p, window, control)) return;
    const uint32_t context = HelpContext(window, static_cast<uint16_t>(control));
    if (!context) return;
    // The help files come with the installation; without one there is nothing to show.
    const std::string file = HelpFilePath(WindowsDirectoryPath(), TheLanguage.index);
    if (GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
        MessageBeep(MB_OK);
        return;
    }
    WinHelpA(main, file.c_str(), HELP_CONTEXTPOPUP, context);
}

void DrawQuickHelpButton(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    FillRect(dc, &r, TheWindow.grayBrush);
    DrawEdge(dc, &r, TheWindow.helpMode ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    DrawBitmapCentred(dc, r, "IDB_QUICKHELP", TheWindow.helpMode ? 1 : 0);
}
