// What the front end and the engine ask of the scanning window and the small status dialogs.
// The Windows build fills these with the real windows; tests record the calls. A hook that
// is not set does nothing, which is also the behaviour while no window exists.
#pragma once

#include <cstdint>

struct UiHooks {
    // Re-enables Scan, Cancel and (without an enabled feeder) Prescan in the scanning window.
    void (*EnableScanControls)() = nullptr;
    // The modeless "scanner not ready" dialog of the given resource id, and its closing.
    void (*OpenNotReadyDialog)(int dialogId) = nullptr;
    void (*CloseNotReadyDialog)() = nullptr;
    // Offers a message of the application's loop to the scanning window's dialog filter;
    // true when the window took it.
    bool (*FilterWindowMessage)(void* windowsMessage) = nullptr;
    // The modeless "Warming Up..." dialog of the given resource id, shown during the set-up.
    void (*OpenWarmUpDialog)(int dialogId) = nullptr;
    void (*CloseWarmUpDialog)() = nullptr;
    // The progress window of a transfer: percentage of done out of total, and the status
    // text of the given message id. Destroying a window that does not exist does nothing.
    void (*CreateProgressWindow)() = nullptr;
    void (*UpdateProgress)(uint32_t done, uint32_t total, uint32_t messageId) = nullptr;
    void (*DestroyProgressWindow)() = nullptr;
    // The scanning window: created (nullptr when it cannot be) or shown again.
    void* (*CreateScanningWindow)() = nullptr;
    void (*ShowScanningWindow)() = nullptr;
    // MSG_DISABLEDS hides it; the source's closing destroys it (the window clears
    // ScanningWindow itself when it goes).
    void (*HideScanningWindow)() = nullptr;
    void (*DestroyScanningWindow)() = nullptr;
};

extern UiHooks TheUi;

void EnableScanControls();
void DestroyProgressWindow();
