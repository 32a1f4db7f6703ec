// The scanning window: the modeless dialog "SCANNER" with its command buttons, tab strip,
// pages and the windows it owns. One per process, created at the first enable with the
// user interface and destroyed when the source closes or the user cancels.
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/prescan_api.h"
#include "settings/scan_settings.h"
#include "window/image_size.h"
#include "window/prescan_store.h"
#include "window/progress_display.h"

enum PageIndex { kPageMain, kPageTone, kPageColour, kPageFilters, kPageAbout, kPageCount };

struct ScanningWindowViews {
    HWND main = nullptr;
    HWND pages[kPageCount] = {};
    int tab = 1;              // 1 Main, 2 Enhancements, 3 Filters, 4 About
    bool colourPage = false;  // the Enhancements tab shows its second page
    // Cleared while a prescan, a scan or a modal step runs: every command is ignored then.
    bool interfaceEnabled = true;
    bool helpMode = false;
    bool languageDialogOpen = false;
    HFONT font = nullptr;
    HBRUSH grayBrush = nullptr;
    uint16_t menuBase = 820;  // the resolution menu without the language offset
    // The preview area as the main window knows it: client rectangle, scan region, scale.
    PreviewRect client;
    PreviewRect region;
    SizeContext size;
    ImageSize shown;
    ScanSettings snapshot;  // what Previous brings back
    PrescanStore store;
    PreScanResult lastPrescan{};
    bool feeder = false;  // the document feeder is fitted and the application enabled it
};

extern ScanningWindowViews TheWindow;

// The hooks of the front end (session/ui_hooks.h).
void* CreateScanningWindow();
void ShowScanningWindow();
void HideScanningWindow();
bool FilterScanningWindowMessage(void* message);
void EnableWindowScanControls();
void DestroyScanningWindow();

// Whether the application's product name is string stringId of the current language (the
// colour-management program, 707, and the programs with their own defaults).
bool ApplicationIs(uint32_t stringId);

// Sets Scan, Prescan and Cancel, and the flag that gates every command.
void SetCommandsEnabled(bool enabled);
// The window's light-gray background for every dialog and control.
INT_PTR GrayBackground(HDC dc);
