#include "session/ui_hooks.h"

UiHooks TheUi;

void EnableScanControls() {
    if (TheUi.EnableScanControls) TheUi.EnableScanControls();
}

void DestroyProgressWindow() {
    if (TheUi.DestroyProgressWindow) TheUi.DestroyProgressWindow();
}
