// What the front end and the engine ask of the scanning window and the small status dialogs.
// The Windows build fills these with the real windows; tests record the calls. A hook that
// is not set does nothing, which is also the behaviour while no window exists.
#pragma once

struct UiHooks {
    // Re-enables Scan, Cancel and (without an enabled feeder) Prescan in the scanning window.
    void (*EnableScanControls)() = nullptr;
    // The modeless "scanner not ready" dialog of the given resource id, and its closing.
    void (*OpenNotReadyDialog)(int dialogId) = nullptr;
    void (*CloseNotReadyDialog)() = nullptr;
    // Offers a message of the application's loop to the scanning window's dialog filter;
    // true when the window took it.
    bool (*FilterWindowMessage)(void* windowsMessage) = nullptr;
};

extern UiHooks TheUi;

void EnableScanControls();
